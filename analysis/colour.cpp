#include "colour.h"

#include <algorithm>
#include <cmath>

namespace analysis {

namespace {

// sRGB decoding of a channel value x in 0 ... 1.
double decode(double x) {
    return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
}

// The two tables every conversion reads, made once. An update analyses 256
// entries and simulates each three times, so the 8-bit decoding is a lookup
// and the rounding of an encoded value is a search among the points where the
// rounded result steps up, instead of a power function per channel.
struct Tables {
    double linear[256];
    // step[k - 1] is the linear value at which the rounded 8-bit code reaches
    // k: the decoding of (k - 0.5) / 255. The transfer function rises
    // strictly, so the code of v is the number of steps at or below v.
    double step[255];
    // OKLab L of linear white. The matrices' rows do not sum to exactly one,
    // so a grey's L is this factor times the cube root of its linear value.
    double whitel;

    Tables() {
        for (int v = 0; v < 256; ++v) linear[v] = decode(v / 255.0);
        for (int k = 1; k < 256; ++k) step[k - 1] = decode((k - 0.5) / 255.0);
        whitel = lineartooklab(Linear{1, 1, 1}).L;
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

// The matrices of Machado, Oliveira and Fernandes at severity 1.0, as they
// published them (six decimals), row by row: output red, green, blue from
// linear input red, green, blue.
constexpr double kMachado[3][9] = {
    {0.152286, 1.052583, -0.204868, 0.114503, 0.786281, 0.099216, -0.003882, -0.048116, 1.051998},
    {0.367322, 0.860646, -0.227968, 0.280085, 0.672501, 0.047413, -0.011820, 0.042940, 0.968881},
    {1.255528, -0.076749, -0.178779, -0.078411, 0.930809, 0.147602, 0.004733, 0.691367, 0.303900},
};

}  // namespace

double srgbtolinear(uint8_t v) {
    return tables().linear[v];
}

Linear srgbtolinear(Rgb8 c) {
    const double* t = tables().linear;
    return Linear{t[c[0]], t[c[1]], t[c[2]]};
}

uint8_t lineartosrgb8(double v) {
    if (!(v > 0)) return 0;  // also NaN
    if (v >= 1) return 255;
    const double* s = tables().step;
    return uint8_t(std::upper_bound(s, s + 255, v) - s);
}

// Björn Ottosson's matrices for OKLab, in the full double precision that
// colour libraries derive them to (his first publication rounds them to ten
// digits; the two differ by less than 1e-8 in any result).
Lab lineartooklab(const Linear& c) {
    const double l =
        std::cbrt(0.412221469470763 * c.r + 0.5363325372617348 * c.g + 0.0514459932675022 * c.b);
    const double m =
        std::cbrt(0.2119034958178252 * c.r + 0.6806995506452344 * c.g + 0.1073969535369406 * c.b);
    const double s =
        std::cbrt(0.0883024591900564 * c.r + 0.2817188391361215 * c.g + 0.6299787016738222 * c.b);
    return Lab{0.210454268309314 * l + 0.7936177747023054 * m - 0.0040720430116193 * s,
               1.9779985324311684 * l - 2.4285922420485799 * m + 0.450593709617411 * s,
               0.0259040424655478 * l + 0.7827717124575296 * m - 0.8086757549230774 * s};
}

double oklabdistance(const Lab& x, const Lab& y) {
    const double dl = x.L - y.L, da = x.a - y.a, db = x.b - y.b;
    return std::sqrt(dl * dl + da * da + db * db);
}

Rgb8 simulate(Deficiency d, Rgb8 c) {
    const double* m = kMachado[int(d)];
    const Linear v = srgbtolinear(c);
    return Rgb8{lineartosrgb8(m[0] * v.r + m[1] * v.g + m[2] * v.b),
                lineartosrgb8(m[3] * v.r + m[4] * v.g + m[5] * v.b),
                lineartosrgb8(m[6] * v.r + m[7] * v.g + m[8] * v.b)};
}

Rgb8 lightnessgrey(double L) {
    if (!(L > 0)) return Rgb8{0, 0, 0};
    const double x = std::min(L, 1.0) / tables().whitel;
    const uint8_t g = lineartosrgb8(x * x * x);
    return Rgb8{g, g, g};
}

}  // namespace analysis
