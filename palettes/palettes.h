// Palette and gradient files: reading and writing the formats people exchange
// palettes in, for both palette designers and the palette-convert program.
//
// Encoders and decoders work on bytes in memory: encoders return the file's
// bytes, and decoders take the bytes and the file name (its extension names
// the format; the content decides only when it does not) and change the
// caller's palette only when the whole file was read. readpalettefile and
// writepalettefile do the same with files on disk. Every failure is a
// shell::Error: Fault::content with a one-line reason for bytes that are not
// a palette, the system's reason for a file that cannot be read or
// written. The MAP format's own entry points are in palettes/map.h.
//
// Every palette is 256 entries. Gradient formats become a palette by sampling
// entry i at t = i / 255, rounded to the nearest byte; palette formats with
// fewer than 256 colours leave the remaining entries black, as a short MAP
// file does.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/io/result.h"
#include "shell/raster/palette.h"

namespace palettes {

enum class Format { map, ggr, gpl, ugr, act, kfp, svg, css, png, json };

struct FormatInfo {
    Format format;
    const char* key;   // a short name for command lines ("ggr"), also the main extension
    const char* name;  // a name for file choosers ("GIMP gradient")
    std::vector<const char*> extensions;  // without the dot, lower case, the main one first
    bool canread;
    bool canwrite;
};

// Every format, MAP first (the designers' default).
const std::vector<FormatInfo>& formats();
const FormatInfo& info(Format format);

// The format with this key or extension (any case, a leading dot allowed), or
// nullptr.
const FormatInfo* findformat(std::string_view word);
// The format a file name's extension stands for, or nullptr.
const FormatInfo* formatofpath(std::string_view path);

// One type of file a chooser lists: "GIMP gradient (*.ggr)" with the pattern
// "*.ggr", or "Ultra Fractal gradient (*.ugr; *.gradient)" with
// "*.ugr;*.gradient".
struct ChooserType {
    std::string name;
    std::string patterns;  // separated by ';'
};
ChooserType choosertype(const FormatInfo& format);
// The types a palette chooser offers, MAP first: for saving, every writable
// format; for opening, MAP, then all readable palette files together, then
// each readable format.
std::vector<ChooserType> choosertypes(bool writing);

// The name a palette gets from its file: the file name without its folder
// and its last extension ("/tmp/Sun set.ggr" gives "Sun set"). Writers make
// it safe for their format themselves.
std::string namefrompath(std::string_view path);

// ---- Reading

// What a palette file holds besides its colours. A failed read's error
// reason is one line naming the format and what is wrong, such as "Not a
// GIMP gradient: segment 4 has 9 numbers, 13 or 15 expected" or "Not a MAP
// palette: line 17: expected three numbers".
struct PaletteInfo {
    Format format = Format::map;  // the format the bytes were taken to be
    std::string name;             // the palette's own name, where the file has one
    std::string description;      // how the palette was made, where the file says
    // The colours the file holds beyond the 256 a palette keeps (a GIMP
    // palette may hold more); they were not read.
    int dropped = 0;
    // How many entries, from the first, the file gave; the others are black.
    int colours = 256;
    // The entries were sampled from a gradient (or a strip of another
    // width) rather than read one by one.
    bool sampled = false;
};

// The format of a file. A name whose extension a format claims is read by
// that format's rules alone, so that a damaged file fails with its own
// format's reason instead of passing for another format by chance (a bad
// MAP file of 768 bytes is not a colour table). A name that says nothing (no
// extension, or one no format claims) is recognised by its content: a
// signature, a first line, a block structure, the size. Nothing when neither
// tells.
std::optional<Format> detectformat(std::string_view bytes, std::string_view filename);

// Reads bytes of any readable format, recognised as detectformat does. On
// success `palette` holds the file's palette; on failure it is untouched,
// and the error names `filename`.
shell::Result<PaletteInfo> decodepalette(std::string_view bytes, std::string_view filename,
                                         shell::Palette& palette);
// The same for a format chosen by the caller; the error names no file.
shell::Result<PaletteInfo> decodepalette(Format format, std::string_view bytes,
                                         shell::Palette& palette);

// A description as lines a person reads: valid UTF-8 without control
// bytes, each line without white space at its end, and no blank lines at
// either end.
std::vector<std::string> readablelines(std::string_view description);

// ---- Writing

// The bytes of a file in a writable format. `name` is the palette's name
// (usually namefrompath of the target), `description` says how the palette
// was made (may be empty or several lines; formats without a place for it
// leave it out). For MAP the description is the trailer, byte for byte.
// Fails with Fault::memory only, when the PNG encoder runs out of memory.
shell::Result<std::string> encodepalette(Format format, const shell::Palette& palette,
                                         std::string_view name, std::string_view description);

// ---- Files

// The most of a file that is kept in memory: far above any palette file,
// and small enough that an accidental huge file is refused rather than
// read. A MAP file is read as it streams by, so only its trailer is bounded.
constexpr size_t kMaxFileBytes = 64u << 20;

// Reads a palette file of any readable format, recognised as decodepalette
// recognises bytes with the path as the file name. A MAP file is read in
// bounded memory however long it is; its description keeps the whole lines
// of its trailer that lie within the file's first kMaxFileBytes. A file of
// another format larger than that is refused. On failure `palette` is
// untouched and the error names the path; a file that cannot be read has a
// reason said of the file, such as "cannot be read: Permission denied" or
// "a folder, not a file".
shell::Result<PaletteInfo> readpalettefile(const std::string& path, shell::Palette& palette);

// Encodes the palette in `format` and saves the file atomically. The name
// the file gives the palette is namefrompath(path). Fails with
// encodepalette's error, or with writefileatomically's.
shell::Status writepalettefile(const std::string& path, Format format,
                               const shell::Palette& palette, std::string_view description);

// Test hook: while set, the PNG encoder's allocations fail, as they would
// with no memory left.
void setpngmemoryfailure(bool fail);

}  // namespace palettes
