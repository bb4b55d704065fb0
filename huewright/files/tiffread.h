// Reading screen images back: the description and one row of the picture
// of a TIFF file, enough to take a saved window's curves and palette strip
// from it. Baseline TIFF as image software writes it is read (either byte
// order, strips of raw or LZW-compressed 8-bit RGB); anything else reports
// what it is not. Nothing here needs the rest of the program, so the file
// reader can be tried on any bytes on its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/io/result.h"

namespace huewright {

// The first image of a TIFF file, as its directory describes it.
struct TiffImage {
    int width = 0, height = 0;
    // The ImageDescription field, or where a file has none, the description
    // its XMP packet holds; empty when it has neither.
    std::string description;
    // Where the pixels are, when they are 8-bit RGB in a compression read
    // here; otherwise `pixels` says why not.
    bool rgb8 = false;
    std::string pixels;
    int compression = 1;
    int rowsperstrip = 0;
    std::vector<uint32_t> stripoffsets, stripbytes;
};

// Whether the bytes start as a TIFF file does.
bool istiff(std::string_view bytes);

// The directory of the first image. Fails with Fault::content and a reason
// ("Not a TIFF image: ...") when the bytes are no TIFF file.
shell::Result<TiffImage> readtiff(std::string_view bytes);

// Row y of the picture as red, green, blue bytes. Fails when the pixels are
// not read here (image.rgb8 is false) or their strip is damaged.
shell::Result<std::vector<uint8_t>> tiffrow(std::string_view bytes, const TiffImage& image, int y);

// The text of an XMP packet's description (its first language
// alternative), with the XML entities resolved; nothing when it has none.
std::optional<std::string> xmpdescription(std::string_view packet);

}  // namespace huewright
