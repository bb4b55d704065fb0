// PNG images: the one PNG encoder of the project (libpng, or on Windows the
// system's imaging component), which writes this library's PNG strips and
// the desktop artwork.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/io/result.h"

namespace palettes {

// Rows of 8-bit samples, `channels` to a pixel (3 for RGB, 4 for RGBA),
// `stride` bytes apart; with `stride` 0 every row is the first.
struct PngImage {
    int width = 0, height = 0, channels = 3;
    size_t stride = 0;
    const uint8_t* data = nullptr;
};

// A text chunk: tEXt holds Latin-1 text, iTXt (`international`) UTF-8.
struct PngText {
    const char* key;
    std::string text;
    bool international = false;
};

// Encodes the image and its texts (written before the pixels) without time
// chunks, so that the same input always gives the same bytes. `level` is
// zlib's compression level, 0 to 9, or -1 for libpng's default (Windows's
// encoder has one level of its own). Fails with Fault::memory when the
// encoder runs out of memory, and with Fault::content for an image without
// pixels, or with another channel count.
shell::Result<std::string> encodepng(const PngImage& image, const std::vector<PngText>& texts = {},
                                     int level = -1);

}  // namespace palettes
