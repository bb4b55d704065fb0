#include "analysis.h"

namespace analysis {

void analyse(const shell::Palette& p, Analysis& a) {
    for (int i = 0; i < 256; ++i) {
        const Rgb8 c = p[i];
        a.lab[i] = oklab(c);
        a.protan[i] = simulate(Deficiency::protan, c);
        a.deutan[i] = simulate(Deficiency::deutan, c);
        a.tritan[i] = simulate(Deficiency::tritan, c);
        a.grey[i] = lightnessgrey(a.lab[i].L);
    }

    a.darkest = a.brightest = 0;
    for (int i = 1; i < 256; ++i) {
        if (a.lab[i].L < a.lab[a.darkest].L) a.darkest = i;
        if (a.lab[i].L > a.lab[a.brightest].L) a.brightest = i;
    }
    a.minl = a.lab[a.darkest].L;
    a.maxl = a.lab[a.brightest].L;

    a.largestat = 0;
    for (int i = 0; i < 255; ++i) {
        a.step[i] = oklabdistance(a.lab[i], a.lab[i + 1]);
        if (a.step[i] > a.step[a.largestat]) a.largestat = i;
    }
    a.largest = a.step[a.largestat];
    a.seam = oklabdistance(a.lab[255], a.lab[0]);
}

}  // namespace analysis
