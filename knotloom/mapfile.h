// The MAP file of the B-spline palette designer: the 256 palette entries,
// then a trailer that records how the palette was made (the curve values per
// screen column, each channel's data points and the inversion state). The
// palette part loads in any MAP reader; the trailer is for people.
#pragma once

#include <cstdint>
#include <string>

#include "shell/palette.h"
#include "shell/window.h"

namespace knotloom {

// The save dialog's record. Its `file` and `filetitle` are the dialog's path
// and title buffers (smapfile and smapfiletitle).
struct MapFiles {
    shell::FileDialogRecord smapn;
};

// Prepares the record: the dialog starts in the folder the program was
// started from, lists MAP files, adds ".map" to a bare name and asks before
// overwriting.
void InitOpenFile(MapFiles& files);

// The file's bytes. With `invert` non-zero every palette and column value v
// is written as 255 - v, as the user sees it; the data points are written as
// they are. Only the first nd[k] points of channel k are written (at most 13).
std::string maptext(const shell::Palette& palette, const uint8_t (&spectrum)[768][3],
                    const int (&nd)[3], const double (&dp)[3][13][2], int invert);

// Saves maptext atomically: 0 on success, 1 on any failure (the target is
// then as it was).
int writemapfile(const std::string& path, const shell::Palette& palette,
                 const uint8_t (&spectrum)[768][3], const int (&nd)[3],
                 const double (&dp)[3][13][2], int invert);

// What the command reports. A cancelled dialog writes and shows nothing.
enum MapResult { map_ok = 0, map_error = 1, map_cancelled = 2 };

// The save command: runs the save dialog on smapn, writes the file, and shows
// "Image saved as <name>" or the error box.
int SaveMapFile(shell::Window& w, MapFiles& files, const shell::Palette& palette,
                const uint8_t (&spectrum)[768][3], const int (&nd)[3], const double (&dp)[3][13][2],
                int invert);

}  // namespace knotloom
