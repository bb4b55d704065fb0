// The artwork is told from its backdrop as the programs draw it: blended over
// what the surface holds.
#include "desktop/matte.h"

#include <gtest/gtest.h>

#include <iterator>

#include "shell/raster/paint.h"

namespace {

TEST(Matte, RecoversCoverageAndColourOfBlendedPixels) {
    struct Case {
        shell::Rgb colour;
        double cover;
    };
    const Case cases[] = {{{0, 0, 0}, 0.0},      {{255, 255, 255}, 1.0}, {{0, 0, 0}, 1.0},
                          {{200, 100, 50}, 0.5}, {{255, 128, 0}, 0.25},  {{10, 220, 90}, 0.9}};
    const int n = int(std::size(cases));
    shell::Surface onblack(n, 1), onwhite(n, 1);
    onwhite.fill(shell::Rgb{255, 255, 255});
    for (int x = 0; x < n; ++x) {
        shell::blend(onblack, x, 0, cases[x].colour, cases[x].cover);
        shell::blend(onwhite, x, 0, cases[x].colour, cases[x].cover);
    }
    const desktop::RgbaPicture p = desktop::matte(onblack, onwhite);
    ASSERT_EQ(p.width, n);
    ASSERT_EQ(p.rgba.size(), size_t(n) * 4);
    for (int x = 0; x < n; ++x) {
        const uint8_t* px = &p.rgba[size_t(x) * 4];
        EXPECT_NEAR(px[3], cases[x].cover * 255, 1) << x;
        // A soft edge keeps its colour rather than darkening towards black.
        if (cases[x].cover > 0) {
            EXPECT_NEAR(px[0], cases[x].colour.r, 3) << x;
            EXPECT_NEAR(px[1], cases[x].colour.g, 3) << x;
            EXPECT_NEAR(px[2], cases[x].colour.b, 3) << x;
        }
    }
    EXPECT_TRUE(desktop::matte(onblack, shell::Surface(n, 2)).rgba.empty());
}

}  // namespace
