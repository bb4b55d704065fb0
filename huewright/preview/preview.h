// The Mandelbrot preview: the palette shown on a part of the Mandelbrot set.
// A picture is 257 x 257 points; each point of the set takes a palette entry
// 1 ... 255 from the angle of its final z, and an escaped point is drawn
// grey. The entries are computed once and kept, so the picture can be drawn
// again with other colours without computing the set again.
//
// For a screen of scale n the picture is computed at n times the resolution,
// 257 n x 257 n points, one a device pixel. Point (n i, n j) is exactly point
// (i, j) of the picture at scale 1, and the points between lie between it
// and its neighbours: the same colours at the same logical places, in finer
// detail.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "shell/raster/palette.h"
#include "shell/raster/surface.h"

namespace huewright {

constexpr int kMsetSize = 257;
constexpr int kMsetMaxIter = 512;
const shell::Rgb kMsetEscaped{24, 24, 24};

// The outcome of one point of the preview.
struct MsetPoint {
    bool escaped;    // left the radius 2 within 512 iterations
    int iterations;  // how many were done
    int index;       // palette entry 1 ... 255 for a point of the set, 0 if escaped
    double zx, zy;   // the final z
};

// The exact rule for one point (column i, row j of the picture at `scale`),
// one iteration after the other. The preview uses a faster route to the same
// answers; this is its reference.
MsetPoint msetpoint(int i, int j, int scale = 1);

// How the preview computes its rows; every kernel gives the same entries.
enum class MsetKernel {
    best,   // the fastest this processor runs (AVX2 lanes where available)
    lanes,  // scalar lanes in extended arithmetic, with cycle detection
    rule,   // msetpoint for every point
};
// Palette entries of the 257 x scale points of row j of the picture at
// `scale`: 0 for an escaped point, else the entry 1 ... 255 that colours it.
// When finalz is given, it receives the final z (zx, zy) of every point of
// the set, two doubles a point.
void msetrow(int j, uint8_t* entries, MsetKernel kernel = MsetKernel::best,
             double* finalz = nullptr, int scale = 1);

// The entries of every point of a picture at a scale, row after row.
struct MsetEntries {
    MsetEntries() = default;
    explicit MsetEntries(int s) : scale(s), entries(size_t(size()) * size()) {}
    int scale = 1;
    std::vector<uint8_t> entries = std::vector<uint8_t>(size_t(kMsetSize) * kMsetSize);
    // Points in a row and rows: 257 x scale.
    int size() const { return kMsetSize * scale; }
    const uint8_t* row(int j) const { return &entries[size_t(j) * size()]; }
    uint8_t* row(int j) { return &entries[size_t(j) * size()]; }
};

// Computes every point of the picture at out.scale. After row j is complete,
// rowready(j) is called on the calling thread, in row order, so that the
// caller can show the picture growing. Returns when all rows are done; no other thread touches
// `out` or runs rowready. threads 1 computes everything on the calling thread; 2 (the default) lets
// a second thread compute rows ahead. The entries are the same with any number of threads and any
// kernel.
void computemset(MsetEntries& out, const std::function<void(int)>& rowready = {}, int threads = 2,
                 MsetKernel kernel = MsetKernel::best);

// Draws row j of a picture at scale 1 (257 entries) whose top-left point is
// at `origin`: a point of the set in column i at origin.x + i in its palette
// colour, an escaped point one column further right in grey, in column
// order, so that a point of the set covers the grey of the escaped point to
// its left. The picture is thus 258 columns wide. On a surface of scale n
// each point fills its n x n block.
void drawmsetrow(shell::Surface& surface, shell::Point origin, int j, const uint8_t* entries,
                 const shell::Palette& palette);

// Draws the device rows from ... to - 1 of the picture (257 x the surface's
// scale of them) from entries at the surface's scale, at a multiple of it,
// or at 1, by the rule above in device pixels: each device pixel shows the
// point at its place, so entries at a higher scale give exactly the picture
// computed at the surface's, and an escaped point is drawn one logical
// column to the right.
void drawmsetrows(shell::Surface& surface, shell::Point origin, const MsetEntries& entries,
                  const shell::Palette& palette, int from, int to);

// Computes the picture at the surface's scale and draws it row by row;
// rowdone(j) is called once device row j is on the surface. Returns the
// entries, which colour cycling draws again with other palettes.
MsetEntries mset(const shell::Palette& palette, shell::Surface& surface, shell::Point origin,
                 const std::function<void(int)>& rowdone = {}, int threads = 2,
                 MsetKernel kernel = MsetKernel::best);

}  // namespace huewright
