// The analysis picture: strips that are the palette, markers at the entries
// they report, a hard seam shown as such, and updates that leave nothing of
// the previous palette behind.
#include "analysis/picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "huewright/model/model.h"

using namespace analysis;
using namespace analysis::layout;
using shell::Palette;
using shell::Rect;
using shell::Rgb;
using shell::Surface;

namespace {

Rgb rgb(const std::array<uint8_t, 3>& e) {
    return Rgb{e[0], e[1], e[2]};
}

Palette grey(int (*value)(int)) {
    Palette p{};
    for (int i = 0; i < 256; ++i) {
        const uint8_t v = uint8_t(value(i));
        p[i] = {v, v, v};
    }
    return p;
}

// Black to white: the darkest and brightest entries sit at the plot's
// corners, and the seam jumps from white back to black.
const Palette kRamp = grey([](int i) { return i; });
// A ramp at half slope that jumps onto the full ramp at entry 100.
const Palette kJump = grey([](int i) { return i < 100 ? i / 2 : i; });

Palette startup() {
    huewright::Model m;
    m.startuppalette();
    return m.palette;
}

Palette random(unsigned seed) {
    Palette p{};
    std::mt19937 gen(seed);
    for (auto& e : p) e = {uint8_t(gen()), uint8_t(gen()), uint8_t(gen())};
    return p;
}

class PictureTest : public ::testing::Test {
  protected:
    // One picture for all tests: making it loads the font and draws the
    // background, and an update must not depend on a fresh one.
    static Picture& picture() {
        static Picture pic;
        return pic;
    }
    static Surface drawn(const Palette& p) {
        Surface s(Picture::kWidth, Picture::kHeight);
        picture().drawall(s, p);
        return s;
    }
    // The columns of r holding colour c, as the leftmost and rightmost (-1
    // when none does).
    static std::pair<int, int> columnsof(const Surface& s, const Rect& r, Rgb c) {
        int lo = -1, hi = -1;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (s.at(x, y) == c) {
                    if (lo < 0 || x < lo) lo = x;
                    hi = std::max(hi, x);
                }
        return {lo, hi};
    }
    // A bar in column x: how many rows of colour c stand on the base, and
    // whether a pointer (a gap row, then four rows of c) sits on top.
    struct Bar {
        int height = 0;
        bool pointer = false;
    };
    static Bar bar(const Surface& s, int x, Rgb c) {
        Bar b;
        while (b.height < kStepBase - kStepBox.top && s.at(x, kStepBase - 1 - b.height) == c)
            ++b.height;
        const int gap = kStepBase - 1 - b.height;
        b.pointer = s.at(x, gap) != c;
        for (int k = 1; k <= 4; ++k) b.pointer = b.pointer && s.at(x, gap - k) == c;
        return b;
    }
    // The rows of column x within r holding colour c, top and bottom.
    static std::pair<int, int> rowsof(const Surface& s, const Rect& r, int x, Rgb c) {
        int lo = -1, hi = -1;
        for (int y = r.top; y < r.bottom; ++y)
            if (s.at(x, y) == c) {
                if (lo < 0) lo = y;
                hi = y;
            }
        return {lo, hi};
    }
};

TEST_F(PictureTest, StripsAreThePaletteAndItsSimulations) {
    const Palette p = random(7);
    const Surface s = drawn(p);
    const Analysis& a = picture().analysis();
    const Palette* strips[4] = {&a.protan, &a.deutan, &a.tritan, &a.grey};
    int wrong = 0;
    for (int i = 0; i < 256; ++i)
        for (int dx = 0; dx < kEntryWidth; ++dx) {
            const int x = entryx(i) + dx;
            for (int y = kStrip.top; y < kStrip.bottom; ++y) wrong += s.at(x, y) != rgb(p[i]);
            for (int k = 0; k < 4; ++k)
                for (int y = simstrip(k).top; y < simstrip(k).bottom; ++y)
                    wrong += s.at(x, y) != rgb((*strips[k])[i]);
        }
    EXPECT_EQ(wrong, 0);
    // The join shows entry 255 on its left and entry 0 on its right.
    EXPECT_EQ(s.at(kJoin.left, kJoin.top), rgb(p[255]));
    EXPECT_EQ(s.at(kJoin.right - 1, kJoin.bottom - 1), rgb(p[0]));
}

TEST_F(PictureTest, UpdateLeavesNothingOfTheLastPaletteBehind) {
    // Markers at the plot corners, markers in the middle, a random palette
    // with tall bars, one colour (no bars, both extremes at one entry).
    Palette flat{};
    for (auto& e : flat) e = {90, 140, 60};
    const std::vector<Palette> sequence = {
        startup(), kRamp, random(3), kJump, flat, grey([](int i) { return 255 - i; }), startup()};
    Surface s = drawn(sequence[0]);
    for (size_t k = 1; k < sequence.size(); ++k) {
        SCOPED_TRACE(k);
        const Surface before = s;
        const Rect changed = picture().update(s, sequence[k]);
        const Surface want = drawn(sequence[k]);
        int stale = 0, outside = 0;
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x) {
                stale += s.at(x, y) != want.at(x, y);
                outside += s.at(x, y) != before.at(x, y) && !changed.contains(x, y);
            }
        EXPECT_EQ(stale, 0);
        EXPECT_EQ(outside, 0);
    }
}

TEST_F(PictureTest, LargestStepIsMarkedAtItsEntries) {
    // The jump between entries 99 and 100 is the only bar in the marker
    // colour, with a pointer right above it.
    const Surface s = drawn(kJump);
    const Analysis& a = picture().analysis();
    ASSERT_EQ(a.largestat, 99);
    const auto [lo, hi] = columnsof(s, kStepBox, colours::kLargest);
    EXPECT_EQ(lo, stepx(99) - 3);
    EXPECT_EQ(hi, stepx(99) + 1 + 3);
    const Bar largest = bar(s, stepx(99), colours::kLargest);
    EXPECT_TRUE(largest.pointer);
    EXPECT_FALSE(bar(s, stepx(150), colours::kBar).pointer);
    // Half the steps of the half-slope part repeat an entry: no bar at all.
    EXPECT_EQ(bar(s, stepx(98), colours::kBar).height, 0);
    EXPECT_EQ(a.step[98], 0);

    // In a random palette every bar stands in proportion to the largest.
    const Surface r = drawn(random(11));
    const Analysis& b = picture().analysis();
    const int full = bar(r, stepx(b.largestat), colours::kLargest).height;
    int off = 0;
    for (int i = 0; i < 255; ++i) {
        if (i == b.largestat) continue;
        const int h = bar(r, stepx(i), colours::kBar).height;
        off += std::abs(h - b.step[i] / b.largest * full) > 1.5;
    }
    EXPECT_EQ(off, 0);
}

TEST_F(PictureTest, HardSeamIsMarkedAsABrokenBar) {
    // Black to white: the seam (1.0) is far beyond the steps' scale, so its
    // bar reaches the top with a break in it; a smooth palette's seam is a
    // short whole bar. Both carry a pointer.
    const int mid = (kSeamBarLeft + kSeamBarRight) / 2;
    const Surface ramp = drawn(kRamp);
    EXPECT_NEAR(picture().analysis().seam, 1, 1e-7);
    const Bar broken = bar(ramp, mid, colours::kSeam);
    EXPECT_LT(broken.height, kStepBase - kStepTop);
    EXPECT_GT(broken.height, (kStepBase - kStepTop) / 2);
    const auto [top, bottom] = rowsof(ramp, kSeamBox, mid, colours::kSeam);
    EXPECT_EQ(top, kStepTop - 5);  // the pointer over a bar of the full scale
    EXPECT_EQ(bottom, kStepBase - 1);
    // The seam readout is printed in the seam's colour at the right of the
    // heading line.
    const auto [tl, tr] =
        columnsof(ramp, Rect{kWidth / 2, kStepHeadY, kWidth, kStepHeadY + kCell}, colours::kSeam);
    EXPECT_GT(tl, kWidth / 2);
    EXPECT_LE(tr, kTextRight);

    const Surface smooth = drawn(startup());
    const Analysis& a = picture().analysis();
    ASSERT_LT(a.seam, a.largest);
    const Bar whole = bar(smooth, mid, colours::kSeam);
    EXPECT_TRUE(whole.pointer);
    EXPECT_GT(whole.height, 0);
    EXPECT_LT(whole.height, (kStepBase - kStepTop) / 2);
}

TEST_F(PictureTest, ExtremesAndCurveSitAtTheirEntries) {
    // The start-up palette has its darkest entry and its brightest inside
    // the plot; the ramp at its two ends. Each marker is drawn around its
    // entry only, and the curve passes through every entry's lightness.
    for (const Palette& p : {startup(), kRamp}) {
        const Surface s = drawn(p);
        const Analysis& a = picture().analysis();
        for (const auto& [entry, colour] :
             {std::pair{a.darkest, colours::kMin}, std::pair{a.brightest, colours::kMax}}) {
            const auto [lo, hi] = columnsof(s, kLightBox, colour);
            EXPECT_EQ(lo, entryx(entry) - 4) << entry;
            EXPECT_EQ(hi, entryx(entry) + 1 + 4) << entry;
        }
        int misses = 0;
        for (int i = 0; i < 256; ++i) {
            if (std::abs(i - a.darkest) < 4 || std::abs(i - a.brightest) < 4) continue;
            const int y = kLightBottom - int(std::lround(a.lab[i].L * (kLightBottom - kLightTop)));
            const auto [top, bottom] = rowsof(s, kLightBox, entryx(i) + 1, colours::kCurve);
            misses += !(top <= y && y <= bottom);
        }
        EXPECT_EQ(misses, 0);
    }
}

}  // namespace
