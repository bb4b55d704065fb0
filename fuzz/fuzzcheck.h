// The promises every palette reader keeps on any input, checked by each fuzz
// target besides the sanitizers' own checks: a failed read leaves the
// palette as it was and says what went wrong on one line, and reading does
// not depend on the file name when the content is recognised.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "palettes/palettes.h"

namespace fuzzcheck {

inline shell::Palette sentinel() {
    shell::Palette pal;
    for (int i = 0; i < 256; ++i) pal[i] = {uint8_t(i), uint8_t(i ^ 0x5a), uint8_t(~i)};
    return pal;
}

inline void check(bool condition) {
    if (!condition) __builtin_trap();
}

// Reads the bytes as `format`, and as whatever their content says with a
// file name of that format as the hint.
inline void checkreader(palettes::Format format, const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);

    shell::Palette pal = sentinel();
    palettes::ReadResult r = palettes::decodepalette(format, bytes, pal);
    check(r.format == format);
    if (r.ok) {
        check(r.error.empty());
    } else {
        check(pal == sentinel());
        check(r.error.find('\n') == std::string::npos);
        check(format == palettes::Format::map || !r.error.empty());
    }

    std::string hint = std::string("file.") + palettes::info(format).key;
    shell::Palette detected = sentinel();
    palettes::ReadResult d = palettes::decodepalette(bytes, hint, detected);
    if (!d.ok) check(detected == sentinel());
    // When the content says this format, both reads are the same read.
    if (d.format == format) {
        check(d.ok == r.ok);
        check(detected == pal);
    }
}

}  // namespace fuzzcheck
