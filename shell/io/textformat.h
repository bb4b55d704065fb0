// Small text builders shared by the file writers.
#pragma once

#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>

namespace shell {

// Appends printf-style text. Every piece written with it is short: one line
// of at most a few integers.
inline void appendf(std::string& s, const char* format, ...) __attribute__((format(printf, 2, 3)));
inline void appendf(std::string& s, const char* format, ...) {
    char buf[128];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    if (n > 0) s.append(buf, static_cast<size_t>(n) < sizeof buf ? n : sizeof buf - 1);
}

// Appends `v` with `decimals` digits after the point, rounded as printf's
// "%.*f" rounds, but never with a locale's decimal comma: a file must read
// the same wherever it was written.
inline void appendfixed(std::string& s, double v, int decimals) {
    // Room for any double in fixed notation with a handful of decimals.
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    s.append(buf, r.ptr);
}

// Text between tags must not end an element or start an entity by accident;
// the quote is escaped too so the same text can stand in an attribute.
inline std::string xmlescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace shell
