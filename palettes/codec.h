// What the format files share, not part of the library's public interface:
// each format's reader and writer, and the helpers for numbers, text, lines
// and gradient sampling they have in common.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "palettes/palettes.h"
#include "shell/io/textformat.h"

namespace palettes {

// ---- Each format. Readers fill `palette` only on success and set every
// field of the result but `format`; writers return the file's bytes.

shell::Result<PaletteInfo> readmap(std::string_view bytes, shell::Palette& palette);
shell::Result<PaletteInfo> readggr(std::string_view bytes, shell::Palette& palette);
shell::Result<PaletteInfo> readgpl(std::string_view bytes, shell::Palette& palette);
shell::Result<PaletteInfo> readugr(std::string_view bytes, shell::Palette& palette);
shell::Result<PaletteInfo> readact(std::string_view bytes, shell::Palette& palette);
shell::Result<PaletteInfo> readsvg(std::string_view bytes, shell::Palette& palette);
shell::Result<PaletteInfo> readpng(std::string_view bytes, shell::Palette& palette);

// Ends a MAP read whose bytes went through `parser`: `kept` is the file, or
// its first bytes when `cut`; the trailer then keeps its whole lines only.
class MapParser;
shell::Result<PaletteInfo> finishmap(MapParser& parser, std::string kept, bool cut,
                                     shell::Palette& palette);

std::string writemap(const shell::Palette& palette, std::string_view description);
std::string writeggr(const shell::Palette& palette, std::string_view name);
std::string writegpl(const shell::Palette& palette, std::string_view name,
                     std::string_view description);
std::string writeugr(const shell::Palette& palette, std::string_view name);
std::string writeact(const shell::Palette& palette);
std::string writekfp(const shell::Palette& palette);
std::string writesvg(const shell::Palette& palette, std::string_view name,
                     std::string_view description);
std::string writecss(const shell::Palette& palette, std::string_view name,
                     std::string_view description);
// Fails with Fault::memory when libpng runs out of memory.
shell::Result<std::string> writepng(const shell::Palette& palette, std::string_view name,
                                    std::string_view description);
std::string writejson(const shell::Palette& palette, std::string_view name,
                      std::string_view description);

// A piece of a file quoted in an error message: in double quotes, on one
// line, valid UTF-8, and cut short when long.
std::string quoted(std::string_view text);

// A failed read: the reason is "<what>: <why>", e.g. "Not a GIMP palette:
// line 7 is not a colour".
shell::Error failure(const char* what, const std::string& why,
                     shell::Fault fault = shell::Fault::content);

// ---- Numbers, written the same whatever the locale.

void appendint(std::string& s, long long v);
// `decimals` digits after the point, as printf's "%.*f".
using shell::appendfixed;
// The same with trailing zeros (and a bare point) removed: 0.5, 1, 0.003922.
void appendtrimmed(std::string& s, double v, int decimals);
// Two lower-case hex digits per channel after a '#'.
void appendhexcolour(std::string& s, const std::array<uint8_t, 3>& rgb);

// A whole token as a number: no sign other than a leading '-', no spaces, no
// text after it. Doubles must also be finite.
bool parsedouble(std::string_view token, double& out);
bool parseint(std::string_view token, long long& out);

// A channel value in [0, 1] as the nearest byte; out-of-range values clamp
// and NaN gives 0, so no conversion can overflow.
uint8_t tobyte(double v);
// The entry as fractions of 255.
double fraction(uint8_t v);

// ---- Text

// Without leading and trailing spaces, tabs, CR and LF.
std::string_view trim(std::string_view s);
bool startswith(std::string_view s, std::string_view prefix);
// Valid UTF-8: every byte sequence that is not becomes U+FFFD.
std::string validutf8(std::string_view s);
// Valid UTF-8 in which every control byte but the tab has become a space:
// one line of a comment or a description element.
std::string plaintext(std::string_view s);
// Valid UTF-8 text whose lines end in LF only, with no control byte but
// the tab and LF; a last line end stays.
std::string multiline(std::string_view s);
// One line: CR, LF, tab and other control bytes become spaces, outer spaces
// go; `fallback` when nothing is left.
std::string oneline(std::string_view s, std::string_view fallback);
// An identifier every reader takes: ASCII letters, digits and '_' (anything
// else becomes '_'), not starting with a digit, never empty.
std::string identifier(std::string_view name);
// The description's lines, without their line ends (as LineReader takes
// them); a last line end does not start another line.
std::vector<std::string_view> textlines(std::string_view text);

// How many bytes the line end at the start of `text` takes: LF, CR LF, CR
// alone (old Macintosh text) and CR CR LF each end one line. 0 when `text`
// starts with no line end.
size_t lineendsize(std::string_view text);

// Walks text line by line, counting from 1, taking the line ends
// lineendsize takes.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : rest_(text) {}
    // The next line without its line end; false at the end.
    bool next(std::string_view& line);
    int number() const { return number_; }  // of the line next() returned last
    // The text after the line next() returned last and its line end.
    std::string_view rest() const { return rest_; }

  private:
    std::string_view rest_;
    int number_ = 0;
};

// The first line of the bytes, without a UTF-8 byte-order mark before it and
// without its line end.
std::string_view firstline(std::string_view bytes);
// The bytes without a UTF-8 byte-order mark at their start.
std::string_view withoutbom(std::string_view bytes);

// ---- Gradients

// A colour stop: where it stands (0 to 1, never decreasing along a list) and
// its channels as fractions.
struct Stop {
    double offset;
    double rgb[3];
};
// Samples stops as linear pieces (SVG's rule): before the first stop its
// colour, after the last the last one, between two the straight mix; where
// two stops share an offset, the later one rules from there. `stops` must not
// be empty.
shell::Palette samplestops(const std::vector<Stop>& stops);

}  // namespace palettes
