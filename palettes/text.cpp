// Numbers, text and lines as the format files need them. Numbers go through
// std::to_chars and std::from_chars, which never look at the locale: a file
// written under a locale with a decimal comma reads the same everywhere.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "palettes/codec.h"

namespace palettes {

shell::Error failure(const char* what, const std::string& why, shell::Fault fault) {
    return shell::Error{fault, "", std::string(what) + ": " + why};
}

std::string quoted(std::string_view text) {
    // Enough to recognise the piece; a cut may split a character, which
    // validutf8 then replaces.
    constexpr size_t kMaxQuoted = 40;
    std::string s = oneline(validutf8(text.substr(0, kMaxQuoted)), "");
    return "\"" + s + (text.size() > kMaxQuoted ? "...\"" : "\"");
}

// ---------------------------------------------------------------- numbers

void appendint(std::string& s, long long v) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    s.append(buf, r.ptr);
}

void appendtrimmed(std::string& s, double v, int decimals) {
    size_t start = s.size();
    appendfixed(s, v, decimals);
    if (s.find('.', start) == std::string::npos) return;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    // "-0" would be a correct number, but it looks like a mistake.
    if (s.compare(start, std::string::npos, "-0") == 0) s.replace(start, 2, "0");
}

void appendhexcolour(std::string& s, const std::array<uint8_t, 3>& rgb) {
    static const char digits[] = "0123456789abcdef";
    s += '#';
    for (uint8_t v : rgb) {
        s += digits[v >> 4];
        s += digits[v & 15];
    }
}

bool parsedouble(std::string_view token, double& out) {
    if (token.empty()) return false;
    double v = 0;
    auto r = std::from_chars(token.data(), token.data() + token.size(), v);
    if (r.ec != std::errc() || r.ptr != token.data() + token.size() || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

bool parseint(std::string_view token, long long& out) {
    if (token.empty()) return false;
    long long v = 0;
    auto r = std::from_chars(token.data(), token.data() + token.size(), v);
    if (r.ec != std::errc() || r.ptr != token.data() + token.size()) return false;
    out = v;
    return true;
}

uint8_t tobyte(double v) {
    if (!(v > 0)) return 0;  // also NaN
    if (v >= 1) return 255;
    return static_cast<uint8_t>(std::lround(v * 255));
}

double fraction(uint8_t v) {
    return v / 255.0;
}

// ---------------------------------------------------------------- text

namespace {

// The character tests are written out: find_first_of and its kin look each
// byte up in the set with a call of their own, which a line of many
// megabytes (a MAP trailer, a file of spaces) would feel.
bool isspaceorlineend(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

std::string_view trim(std::string_view s) {
    size_t first = 0, last = s.size();
    while (first < last && isspaceorlineend(s[first])) ++first;
    while (last > first && isspaceorlineend(s[last - 1])) --last;
    return s.substr(first, last - first);
}

bool startswith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

std::string validutf8(std::string_view s) {
    static const char replacement[] = "\xef\xbf\xbd";
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        auto b = static_cast<unsigned char>(s[i]);
        // The length a lead byte announces, and the smallest code point that
        // length may carry (shorter forms of a code point are invalid).
        size_t len = 0;
        uint32_t cp = 0, least = 0;
        if (b < 0x80) {
            out += s[i++];
            continue;
        } else if (b >= 0xc2 && b <= 0xdf) {
            len = 2, cp = b & 0x1f, least = 0x80;
        } else if (b >= 0xe0 && b <= 0xef) {
            len = 3, cp = b & 0x0f, least = 0x800;
        } else if (b >= 0xf0 && b <= 0xf4) {
            len = 4, cp = b & 0x07, least = 0x10000;
        }
        size_t k = 1;
        for (; len != 0 && k < len && i + k < s.size(); ++k) {
            auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xc0) != 0x80) break;
            cp = cp << 6 | (c & 0x3f);
        }
        bool ok = len != 0 && k == len && cp >= least && cp <= 0x10ffff &&
                  !(cp >= 0xd800 && cp <= 0xdfff);
        if (ok) {
            out.append(s.substr(i, len));
            i += len;
        } else {
            // Replace the lead byte and the continuation bytes read with it.
            out += replacement;
            i += std::max<size_t>(k, 1);
        }
    }
    return out;
}

std::string plaintext(std::string_view s) {
    std::string out = validutf8(s);
    for (char& c : out)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f) c = ' ';
    return out;
}

std::string multiline(std::string_view s) {
    std::string out;
    for (std::string_view line : textlines(s)) {
        out += plaintext(line);
        out += '\n';
    }
    if (!out.empty() && s.back() != '\n' && s.back() != '\r') out.pop_back();
    return out;
}

std::string oneline(std::string_view s, std::string_view fallback) {
    std::string out(s);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    std::string_view t = trim(out);
    return t.empty() ? std::string(fallback) : std::string(t);
}

std::string identifier(std::string_view name) {
    std::string out;
    for (char c : name) {
        bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        out += word ? c : '_';
    }
    if (out.empty() || (out[0] >= '0' && out[0] <= '9')) out.insert(out.begin(), '_');
    return out;
}

std::vector<std::string_view> textlines(std::string_view text) {
    std::vector<std::string_view> out;
    LineReader lines(text);
    std::string_view line;
    while (lines.next(line)) out.push_back(line);
    return out;
}

std::vector<std::string> readablelines(std::string_view description) {
    std::vector<std::string> out;
    for (std::string_view line : textlines(description)) {
        std::string s = plaintext(line);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
        if (!s.empty() || !out.empty()) out.push_back(std::move(s));
    }
    while (!out.empty() && out.back().empty()) out.pop_back();
    return out;
}

bool LineReader::next(std::string_view& line) {
    if (rest_.empty()) return false;
    size_t end = 0;
    while (end < rest_.size() && rest_[end] != '\r' && rest_[end] != '\n') ++end;
    if (end == rest_.size()) {
        line = rest_;
        rest_ = {};
    } else {
        line = rest_.substr(0, end);
        rest_.remove_prefix(end + lineendsize(rest_.substr(end)));
    }
    ++number_;
    return true;
}

size_t lineendsize(std::string_view text) {
    // Text converted to DOS line ends twice ends its lines in CR CR LF. The
    // look ahead stays this short so that a long run of CRs costs no more
    // than its length.
    for (std::string_view end : {"\r\r\n", "\r\n", "\n", "\r"})
        if (startswith(text, end)) return end.size();
    return 0;
}

std::string_view withoutbom(std::string_view bytes) {
    if (startswith(bytes, "\xef\xbb\xbf")) bytes.remove_prefix(3);
    return bytes;
}

std::string_view firstline(std::string_view bytes) {
    LineReader lines(withoutbom(bytes));
    std::string_view line;
    return lines.next(line) ? line : std::string_view();
}

// ---------------------------------------------------------------- gradients

shell::Palette samplestops(const std::vector<Stop>& stops) {
    shell::Palette pal{};
    size_t next = 0;  // the first stop beyond t; t only grows
    for (int i = 0; i < 256; ++i) {
        double t = i / 255.0;
        while (next < stops.size() && stops[next].offset <= t) ++next;
        // Before the first stop or after the last, one colour rules. Between
        // two, b lies strictly beyond t and a at or before it, so the span is
        // never zero.
        const Stop& a = stops[next == 0 ? 0 : next - 1];
        const Stop& b = stops[next == stops.size() ? next - 1 : next];
        double f = &a == &b ? 0 : (t - a.offset) / (b.offset - a.offset);
        for (int c = 0; c < 3; ++c) pal[i][c] = tobyte(a.rgb[c] + (b.rgb[c] - a.rgb[c]) * f);
    }
    return pal;
}

}  // namespace palettes
