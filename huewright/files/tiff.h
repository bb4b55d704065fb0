// The screen-image writer: the picture of the offscreen surface as a
// little-endian TIFF file with one RGB strip (LZW-compressed or raw) and one
// directory of 19 entries carrying the curve description, the resolution,
// the software, artist and copyright strings, an XMP packet, an IPTC record
// and a pointer to an Exif directory of three entries.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "huewright/files/metadata.h"
#include "shell/io/result.h"
#include "shell/raster/surface.h"

namespace huewright {

// TIFF compression values the writer knows.
constexpr int compression_none = 1;
constexpr int compression_lzw = 5;

// The text the caller shows for a failed save (caption "Save file error"),
// by its fault: Fault::open, the file cannot be created (the caller's atomic
// save); Fault::memory, no memory for the strip; Fault::write, a write,
// flush, close or the final rename failed (the caller's), or the picture is
// too large for a TIFF; Fault::content, LZW compression was ineffective. An
// empty string for anything else.
const char* saveerror(const shell::Error& e);

// Byte offset of the StripByteCounts value field in every file written.
constexpr int stripbytecountsoffset = 126;

// A whole file in one block. The block is allocated without throwing, so
// that a picture too large for the memory left is a failure to report.
struct TiffFile {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0;
};

// Encodes `picture` as a TIFF file with `compression` 1 or 5 (any value but
// 1 gets LZW) and the strings of `m`. progress(row, rows) is called before
// each row is encoded. Fails with Fault::memory, Fault::content when LZW
// does not pay, or Fault::write for a picture no TIFF directory can
// describe.
shell::Result<TiffFile> encodetiff(const shell::Surface& picture, int compression,
                                   const Metadata& m,
                                   const std::function<void(int row, int rows)>& progress = {});

}  // namespace huewright
