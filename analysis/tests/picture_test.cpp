// The analysis picture at every width it lays itself out to: strips that are
// the palette, markers at the entries they report, a hard seam shown as
// such, readouts clear of their headings, and updates that leave nothing of
// the previous palette behind.
#include "analysis/picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "huewright/model/model.h"

using namespace analysis;
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

// Every test runs at the preferred width (two columns an entry), at the
// narrowest, between them where entries take one or two columns, and wider.
class PictureTest : public ::testing::TestWithParam<int> {
  protected:
    // One picture per width for all tests: making it loads the font and
    // draws the background, and an update must not depend on a fresh one.
    static Picture& picture() {
        static std::map<int, std::unique_ptr<Picture>> pictures;
        auto& pic = pictures[GetParam()];
        if (!pic) pic = std::make_unique<Picture>(GetParam());
        return *pic;
    }
    static const Layout& L() { return picture().layout(); }
    static Surface drawn(const Palette& p) {
        Surface s(picture().width(), picture().height());
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
        const int base = L().stepbase;
        Bar b;
        while (b.height < base - L().stepbox.top && s.at(x, base - 1 - b.height) == c) ++b.height;
        const int gap = base - 1 - b.height;
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

INSTANTIATE_TEST_SUITE_P(Widths, PictureTest,
                         ::testing::Values(Picture::kWidth, Picture::kMinWidth, 555, 900));

TEST_P(PictureTest, StripsAreThePaletteAndItsSimulations) {
    const Palette p = random(7);
    const Surface s = drawn(p);
    const Analysis& a = picture().analysis();
    const Palette* strips[4] = {&a.protan, &a.deutan, &a.tritan, &a.grey};
    int wrong = 0;
    EXPECT_EQ(L().entryx(0), L().strip.left);
    EXPECT_EQ(L().entryx(256), L().strip.right);
    for (int i = 0; i < 256; ++i) {
        ASSERT_GT(L().entryx(i + 1), L().entryx(i)) << "entry " << i << " has no column";
        for (int x = L().entryx(i); x < L().entryx(i + 1); ++x) {
            for (int y = L().strip.top; y < L().strip.bottom; ++y) wrong += s.at(x, y) != rgb(p[i]);
            for (int k = 0; k < 4; ++k)
                for (int y = L().simstrip(k).top; y < L().simstrip(k).bottom; ++y)
                    wrong += s.at(x, y) != rgb((*strips[k])[i]);
        }
    }
    EXPECT_EQ(wrong, 0);
    // The join shows entry 255 on its left and entry 0 on its right.
    EXPECT_EQ(s.at(L().join.left, L().join.top), rgb(p[255]));
    EXPECT_EQ(s.at(L().join.right - 1, L().join.bottom - 1), rgb(p[0]));
}

TEST_P(PictureTest, FitsItsWidthWithTheReadoutsClearOfTheHeadings) {
    // Everything lies on the picture, whose height is the same at every
    // width, with a margin at the right and at the bottom.
    EXPECT_EQ(picture().width(), std::max(GetParam(), Picture::kMinWidth));
    EXPECT_EQ(picture().height(), Picture::kHeight);
    EXPECT_LE(L().data.bottom, picture().height() - 2);
    EXPECT_LE(L().join.right, picture().width() - 8);
    // Where the widest readouts do not fit beside their heading they go
    // under it; the difference heading is the longer one.
    if (GetParam() >= Picture::kWidth) {
        EXPECT_EQ(L().stepreadouty, L().stepheady);
    }
    if (GetParam() == Picture::kMinWidth) {
        EXPECT_GT(L().stepreadouty, L().stepheady);
    }
    EXPECT_EQ(L().lightreadouty, L().lightheady);
    // No readout pixel shares a column with its heading's text on a line,
    // and none lies beyond the text margin.
    const Surface& back = picture().background();
    for (const Palette& p : {kJump, random(11), startup()}) {
        const Surface s = drawn(p);
        struct Line {
            int heading, readout;
            Rgb colours[2];
        };
        for (const Line& line :
             {Line{L().lightheady, L().lightreadouty, {colours::kMin, colours::kMax}},
              Line{L().stepheady, L().stepreadouty, {colours::kLargest, colours::kSeam}}}) {
            const Rect row{0, line.readout, picture().width(), line.readout + Layout::kCell};
            int headingright = -1;
            for (int y = row.top; y < row.bottom && line.readout == line.heading; ++y)
                for (int x = 0; x < picture().width() / 2; ++x)
                    if (back.at(x, y) != colours::kBack) headingright = std::max(headingright, x);
            for (Rgb c : line.colours) {
                const auto [lo, hi] = columnsof(s, row, c);
                ASSERT_GE(lo, 0);
                EXPECT_GT(lo, headingright + 6);
                EXPECT_LE(hi, picture().width() - Layout::kTextMargin);
            }
        }
    }
}

TEST_P(PictureTest, UpdateLeavesNothingOfTheLastPaletteBehind) {
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

TEST_P(PictureTest, LargestStepIsMarkedAtItsEntries) {
    // The jump between entries 99 and 100 is the only bar in the marker
    // colour, with a pointer right above it; a bar takes the columns from
    // the middle of one entry to the middle of the next.
    const Surface s = drawn(kJump);
    const Analysis& a = picture().analysis();
    ASSERT_EQ(a.largestat, 99);
    const auto [lo, hi] = columnsof(s, L().stepbox, colours::kLargest);
    EXPECT_EQ(lo, L().centre(99) - 3);
    EXPECT_EQ(hi, L().centre(100) - 1 + 3);
    const Bar largest = bar(s, L().centre(99), colours::kLargest);
    EXPECT_TRUE(largest.pointer);
    EXPECT_FALSE(bar(s, L().centre(150), colours::kBar).pointer);
    // Half the steps of the half-slope part repeat an entry: no bar at all.
    EXPECT_EQ(bar(s, L().centre(98), colours::kBar).height, 0);
    EXPECT_EQ(a.step[98], 0);

    // In a random palette every bar stands in proportion to the largest.
    const Surface r = drawn(random(11));
    const Analysis& b = picture().analysis();
    const int full = bar(r, L().centre(b.largestat), colours::kLargest).height;
    int off = 0;
    for (int i = 0; i < 255; ++i) {
        if (i == b.largestat) continue;
        const int h = bar(r, L().centre(i), colours::kBar).height;
        off += std::abs(h - b.step[i] / b.largest * full) > 1.5;
    }
    EXPECT_EQ(off, 0);
}

TEST_P(PictureTest, HardSeamIsMarkedAsABrokenBar) {
    // Black to white: the seam (1.0) is far beyond the steps' scale, so its
    // bar reaches the top with a break in it; a smooth palette's seam is a
    // short whole bar. Both carry a pointer.
    const int mid = (L().seambarleft + L().seambarright) / 2;
    const int span = L().stepbase - L().steptop;
    const Surface ramp = drawn(kRamp);
    EXPECT_NEAR(picture().analysis().seam, 1, 1e-7);
    const Bar broken = bar(ramp, mid, colours::kSeam);
    EXPECT_LT(broken.height, span);
    EXPECT_GT(broken.height, span / 2);
    const auto [top, bottom] = rowsof(ramp, L().seambox, mid, colours::kSeam);
    EXPECT_EQ(top, L().steptop - 5);  // the pointer over a bar of the full scale
    EXPECT_EQ(bottom, L().stepbase - 1);
    // The seam readout is printed in the seam's colour at the right of its
    // line.
    const int w = picture().width();
    const auto [tl, tr] = columnsof(
        ramp, Rect{w / 2, L().stepreadouty, w, L().stepreadouty + Layout::kCell}, colours::kSeam);
    EXPECT_GT(tl, w / 2);
    EXPECT_LE(tr, L().textright);

    const Surface smooth = drawn(startup());
    const Analysis& a = picture().analysis();
    ASSERT_LT(a.seam, a.largest);
    const Bar whole = bar(smooth, mid, colours::kSeam);
    EXPECT_TRUE(whole.pointer);
    EXPECT_GT(whole.height, 0);
    EXPECT_LT(whole.height, span / 2);
}

TEST_P(PictureTest, ExtremesAndCurveSitAtTheirEntries) {
    // The start-up palette has its darkest entry and its brightest inside
    // the plot; the ramp at its two ends. Each marker is drawn around its
    // entry only, and the curve passes through every entry's lightness.
    const int top = L().lighttop, bottom = L().lightbottom;
    for (const Palette& p : {startup(), kRamp}) {
        const Surface s = drawn(p);
        const Analysis& a = picture().analysis();
        for (const auto& [entry, colour] :
             {std::pair{a.darkest, colours::kMin}, std::pair{a.brightest, colours::kMax}}) {
            const auto [lo, hi] = columnsof(s, L().lightbox, colour);
            EXPECT_EQ(lo, L().entryx(entry) - 4) << entry;
            EXPECT_EQ(hi, L().entryx(entry + 1) - 1 + 4) << entry;
        }
        int misses = 0;
        for (int i = 0; i < 256; ++i) {
            // The markers cover the curve near them.
            auto near = [&](int e) { return std::abs(L().centre(i) - L().centre(e)) < 8; };
            if (near(a.darkest) || near(a.brightest)) continue;
            const int y = bottom - int(std::lround(a.lab[i].L * (bottom - top)));
            const auto [t, b] = rowsof(s, L().lightbox, L().centre(i), colours::kCurve);
            misses += !(t <= y && y <= b);
        }
        EXPECT_EQ(misses, 0);
    }
}

}  // namespace
