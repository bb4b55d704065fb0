// The Mandelbrot preview: its sample points, their colours and the picture.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "explore/rule.h"
#include "huewright/model/model.h"
#include "huewright/preview/preview.h"

using namespace huewright;
using shell::Rgb;

namespace {

// A palette whose every entry is a distinct colour, so a pixel tells its entry.
Model numbered() {
    Model m;
    for (int i = 0; i < 256; ++i) m.palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i ^ 0x5a)};
    return m;
}

Rgb entry(const Model& m, int k) {
    return Rgb{m.palette[k][0], m.palette[k][1], m.palette[k][2]};
}

const Rgb kBackground{1, 2, 3};
// Where the window puts the picture's top-left point.
constexpr shell::Point kOrigin{500, 145};

}  // namespace

TEST(ModelMset, SamplePoints) {
    MsetPoint origin = msetpoint(0, 0);  // c = -1.547 + 0.399i
    EXPECT_TRUE(origin.escaped);
    MsetPoint disc = msetpoint(128, 128);  // inside the period-2 disc, angle just below 2 pi
    EXPECT_FALSE(disc.escaped);
    EXPECT_EQ(disc.iterations, 512);
    EXPECT_EQ(disc.index, 1);
    // Its final angle is just below 2 pi: 255 before the modulo, not 0.
    double angle = static_cast<double>(atan2l(disc.zy, disc.zx));
    ASSERT_LT(angle, 0);
    angle = static_cast<double>(angle + 6.283185307179586L);
    EXPECT_EQ(static_cast<int>(angle * 256.0L * 0.15915494309189535), 255);
    EXPECT_EQ(msetpoint(240, 128).index, 129);
    EXPECT_EQ(msetpoint(230, 100).index, 155);
    EXPECT_FALSE(msetpoint(240, 128).escaped);
}

TEST(ModelMset, PictureColoursAndColumns) {
    Model m = numbered();
    shell::Surface s(800, 640, kBackground);
    std::vector<int> rows;
    mset(m.palette, s, kOrigin, [&](int j) { rows.push_back(j); });
    ASSERT_EQ(rows.size(), 257u);
    for (int j = 0; j < 257; ++j) EXPECT_EQ(rows[j], j);

    EXPECT_EQ(s.at(501, 145), (Rgb{24, 24, 24}));  // escaped point (0, 0), one column right
    EXPECT_EQ(s.at(628, 273), entry(m, 1));        // (128, 128): entry 1
    EXPECT_EQ(s.at(740, 273), entry(m, 129));      // (240, 128)
    EXPECT_EQ(s.at(730, 245), entry(m, 155));      // (230, 100)

    // Every pixel is what the one-point rule says, given the order in which a
    // row is drawn: point i - 1 if escaped writes x = 500 + i, then point i
    // writes it if it is in the set. Entry 0 is never used.
    int inside = 0, escaped = 0;
    for (int j = 0; j < 257; ++j) {
        std::vector<MsetPoint> r(257);
        for (int i = 0; i < 257; ++i) r[i] = msetpoint(i, j);
        for (int x = 490; x < 770; ++x) {
            const int i = x - 500;
            Rgb want = kBackground;
            if (i >= 1 && i <= 257 && r[i - 1].escaped) want = Rgb{24, 24, 24};
            if (i >= 0 && i <= 256 && !r[i].escaped) {
                ASSERT_GE(r[i].index, 1);
                ASSERT_LE(r[i].index, 255);
                want = entry(m, r[i].index);
            }
            ASSERT_EQ(s.at(x, 145 + j), want) << x << "," << 145 + j;
        }
        for (const MsetPoint& p : r) (p.escaped ? escaped : inside)++;
    }
    EXPECT_GT(inside, 1000);
    EXPECT_GT(escaped, 1000);
    // Nothing outside the rows 145 ... 401 is touched.
    for (int x = 480; x < 780; ++x) {
        EXPECT_EQ(s.at(x, 144), kBackground);
        EXPECT_EQ(s.at(x, 402), kBackground);
    }
}

TEST(ModelMset, TwoThreadsGiveTheSamePicture) {
    Model m = numbered();
    shell::Surface one(800, 640, kBackground), two(800, 640, kBackground);
    mset(m.palette, one, kOrigin, {}, 1);
    std::vector<int> rows;
    mset(
        m.palette, two, kOrigin, [&](int j) { rows.push_back(j); }, 2);
    ASSERT_EQ(rows.size(), 257u);
    for (int j = 0; j < 257; ++j) EXPECT_EQ(rows[j], j);
    EXPECT_TRUE(std::equal(one.data(), one.data() + one.stride() * one.height(), two.data()));
}

TEST(ModelMset, RowsAreCompleteWhenShown) {
    // When row j is reported, rows 0 ... j are final and no later row is drawn.
    Model m = numbered();
    shell::Surface ref(800, 640, kBackground), s(800, 640, kBackground);
    mset(m.palette, ref, kOrigin, {}, 1);
    mset(m.palette, s, kOrigin, [&](int j) {
        for (int y = 145; y < 145 + 257; ++y)
            for (int x = 500; x < 758; ++x)
                ASSERT_EQ(s.at(x, y), y <= 145 + j ? ref.at(x, y) : kBackground) << j;
    });
}

TEST(ModelMset, KernelsGiveTheRulesEntries) {
    // Every point of the picture, by every kernel.
    std::vector<uint8_t> rule(257), lanes(257), best(257);
    for (int j = 0; j < 257; ++j) {
        msetrow(j, rule.data(), MsetKernel::rule);
        msetrow(j, lanes.data(), MsetKernel::lanes);
        msetrow(j, best.data(), MsetKernel::best);
        ASSERT_EQ(lanes, rule) << "row " << j;
        ASSERT_EQ(best, rule) << "row " << j;
        for (int i = 0; i < 257; ++i) EXPECT_EQ(rule[i], msetpoint(i, j).index);
    }
}

TEST(ModelMset, MirroredRowsAreConjugates) {
    // The preview takes a lower row from its mirror image above where their
    // imaginary parts are exact negatives: check that there are such rows and
    // that, point by point, the rule agrees with the mirror.
    int pairs = 0;
    for (int j = 129; j < 257; ++j) {
        if (explore::latticecy(j) != -explore::latticecy(257 - j)) continue;
        ++pairs;
        for (int i = 0; i < 257; i += 4) {
            const MsetPoint lower = msetpoint(i, j), upper = msetpoint(i, 257 - j);
            ASSERT_EQ(lower.escaped, upper.escaped) << i << "," << j;
            ASSERT_EQ(lower.iterations, upper.iterations) << i << "," << j;
            if (!upper.escaped) {
                EXPECT_EQ(lower.zx, upper.zx);
                EXPECT_EQ(lower.zy, -upper.zy);
            }
        }
    }
    EXPECT_EQ(pairs, 70);
}
