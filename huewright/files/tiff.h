// The screen-image writer: the picture of the offscreen surface as a
// little-endian TIFF file with one RGB strip (LZW-compressed or raw) and one
// directory of 19 entries carrying the curve description, the resolution,
// the software, artist and copyright strings, an XMP packet, an IPTC record
// and a pointer to an Exif directory of three entries.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "huewright/files/metadata.h"
#include "shell/raster/surface.h"

namespace huewright {

// TIFF compression values the writer knows.
constexpr int compression_none = 1;
constexpr int compression_lzw = 5;

// Results of a save; 1 and up select a text of saveerror.
enum SaveResult {
    save_ok = 0,
    save_openerror = 1,         // the file cannot be created (the caller's atomic save)
    save_memoryerror = 2,       // no memory for the line or strip buffer
    save_writeerror = 3,        // a write, flush, close or the final rename failed (the
                                // caller's), or a picture too large for a TIFF
    save_compressionerror = 4,  // LZW compression was ineffective
};
// The text the caller shows for a result 1 to 4 (caption "Save file error");
// an empty string for anything else.
const char* saveerror(int result);

// Byte offset of the StripByteCounts value field in every file written.
constexpr int stripbytecountsoffset = 126;

// Encodes `picture` as a TIFF file with `compression` 1 or 5 (any value but
// 1 gets LZW) and the strings of `m`, into `out`. progress(row, rows) is
// called before each row is encoded. Returns save_ok, save_memoryerror,
// save_compressionerror when LZW does not pay, or save_writeerror for a
// picture no TIFF directory can describe; `out` is complete only on save_ok.
int encodetiff(const shell::Surface& picture, int compression, const Metadata& m, std::string& out,
               const std::function<void(int row, int rows)>& progress = {});

}  // namespace huewright
