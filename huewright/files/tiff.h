// The screen-image writer: the picture of the offscreen surface as a
// little-endian TIFF file with one RGB strip (LZW-compressed or raw) and one
// directory of 19 entries carrying the curve description, the resolution,
// the software, artist and copyright strings, an XMP packet, an IPTC record
// and a pointer to an Exif directory of three entries.
#pragma once

#include <cstdint>
#include <string>

#include "huewright/files/metadata.h"
#include "shell/surface.h"
#include "shell/window.h"

namespace huewright {

// TIFF compression values the writer knows.
constexpr int compression_none = 1;
constexpr int compression_lzw = 5;

// Results of writetiff; 1 and up select a text of saveerror.
enum SaveResult {
    save_ok = 0,
    save_openerror = 1,         // the file cannot be created
    save_memoryerror = 2,       // no memory for the line or strip buffer
    save_writeerror = 3,        // a write, flush, close or the final rename failed
    save_compressionerror = 4,  // LZW compression was ineffective
};
// The text the caller shows for a result 1 to 4 (caption "Save file error");
// an empty string for anything else.
const char* saveerror(int result);

// Byte offset of the StripByteCounts value field in every file written.
constexpr int stripbytecountsoffset = 126;

// What the file says besides the picture.
struct MetadataInputs {
    // The curve description. Padded in place to an odd length (the program's
    // own copy keeps that space until the description is next composed).
    std::string& descriptionstring;
    // The author, as the Name Entry dialog stored it.
    std::string username = defaultusername;
    // When the copyright notice is dated (in UTC).
    Clock clock = systemclock;
};

// Writes `hdc` to `file` with `compression` 1 or 5. While it works the
// window's title counts "1 %" to "100 %", the window is busy and takes no
// input; title and busy state are restored before it returns. The file is
// written under a temporary name in the same folder and renamed over `file`
// only when complete, so a failure leaves an existing file as it was. When
// LZW does not pay, the "TIFF LZW" box is shown (after the window is
// restored) and the result is save_compressionerror.
int writetiff(shell::Window& window, const shell::Surface& hdc, int compression,
              const std::string& file, MetadataInputs& meta);

}  // namespace huewright
