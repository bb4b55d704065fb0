// The colour maths and the analysis numbers beyond what the comparison with
// culori covers: the fast 8-bit encoding, the grey of a lightness, the
// positions the analysis reports, and locale-proof number printing.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "analysis/analysis.h"
#include "analysis/format.h"

using namespace analysis;

namespace {

// The rounding of an encoded value, done the slow and obvious way: the sRGB
// transfer function, then the nearest byte.
int slowencode(double v) {
    if (!(v > 0)) return 0;
    if (v >= 1) return 255;
    const double encoded = v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return int(std::floor(encoded * 255 + 0.5));
}

TEST(Colour, EncodingMatchesTheTransferFunction) {
    // Every 8-bit value survives the round trip, the neighbours of each
    // rounding step land on the right side, and a dense sweep agrees.
    for (int v = 0; v < 256; ++v) {
        EXPECT_EQ(lineartosrgb8(srgbtolinear(uint8_t(v))), v);
        if (v > 0) {
            const double mid = std::pow(((v - 0.5) / 255 + 0.055) / 1.055, 2.4);
            if ((v - 0.5) / 255 > 0.04045) {
                EXPECT_EQ(lineartosrgb8(mid * (1 + 1e-9)), v);
                EXPECT_EQ(lineartosrgb8(mid * (1 - 1e-9)), v - 1);
            }
        }
    }
    int mismatches = 0;
    for (int k = 0; k <= 200000; ++k) {
        const double v = k / 200000.0;
        mismatches += lineartosrgb8(v) != slowencode(v);
    }
    EXPECT_EQ(mismatches, 0);
    // Out of gamut and NaN clamp rather than wrap.
    EXPECT_EQ(lineartosrgb8(-0.5), 0);
    EXPECT_EQ(lineartosrgb8(1.7), 255);
    EXPECT_EQ(lineartosrgb8(std::nan("")), 0);
}

TEST(Colour, LightnessGreyHasTheLightnessItShows) {
    // A grey's own lightness gives it back, and the grey of any colour has
    // that colour's lightness to within the 8-bit step.
    for (int g = 0; g < 256; ++g) {
        const uint8_t v = uint8_t(g);
        EXPECT_EQ(lightnessgrey(oklab(Rgb8{v, v, v}).L), (Rgb8{v, v, v}));
    }
    const Rgb8 colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {200, 120, 30}};
    for (const Rgb8& c : colours) {
        const double L = oklab(c).L;
        const Rgb8 g = lightnessgrey(L);
        EXPECT_EQ(g[0], g[1]);
        EXPECT_EQ(g[1], g[2]);
        EXPECT_NEAR(oklab(g).L, L, 0.005);
    }
    EXPECT_EQ(lightnessgrey(-0.2), (Rgb8{0, 0, 0}));
    EXPECT_EQ(lightnessgrey(1.3), (Rgb8{255, 255, 255}));
}

TEST(Analysis, ReportsWhereTheExtremesAndTheLargestStepAre) {
    // A grey ramp at half slope up to entry 99 that jumps back onto the full
    // ramp at 100: the darkest is entry 0, the brightest 255, the largest
    // step is the jump, and the seam spans black to white. A constant
    // palette puts every position at the lowest index.
    shell::Palette p{};
    for (int i = 0; i < 256; ++i) {
        const uint8_t v = uint8_t(i < 100 ? i / 2 : i);
        p[i] = {v, v, v};
    }
    const Analysis a = analyse(p);
    EXPECT_EQ(a.darkest, 0);
    EXPECT_EQ(a.brightest, 255);
    EXPECT_DOUBLE_EQ(a.minl, 0);
    EXPECT_NEAR(a.maxl, 1, 1e-7);
    EXPECT_EQ(a.largestat, 99);
    EXPECT_DOUBLE_EQ(a.largest, oklabdistance(a.lab[99], a.lab[100]));
    EXPECT_NEAR(a.seam, 1, 1e-7);
    for (int i = 0; i < 255; ++i) EXPECT_LE(a.step[i], a.largest);

    shell::Palette flat{};
    for (auto& e : flat) e = {40, 90, 160};
    const Analysis f = analyse(flat);
    EXPECT_EQ(f.darkest, 0);
    EXPECT_EQ(f.brightest, 0);
    EXPECT_EQ(f.largestat, 0);
    EXPECT_EQ(f.largest, 0);
    EXPECT_EQ(f.seam, 0);
}

TEST(Format, FixedDecimalsWithAPointInAnyLocale) {
    const struct {
        double v;
        int decimals;
        const char* text;
    } cases[] = {
        {0.48912, 3, "0.489"}, {0.0057, 4, "0.0057"},
        {1, 3, "1.000"},       {0.5, 1, "0.5"},
        {0.0005, 3, "0.001"},  {0.00049, 3, "0.000"},
        {-0.25, 2, "-0.25"},   {-0.0004, 3, "0.000"},
        {12.5, 0, "13"},       {3.14159, 12, "3.141590000"},
        {2e9, 2, "-"},         {std::nan(""), 2, "-"},
    };
    // A locale with a decimal comma, where the machine has one, must not
    // change the point.
    const char* commas[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"};
    for (const char* loc : commas)
        if (std::setlocale(LC_NUMERIC, loc)) break;
    for (const auto& c : cases) EXPECT_EQ(fixed(c.v, c.decimals), c.text) << c.v;
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
