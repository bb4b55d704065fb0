// MAP palettes: the writer, the streaming reader, and the MAP entries of the
// format table.
#include "palettes/map.h"

#include <cstring>
#include <optional>

#include "palettes/codec.h"
#include "shell/io/textformat.h"

namespace palettes {

namespace {

const char* const kWhat = "Not a MAP palette";

bool isspacechar(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}
bool isdecimal(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

// ---------------------------------------------------------------- writing

std::string maptext(const shell::Palette& palette, std::string_view trailer) {
    std::string s;
    s.reserve(256 * 12 + 1 + trailer.size());
    for (const auto& e : palette) shell::appendf(s, "%d %d %d\n", e[0], e[1], e[2]);
    s += '\n';
    s += trailer;
    return s;
}

std::string writemap(const shell::Palette& palette, std::string_view description) {
    return maptext(palette, description);
}

// ---------------------------------------------------------------- reading

// Every number stands for the low eight bits of its exact value in two's
// complement, however many digits it has: 300 is 44, -5 is 251, and a number
// beyond the range of int is reduced the same way (it is accumulated modulo
// 256 digit by digit, so nothing can overflow). For numbers that fit an int
// this is the same as storing the int's low byte.
//
// The data may end before 256 entries in two ways that old palette
// collections use: blank lines that run to the end of the file, and a DOS
// end-of-file byte (0x1A) at the start of a line, where reading in text mode
// stopped. A blank line followed by another entry is still a bad line.
bool MapParser::feed(const char* data, size_t size) {
    for (size_t k = 0; k < size && !bad_ && !ended_ && entry_ < 256; ++k) {
        char c = data[k];
        // A CR ends a line alone only when no LF follows it (or its second
        // CR), so its line end waits for the next byte; see lineendsize.
        if (c == '\r') {
            if (crs_ == 2)
                endline();  // the first of three CRs ended a line by itself
            else
                ++crs_;
            continue;
        }
        if (c == '\n') {
            crs_ = 0;
            endline();
            continue;
        }
        if (crs_ > 0) {
            endpendinglines();
            if (bad_ || entry_ == 256) break;
        }
        if (stage_ == rest) {
            // Nothing after a line's third number is looked at: on to the
            // line end, however long the line runs.
            const char* from = data + k;
            const char* lf = static_cast<const char*>(memchr(from, '\n', size - k));
            const size_t span = lf ? size_t(lf - from) : size - k;
            const char* cr = static_cast<const char*>(memchr(from, '\r', span));
            k += (cr ? size_t(cr - from) : span) - 1;
            continue;
        }
        if (!linestarted_ && c == kEndOfFile) {
            ended_ = true;
            break;
        }
        linestarted_ = true;
        // After a blank line only white space may follow, up to the end.
        if (blankseen_ && !isspacechar(c)) {
            bad_ = true;
            break;
        }
        switch (stage_) {
            case rest:
                break;
            case sign:
                if (isdecimal(c)) {
                    value_ = static_cast<uint8_t>(c - '0');
                    stage_ = digits;
                } else {
                    bad_ = true;
                }
                break;
            case digits:
                if (isdecimal(c)) {
                    value_ = static_cast<uint8_t>(value_ * 10 + (c - '0'));
                    break;
                }
                // The number ends here. The next one may follow at once
                // ("1-2-3" is three numbers), so this character is looked at
                // again as the start of the next field.
                endnumber();
                if (stage_ == rest) break;
                [[fallthrough]];
            case blank:
                if (isspacechar(c)) break;
                if (c == '+' || c == '-') {
                    negative_ = c == '-';
                    stage_ = sign;
                } else if (isdecimal(c)) {
                    value_ = static_cast<uint8_t>(c - '0');
                    stage_ = digits;
                } else {
                    bad_ = true;
                }
                break;
        }
    }
    return !bad_ && !ended_ && entry_ < 256;
}

void MapParser::endnumber() {
    scratch_[entry_][field_] = negative_ ? static_cast<uint8_t>(-value_) : value_;
    ++field_;
    negative_ = false;
    stage_ = field_ == 3 ? rest : blank;
}

void MapParser::endline() {
    if (stage_ == digits) endnumber();
    if (stage_ == rest)
        ++entry_;
    else if (stage_ == blank && field_ == 0)
        blankseen_ = true;  // nothing but white space: the data may end here
    else
        bad_ = true;
    if (!bad_) ++line_;
    field_ = 0;
    stage_ = blank;
    negative_ = false;
    value_ = 0;
    linestarted_ = false;
}

void MapParser::endpendinglines() {
    for (; crs_ > 0 && !bad_ && entry_ < 256; --crs_) endline();
    crs_ = 0;
}

bool MapParser::finish(shell::Palette& out) {
    if (!bad_ && !ended_ && entry_ < 256) endpendinglines();
    // A last line without a line end is still a line.
    if (!bad_ && !ended_ && entry_ < 256 && linestarted_) endline();
    if (bad_) return false;
    // A line that failed may have written some fields of its entry, but then
    // the parse failed as a whole; after a success every entry from entry_ on
    // is still black.
    out = scratch_;
    return true;
}

std::string MapParser::error() const {
    std::string s = "line " + std::to_string(line_);
    return s + (blankseen_ ? ": a colour after a blank line" : ": expected three numbers");
}

namespace {

// The trailer is what the designers write after the entries: it exists only
// when all 256 entry lines are there. A short file (ended by blank lines or
// the end-of-file byte) has none, whatever follows. Where it starts in the
// data, or nothing.
std::optional<size_t> trailerstart(std::string_view data) {
    LineReader lines(data);
    std::string_view line;
    for (int n = 0; n < 256; ++n)
        if (!lines.next(line) || trim(line).empty() || line[0] == '\x1a') return std::nullopt;
    // The empty line that separates the trailer belongs to neither part.
    std::string_view trailer = lines.rest();
    if (lines.next(line) && trim(line).empty() && trailer.size() > line.size())
        trailer = lines.rest();
    return data.size() - trailer.size();
}

}  // namespace

shell::Result<PaletteInfo> finishmap(MapParser& parser, std::string kept, bool cut,
                                     shell::Palette& palette) {
    if (!parser.finish(palette)) return failure(kWhat, parser.error());
    PaletteInfo r;
    r.colours = parser.entries();
    // The kept bytes become the description in place: they may be many.
    const std::optional<size_t> start = trailerstart(kept);
    kept.erase(0, start.value_or(kept.size()));
    if (cut) {
        // A line cut in two would end the description in the middle of a
        // word, or of a character.
        const size_t end = kept.find_last_of("\r\n");
        kept.resize(end == std::string::npos ? 0 : end + 1);
    }
    r.description = std::move(kept);
    return r;
}

shell::Result<PaletteInfo> readmap(std::string_view bytes, shell::Palette& palette) {
    MapParser parser;
    parser.feed(bytes.data(), bytes.size());
    return finishmap(parser, std::string(bytes), false, palette);
}

}  // namespace palettes
