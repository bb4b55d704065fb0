// The promises every palette reader keeps on any input, checked by each fuzz
// target besides the sanitizers' own checks: a failed read leaves the
// palette as it was and says what went wrong on one line, and a file whose
// name says nothing is read as the format its content is recognised as.
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

// Reads the bytes as `format`, and as whatever their content says under a
// name without an extension.
inline void checkreader(palettes::Format format, const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);

    shell::Palette pal = sentinel();
    const auto r = palettes::decodepalette(format, bytes, pal);
    if (r.ok()) {
        check(r.value().format == format);
    } else {
        check(pal == sentinel());
        check(r.error().reason.find('\n') == std::string::npos);
        check(!r.error().reason.empty());
    }

    shell::Palette detected = sentinel();
    const auto d = palettes::decodepalette(bytes, "file", detected);
    if (!d.ok()) check(detected == sentinel());
    // When the content says this format, both reads are the same read.
    if (palettes::detectformat(bytes, "file") == format) {
        check(d.ok() == r.ok());
        check(detected == pal);
    }
}

}  // namespace fuzzcheck
