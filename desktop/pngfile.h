// PNG encoding of a Surface for the generated desktop artwork.
#pragma once

#include <string>

#include "shell/surface.h"

namespace desktop {

// The surface as an 8-bit RGB PNG, without time or text chunks, so that the
// same pixels always give the same bytes. Empty when libpng fails.
std::string encodepng(const shell::Surface& s);

// Encodes and saves atomically; false on any failure.
bool writepng(const std::string& path, const shell::Surface& s);

}  // namespace desktop
