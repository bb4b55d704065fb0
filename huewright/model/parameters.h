// One channel's curve record and the start-up records.
#pragma once

#include <cstdint>

namespace huewright {

// The settings of all four curve types for one channel, and which is in
// effect. Field order is part of the program's contract: keep it.
struct Parameters {
    int32_t ct;    // curve type: 0 Sine, 1 Arc, 2 Bezier, 3 Line (curvetype() reads it)
    int32_t sp;    // sine phase, 1 or 2
    int32_t xsh;   // sine x shift
    int32_t amp;   // sine amplitude
    int32_t ysh;   // sine y shift
    int32_t aan;   // arc anchor
    int32_t avt;   // arc vertex
    int32_t bd;    // Bezier degree: 0 quadratic, 1 cubic
    int32_t b0;    // Bezier value at entry 0
    int32_t b255;  // Bezier value at entry 255
    int32_t bc1x, bc1y;
    int32_t bc2x, bc2y;
    int32_t Ln;    // line segments, 1 or 2
    int32_t L0;    // line value at entry 0
    int32_t L255;  // line value at the end
    int32_t Lmx, Lmy;
};
static_assert(sizeof(Parameters) == 19 * 4, "Parameters has 19 32-bit fields");

inline bool operator==(const Parameters& a, const Parameters& b) {
    return a.ct == b.ct && a.sp == b.sp && a.xsh == b.xsh && a.amp == b.amp && a.ysh == b.ysh &&
           a.aan == b.aan && a.avt == b.avt && a.bd == b.bd && a.b0 == b.b0 && a.b255 == b.b255 &&
           a.bc1x == b.bc1x && a.bc1y == b.bc1y && a.bc2x == b.bc2x && a.bc2y == b.bc2y &&
           a.Ln == b.Ln && a.L0 == b.L0 && a.L255 == b.L255 && a.Lmx == b.Lmx && a.Lmy == b.Lmy;
}
inline bool operator!=(const Parameters& a, const Parameters& b) {
    return !(a == b);
}

// The records every run starts from: red, green, blue.
constexpr Parameters startupparameters[3] = {
    {0, 1, 165, 255, 0, 0, 96, 0, 128, 128, 32, 180, 224, 48, 1, 0, 255, 128, 190},
    {0, 1, 90, 255, 0, 0, 48, 0, 128, 128, 48, 224, 160, 16, 1, 255, 0, 128, 64},
    {0, 1, 0, 255, 0, 0, 224, 0, 128, 128, 64, 192, 192, 64, 1, 128, 128, 128, 0},
};

}  // namespace huewright
