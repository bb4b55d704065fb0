// MAP palettes: both designers' writers, the streaming reader, and the MAP
// entries of the format table.
#include "palettes/map.h"

#include <algorithm>
#include <charconv>
#include <cstdarg>
#include <cstdio>

#include "palettes/codec.h"
#include "shell/io/textformat.h"

namespace palettes {

namespace {

bool isspacechar(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}
bool isdecimal(char c) {
    return c >= '0' && c <= '9';
}

// One decimal, rounded as printf's "%.1f" rounds, but never with a locale's
// decimal comma: the file must read the same wherever it was written.
void appendfixed1(std::string& s, double v) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 1);
    s.append(buf, r.ptr);
}

void appendtriplet(std::string& s, const uint8_t* v, int invert) {
    for (int c = 0; c < 3; ++c) {
        appendint(s, invert ? 255 - v[c] : v[c]);
        s += c < 2 ? ' ' : '\n';
    }
}

}  // namespace

// ---------------------------------------------------------------- writing

std::string maptext(const shell::Palette& palette, const std::string& descriptionstring) {
    std::string s;
    s.reserve(256 * 12 + 1 + descriptionstring.size());
    for (const auto& e : palette) shell::appendf(s, "%d %d %d\n", e[0], e[1], e[2]);
    s += '\n';
    s += descriptionstring;
    return s;
}

std::string maptext(const shell::Palette& palette, const uint8_t (&spectrum)[768][3],
                    const int (&nd)[3], const double (&dp)[3][13][2], int invert) {
    static const char* const names[3] = {"Red", "Green", "Blue"};
    std::string s;
    s.reserve((256 + 768) * 12 + 3 * 13 * 40 + 64);
    for (const auto& e : palette) appendtriplet(s, e.data(), invert);
    s += '\n';
    for (const auto& column : spectrum) appendtriplet(s, column, invert);
    for (int k = 0; k < 3; ++k) {
        s += '\n';
        s += names[k];
        s += '\n';
        // The count comes from the model; bounding it keeps a bad count
        // from reading past the points.
        int count = std::clamp(nd[k], 0, 13);
        for (int j = 0; j < count; ++j) {
            s += "dp[";
            appendint(s, j);
            s += "][0]: ";
            appendfixed1(s, dp[k][j][0]);
            s += "  dp[";
            appendint(s, j);
            s += "][1]: ";
            appendfixed1(s, dp[k][j][1]);
            s += '\n';
        }
    }
    // The file ends without a line end after the inversion state.
    s += invert ? "\nInversion: True" : "\nInversion: False";
    return s;
}

std::string writemap(const shell::Palette& palette, std::string_view description) {
    return maptext(palette, std::string(description));
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

bool parsemap(const char* data, size_t size, shell::Palette& palette) {
    MapParser parser;
    parser.feed(data, size);
    return parser.finish(palette);
}

int readmapfile(const std::string& path, shell::Palette& palette) {
    // The name is used as the user chose it: Linux names are case-sensitive
    // and already in the file system's encoding.
    FILE* f = fopen(path.c_str(), "rb");
    if (f == nullptr) return 1;
    MapParser parser;
    bool ok = true;
    char buf[65536];
    for (;;) {
        size_t n = fread(buf, 1, sizeof buf, f);
        if (n > 0 && !parser.feed(buf, n)) break;
        if (n < sizeof buf) {
            // A folder opens but cannot be read: that is an error, not an
            // empty file.
            if (ferror(f)) ok = false;
            break;
        }
    }
    fclose(f);
    if (!ok) return 1;
    return parser.finish(palette) ? 0 : 1;
}

// The trailer is what both designers write after the entries: it exists only
// when all 256 entry lines are there. A short file (ended by blank lines or
// the end-of-file byte) has none, whatever follows.
std::string maptrailer(const char* data, size_t size) {
    LineReader lines(std::string_view(data, size));
    std::string_view line;
    for (int n = 0; n < 256; ++n)
        if (!lines.next(line) || trim(line).empty() || line[0] == '\x1a') return {};
    // The empty line that separates the trailer belongs to neither part.
    std::string_view trailer = lines.rest();
    if (lines.next(line) && trim(line).empty() && trailer.size() > line.size())
        trailer = lines.rest();
    return std::string(trailer);
}

ReadResult readmap(std::string_view bytes, shell::Palette& palette) {
    MapParser parser;
    parser.feed(bytes.data(), bytes.size());
    if (!parser.finish(palette)) return failure("Not a MAP palette", parser.error());
    ReadResult r;
    r.ok = true;
    r.description = maptrailer(bytes.data(), bytes.size());
    return r;
}

}  // namespace palettes
