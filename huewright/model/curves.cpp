// The sine tables, the arc and the line.
#include <algorithm>

#include "huewright/model/arith.h"
#include "huewright/model/model.h"

namespace huewright {

void Model::calcsine() {
    // The offsets 192 and 224 put the minimum at entry 0, so each row is
    // (1 - cos) scaled; 127.9 rather than 128 makes the peak 255.8, which
    // truncates to 255.
    for (int k = 0; k < 256; ++k) {
        double a0 = st(ext((k + 192) % 256) * kPi * kInv128);
        sinetable[0][k] = uint8_t(int((xsin(a0) + 1) * 127.9));
        double a1 = st(ext((k + 224) % 256) * kPi * 2 * kInv128);
        sinetable[1][k] = uint8_t(int((xsin(a1) + 1) * 127.9));
    }
}

void Model::calcarc(int anchor, int vertex) {
    if (anchor == vertex) {
        std::fill(std::begin(arctable), std::end(arctable), uint8_t(anchor));
        return;
    }
    // A circle whose chord of 256 entries has the sagitta `height`. Above 128
    // such a circle would be narrower than the chord, so the circle of half the
    // height is used and its heights doubled.
    double height = std::abs(vertex - anchor);
    const bool stretched = height > 128;
    if (stretched) height = st(ext(height) * 0.5);
    const double r = st(65536 / (8 * ext(height)) + 0.5 * ext(height));
    const double cx = 0;
    const double cy = st(ext(height) - r);
    for (int i = 0; i < 128; ++i) {
        const double x = i - 128;
        const double arg = st(ext(r) * r - (ext(x) - cx) * (ext(x) - cx));
        double y = st(xsqrt(arg) + cy);
        if (stretched) y = st(2 * ext(y));
        if (anchor > vertex) y = -y;
        int v = int(ext(anchor) + y);
        v = std::clamp(v, 0, 255);
        arctable[i] = uint8_t(v);
        arctable[255 - i] = uint8_t(v);
    }
    arctable[0] = arctable[255] = uint8_t(anchor);
    arctable[127] = arctable[128] = uint8_t(vertex);
}

void Model::calcline(int Ln, int L0, int L255, int Lmx, int Lmy) {
    auto& pal = palette;
    const int c = cndx;
    if (Ln == 1) {
        // One segment divides by 255 ...
        const double diffy1 = L255 - L0;
        const double dy1 = st(kInv255 * ext(diffy1));
        for (int i = 0; i < 256; ++i) {
            const double y = st(i * ext(dy1) + L0);
            pal[i][c] = uint8_t(int(y));
        }
        return;
    }
    // ... two segments divide by the middle x and by 256 minus it, so the
    // second segment stops one step short of L255 at entry 255.
    double diffx1 = Lmx;
    if (diffx1 == 0) diffx1 = 0.001;  // the first segment is empty anyway
    const double diffx2 = 256 - Lmx;
    const double diffy1 = Lmy - L0;
    const double diffy2 = L255 - Lmy;
    const double dy1 = st(ext(diffy1) / diffx1);
    const double dy2 = st(ext(diffy2) / diffx2);
    // Bounded so that a middle x outside 0 ... 255 cannot write past the palette.
    const int mid = std::clamp(Lmx, 0, 256);
    for (int i = 0; i < mid; ++i) {
        const double y = st(i * ext(dy1) + L0);
        pal[i][c] = uint8_t(int(y));
    }
    for (int i = mid; i < 256; ++i) {
        const double y = st((i - Lmx) * ext(dy2) + Lmy);
        pal[i][c] = uint8_t(int(y));
    }
}

}  // namespace huewright
