// The image side of PNG strips (png.cpp): what a PNG decoder hands the strip
// reader. libpng does the decoding on Linux (libpng.cpp), the system's
// imaging component (WIC) on Windows (windows/wicpng.cpp); both give the
// pixels the same way, and the strip logic is the same code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shell/io/result.h"

namespace palettes {

// How a refused PNG's error starts.
extern const char* const kPngWhat;

// Limits for untrusted files: no palette strip is wider, and the decoders
// refuse larger images before allocating anything.
constexpr uint32_t kMaxPngWidth = 1u << 16;
constexpr uint32_t kMaxPngHeight = 1u << 20;
// Row 0 of an interlaced image is complete only after most of the image has
// been decoded, so interlaced images are read only up to this many pixels.
constexpr uint64_t kMaxInterlacedPixels = 1u << 24;

// A text chunk as read: tEXt (Latin-1) or iTXt (`international`, UTF-8).
struct PngTextChunk {
    std::string key;
    std::string text;  // as the chunk holds it
    bool international = false;
};

// Row 0 of a PNG as 8-bit RGB, and its text chunks in file order. Palettes
// and low bit depths expand, 16 bits are scaled (rounded, not cut) to 8,
// grey becomes RGB, and alpha is dropped (a palette has no opacity).
struct PngRow {
    uint32_t width = 0;
    std::vector<uint8_t> rgb;  // width * 3 bytes
    std::vector<PngTextChunk> texts;
};
shell::Result<PngRow> decodepngrow(std::string_view bytes);

}  // namespace palettes
