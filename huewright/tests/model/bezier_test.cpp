// Bezier curves, by family, and the cubic solver.
#include <gtest/gtest.h>

#include <cmath>

#include "huewright/model/model.h"
#include "testutil.h"

using namespace huewright;
using namespace huewright::testutil;
using V = std::vector<int>;

namespace {

// The red start-up record as a Bezier curve of degree bd.
Parameters redbezier(int bd) {
    const Parameters& r = startupparameters[0];
    return bezier(bd, r.b0, r.b255, r.bc1x, r.bc1y, r.bc2x, r.bc2y);
}

// How many entries lie one below their index, and that no entry is off by more.
int onebelow(const V& col) {
    int n = 0;
    for (int i = 0; i < 256; ++i) {
        EXPECT_TRUE(col[i] == i || col[i] == i - 1) << i << ": " << col[i];
        n += col[i] == i - 1;
    }
    return n;
}

}  // namespace

TEST(ModelBezier, RedStartupCubic) {
    V col = column(applied(redbezier(1)), 0);
    EXPECT_EQ(slice(col, 0, 6), (V{128, 129, 130, 131, 132, 133}));
    EXPECT_EQ(slice(col, 62, 4), (V{136, 135, 135, 135}));
    EXPECT_EQ(slice(col, 126, 4), (V{118, 117, 117, 117}));
    EXPECT_EQ(slice(col, 252, 4), (V{121, 123, 125, 128}));
}

TEST(ModelBezier, RedStartupQuadratic) {
    V col = column(applied(redbezier(0)), 0);
    EXPECT_EQ(slice(col, 0, 6), (V{128, 129, 130, 132, 133, 134}));
    EXPECT_EQ(slice(col, 126, 4), (V{151, 151, 151, 150}));
    EXPECT_EQ(slice(col, 252, 4), (V{128, 128, 128, 128}));
}

TEST(ModelBezier, RedStartupCubicStretched) {
    V col = column(applied(redbezier(1), 0, 1), 0);
    EXPECT_EQ(slice(col, 0, 6), (V{128, 130, 133, 135, 137, 139}));
    EXPECT_EQ(slice(col, 126, 4), (V{108, 107, 106, 106}));
    EXPECT_EQ(slice(col, 252, 4), (V{115, 119, 123, 128}));
}

TEST(ModelBezier, CubicSCurves) {
    V s = column(applied(bezier(1, 0, 255, 0, 255, 255, 0)), 0);
    EXPECT_EQ(slice(s, 0, 6), (V{0, 26, 35, 42, 48, 53}));
    EXPECT_EQ(slice(s, 126, 4), (V{127, 127, 127, 127}));
    EXPECT_EQ(slice(s, 252, 4), (V{212, 219, 228, 255}));

    // x(t) is flat at t = 0.5, so the column jumps in the middle.
    V jump = column(applied(bezier(1, 0, 255, 255, 0, 0, 255)), 0);
    EXPECT_EQ(slice(jump, 0, 6), V(6, 0));
    EXPECT_EQ(slice(jump, 126, 4), (V{84, 97, 157, 170}));
}

TEST(ModelBezier, StraightCurvesFallOneBelow) {
    // Controls at x 85 and 170: the cubic coefficient vanishes and x(t) = 255 t.
    V cubic = column(applied(bezier(1, 0, 255, 85, 85, 170, 170)), 0);
    EXPECT_EQ(slice(cubic, 0, 8), (V{0, 1, 2, 3, 4, 4, 6, 7}));
    EXPECT_EQ(onebelow(cubic), 41);

    V quad = column(applied(bezier(0, 0, 255, 128, 128, 200, 0)), 0);
    EXPECT_EQ(slice(quad, 0, 8), (V{0, 1, 2, 2, 3, 4, 6, 6}));
    EXPECT_EQ(onebelow(quad), 36);
}

TEST(ModelBezier, StretchedQuadraticIsClamped) {
    // Control 2 at x 200 pairs control 1 with the start: 2 * 250 - 0 = 500.
    V col = column(applied(bezier(0, 0, 255, 128, 250, 200, 0), 0, 1), 0);
    EXPECT_EQ(slice(col, 0, 8), (V{0, 3, 7, 11, 15, 19, 23, 26}));
    for (int i = 88; i < 256; ++i) EXPECT_EQ(col[i], 255) << i;
    EXPECT_LT(col[87], 255);
    // The pairing of the stretch looks at control 2 even for the quadratic
    // curve: with control 2 left of control 1 the height is 2 * 250 - 255.
    V other = column(applied(bezier(0, 0, 255, 128, 250, 100, 0), 0, 1), 0);
    V plain = column(applied(bezier(0, 0, 255, 128, 245, 100, 0), 0, 0), 0);
    EXPECT_EQ(other, plain);
}

TEST(ModelBezier, EndsAreB0AndB255) {
    // Every family, stretched or not, over a spread of controls.
    const int xs[] = {0, 1, 32, 85, 128, 170, 224, 254, 255};
    const int ys[] = {0, 48, 180, 255};
    for (int bd : {0, 1})
        for (int stretch : {0, 1})
            for (int c1x : xs)
                for (int c2x : xs)
                    for (int y : ys) {
                        const int b0 = (c1x * 7 + y) % 256, b255 = (c2x * 13 + 3 * y) % 256;
                        V col = column(
                            applied(bezier(bd, b0, b255, c1x, y, c2x, 255 - y), 2, stretch), 2);
                        ASSERT_EQ(col[0], b0) << bd << stretch << " " << c1x << " " << c2x;
                        ASSERT_EQ(col[255], b255) << bd << stretch << " " << c1x << " " << c2x;
                    }
}

TEST(ModelBezier, DragValuesJustOutsideTheRangeAreSafe) {
    // The drag step synthesises before the dialog clamps: x -2 or -1, y 256.
    for (int bd : {0, 1})
        for (int x : {-2, -1})
            for (int stretch : {0, 1}) {
                V col = column(applied(bezier(bd, 10, 200, x, 256, 255, 256), 0, stretch), 0);
                EXPECT_EQ(col[0], 10);
                EXPECT_EQ(col[255], 200);
            }
}

TEST(ModelBezier, CubicRootsBranches) {
    // Linear: -c / b.
    EXPECT_EQ(cubicroots(0, 0, 255, -51), 0.2);
    EXPECT_EQ(cubicroots(0, 0, 0, 5), 0.0);
    // Quadratic fallback picks the root in [0, 1]: t^2 - 0.25 = 0.
    EXPECT_EQ(cubicroots(0, 1, 0, -0.25), 0.5);
    // One real root (Cardano): t^3 + t - 2 = 0 has t = 1 only.
    EXPECT_NEAR(cubicroots(1, 0, 1, -2), 1.0, 1e-15);
    // Three real roots (t - 0.25)(t - 2)(t + 3): the one in [0, 1].
    EXPECT_NEAR(cubicroots(1, 0.75, -6.25, 1.5), 0.25, 1e-15);
    // A double root: (t - 0.5)^2 (t + 1) = t^3 - 0.75 t + 0.25.
    EXPECT_NEAR(cubicroots(1, 0, -0.75, 0.25), 0.5, 1e-7);
    EXPECT_EQ(cuberootreal(-27), -cuberootreal(27));
    EXPECT_NEAR(cuberootreal(8), 2.0, 1e-15);
}

TEST(ModelBezier, ShortcutGivesTheRulesColumns) {
    // The cubic's shortcut against the rule step by step, over a grid of
    // control positions that reaches every branch of the solver, stretched and
    // not, with end values that vary with the controls.
    int columns = 0;
    for (int stretch : {0, 1})
        for (int c1x = 0; c1x < 256; c1x += 17)
            for (int c2x = 0; c2x < 256; c2x += 17)
                for (int c1y : {0, 90, 255})
                    for (int c2y : {0, 170, 255}) {
                        const int b0 = (c1x * 7 + c2y) % 256, b255 = (c2x * 11 + c1y) % 256;
                        uint8_t fast[256], rule[256];
                        beziercolumn(1, b0, b255, c1x, c1y, c2x, c2y, stretch, fast, true);
                        beziercolumn(1, b0, b255, c1x, c1y, c2x, c2y, stretch, rule, false);
                        ASSERT_EQ(V(fast, fast + 256), V(rule, rule + 256))
                            << b0 << " " << b255 << " (" << c1x << ", " << c1y << ") (" << c2x
                            << ", " << c2y << ") stretch " << stretch;
                        ++columns;
                    }
    EXPECT_EQ(columns, 2 * 16 * 16 * 9);
    // Curves that are straight lines in disguise (the y controls equal the x
    // controls, or mirror them): every height is mathematically an integer, so
    // every index sits on a truncation edge and only the rule can decide.
    for (int c1x = 0; c1x < 256; c1x += 9)
        for (int c2x = 0; c2x < 256; c2x += 9)
            for (int mirror : {0, 1}) {
                uint8_t fast[256], rule[256];
                const int y1 = mirror ? 255 - c1x : c1x, y2 = mirror ? 255 - c2x : c2x;
                const int b0 = mirror ? 255 : 0, b255 = 255 - b0;
                beziercolumn(1, b0, b255, c1x, y1, c2x, y2, 0, fast, true);
                beziercolumn(1, b0, b255, c1x, y1, c2x, y2, 0, rule, false);
                ASSERT_EQ(V(fast, fast + 256), V(rule, rule + 256))
                    << c1x << " " << c2x << " " << mirror;
            }
    // The columns listed for the cubic, and the drag's values just outside
    // the range, by both routes.
    const int cases[][6] = {{128, 128, 32, 180, 224, 48}, {0, 255, 0, 255, 255, 0},
                            {0, 255, 255, 0, 0, 255},     {0, 255, 85, 85, 170, 170},
                            {10, 200, -2, 256, 255, 256}, {10, 200, 3, 100, -1, 256}};
    for (const auto& c : cases)
        for (int stretch : {0, 1}) {
            uint8_t fast[256], rule[256];
            beziercolumn(1, c[0], c[1], c[2], c[3], c[4], c[5], stretch, fast, true);
            beziercolumn(1, c[0], c[1], c[2], c[3], c[4], c[5], stretch, rule, false);
            EXPECT_EQ(V(fast, fast + 256), V(rule, rule + 256)) << c[2] << " " << c[4];
        }
}
