// The numbers of a palette analysis: the OKLab lightness of every entry, the
// colour difference between neighbours and across the wrap seam, and the
// palette as seen with the three complete colour-vision deficiencies and as
// lightness alone.
#pragma once

#include <array>

#include "colour.h"
#include "shell/raster/palette.h"

namespace analysis {

struct Analysis {
    std::array<Lab, 256> lab{};  // OKLab of every entry; lab[i].L is its lightness

    // The darkest and brightest entries; on a tie the lowest index.
    int darkest = 0, brightest = 0;
    double minl = 0, maxl = 0;

    // step[i] is the OKLab difference between entries i and i + 1.
    std::array<double, 255> step{};
    // The largest step, at the lowest i on a tie: between entries
    // largestat and largestat + 1.
    int largestat = 0;
    double largest = 0;

    // The difference between entry 255 and entry 0, which meet where a
    // palette is cycled or repeated.
    double seam = 0;

    // The palette as seen with protanopia, deuteranopia and tritanopia, and
    // each entry as the grey of its OKLab lightness.
    shell::Palette protan{}, deutan{}, tritan{}, grey{};
};

// Fills every field of `a` for palette p. Allocates nothing, so it can run on
// every change of a palette while the user drags.
void analyse(const shell::Palette& p, Analysis& a);
inline Analysis analyse(const shell::Palette& p) {
    Analysis a;
    analyse(p, a);
    return a;
}

}  // namespace analysis
