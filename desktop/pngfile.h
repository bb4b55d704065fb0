// PNG encoding of the generated desktop artwork.
#pragma once

#include <string>

#include "matte.h"
#include "shell/raster/surface.h"

namespace desktop {

// The surface as an 8-bit RGB PNG, or the picture as an 8-bit RGBA PNG,
// without time or text chunks, so that the same pixels always give the same
// bytes. Empty when libpng fails.
std::string encodepng(const shell::Surface& s);
std::string encodepng(const RgbaPicture& p);

// Encodes and saves atomically; false on any failure.
bool writepng(const std::string& path, const shell::Surface& s);
bool writepng(const std::string& path, const RgbaPicture& p);

}  // namespace desktop
