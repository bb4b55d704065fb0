// The Mandelbrot preview: the palette shown on a part of the Mandelbrot set.
// A picture is 257 x 257 points; each point of the set takes a palette entry
// 1 ... 255 from the angle of its final z, and an escaped point is drawn
// grey. The entries are computed once and kept, so the picture can be drawn
// again with other colours without computing the set again.
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

// The exact rule for one point (column i, row j), one iteration after the
// other. The preview uses a faster route to the same answers; this is its
// reference.
MsetPoint msetpoint(int i, int j);

// How the preview computes its rows; every kernel gives the same entries.
enum class MsetKernel {
    best,   // the fastest this processor runs (AVX2 lanes where available)
    lanes,  // scalar lanes in extended arithmetic, with cycle detection
    rule,   // msetpoint for every point
};
// Palette entries of the 257 points of row j: 0 for an escaped point, else
// the entry 1 ... 255 that colours it. When finalz is given, it receives the
// final z (zx, zy) of every point of the set, two doubles a point.
void msetrow(int j, uint8_t* entries, MsetKernel kernel = MsetKernel::best,
             double* finalz = nullptr);

// The entries of every point, row after row.
struct MsetEntries {
    std::vector<uint8_t> entries = std::vector<uint8_t>(size_t(kMsetSize) * kMsetSize);
    const uint8_t* row(int j) const { return &entries[size_t(j) * kMsetSize]; }
    uint8_t* row(int j) { return &entries[size_t(j) * kMsetSize]; }
};

// Computes every point. After row j is complete, rowready(j) is called on the
// calling thread, in row order, so that the caller can show the picture
// growing. Returns when all rows are done; no other thread touches `out` or
// runs rowready. threads 1 computes everything on the calling thread; 2 (the
// default) lets a second thread compute rows ahead. The entries are the same
// with any number of threads and any kernel.
void computemset(MsetEntries& out, const std::function<void(int)>& rowready = {}, int threads = 2,
                 MsetKernel kernel = MsetKernel::best);

// Draws row j of a picture whose top-left point is at `origin`: a point of
// the set in column i at origin.x + i in its palette colour, an escaped point
// one column further right in grey, in column order, so that a point of the
// set covers the grey of the escaped point to its left. The picture is thus
// 258 columns wide.
void drawmsetrow(shell::Surface& surface, shell::Point origin, int j, const uint8_t* entries,
                 const shell::Palette& palette);

// Computes the picture and draws it row by row; rowdone(j) is called once
// row j is on the surface. Returns the entries, which colour cycling draws
// again with other palettes.
MsetEntries mset(const shell::Palette& palette, shell::Surface& surface, shell::Point origin,
                 const std::function<void(int)>& rowdone = {}, int threads = 2,
                 MsetKernel kernel = MsetKernel::best);

}  // namespace huewright
