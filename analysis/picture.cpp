#include "picture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "format.h"

namespace analysis {

using shell::Point;
using shell::Rect;
using shell::Rgb;
using shell::Surface;
using namespace layout;
using namespace colours;

namespace {

constexpr Rgb kFrame{78, 81, 90};    // box outlines
constexpr Rgb kGrid{40, 42, 48};     // grid lines inside the boxes
constexpr Rgb kTick{110, 114, 124};  // ticks of the entry axis
constexpr Rgb kText{225, 227, 232};
constexpr Rgb kDimText{165, 169, 178};

// Entry numbers under both plots, each with a tick.
constexpr int kAxisEntries[5] = {0, 64, 128, 192, 255};

// The difference scales the bars may use: the smallest that holds the largest
// neighbour difference is chosen, so the small differences of a smooth palette
// fill the plot and a hard jump still fits. The seam does not take part: a
// palette made to be shown once, such as a ramp, has a seam far larger than
// its steps, and the steps would shrink to nothing. Every half of a scale
// prints exactly with three decimals. A difference a hair above a scale (the
// distance from black to white is 1 give or take rounding) still takes it.
constexpr double kScales[] = {0.002, 0.004, 0.01, 0.02, 0.04, 0.1, 0.2, 0.4, 1, 2, 4};

double stepscale(double largest) {
    for (double s : kScales)
        if (largest <= s * (1 + 1e-9)) return s;
    return kScales[std::size(kScales) - 1];
}

// The row of lightness L in the lightness plot.
int lightrow(double L) {
    const double t = std::clamp(std::isnan(L) ? 0.0 : L, 0.0, 1.0);
    return kLightBottom - int(std::lround(t * (kLightBottom - kLightTop)));
}

// The height in pixels of a bar for difference d on scale `scale`. A
// difference that is not zero shows at least one pixel, so a repeated entry
// (no bar) stands out from a very small step.
int barheight(double d, double scale) {
    if (!(d > 0)) return 0;
    const int span = kStepBase - kStepTop;
    return std::clamp(int(std::lround(d / scale * span)), 1, span);
}

// The top of a text cell whose digits look centred on row y.
int centredtop(int y) {
    return y - 7;
}

void outline(Surface& s, const Rect& r, Rgb c) {
    s.fillrect(Rect{r.left, r.top, r.right, r.top + 1}, c);
    s.fillrect(Rect{r.left, r.bottom - 1, r.right, r.bottom}, c);
    s.fillrect(Rect{r.left, r.top, r.left + 1, r.bottom}, c);
    s.fillrect(Rect{r.right - 1, r.top, r.right, r.bottom}, c);
}

Rect grow(const Rect& r, int d) {
    return Rect{r.left - d, r.top - d, r.right + d, r.bottom + d};
}

// A box of a plot: its inside, and its outline one pixel outside it.
void plotbox(Surface& s, const Rect& r) {
    s.fillrect(r, kPlotBack);
    outline(s, grow(r, 1), kFrame);
}

void hline(Surface& s, int left, int right, int y, Rgb c) {
    s.fillrect(Rect{left, y, right, y + 1}, c);
}

// A row of a marker, kept inside the plot box `clip`: an update restores
// only the boxes, so nothing of a marker may reach their outlines or labels.
void hline(Surface& s, const Rect& clip, int left, int right, int y, Rgb c) {
    s.fillrect(shell::intersect(Rect{left, y, right, y + 1}, clip), c);
}

// A strip of palette colours: entry i fills the two columns from entryx(i),
// on every row of r. The first row is written byte by byte and copied down.
void drawstrip(Surface& s, const Rect& r, const shell::Palette& p) {
    if (!(shell::intersect(r, s.bounds()) == r) || r.width() != 256 * kEntryWidth) return;
    uint8_t* first = s.data() + size_t(r.top) * s.stride() + size_t(r.left) * 3;
    for (int i = 0; i < 256; ++i)
        for (int k = 0; k < kEntryWidth; ++k)
            std::memcpy(first + (i * kEntryWidth + k) * 3, p[i].data(), 3);
    for (int y = r.top + 1; y < r.bottom; ++y)
        std::memcpy(s.data() + size_t(y) * s.stride() + size_t(r.left) * 3, first,
                    size_t(r.width()) * 3);
}

// A filled triangle pointing down at row y, over the columns left ... right
// (inclusive), four rows high, with a one-pixel dark rim.
void pointer(Surface& s, const Rect& clip, int left, int right, int y, Rgb c) {
    for (int k = 0; k < 5; ++k) hline(s, clip, left - k - 1, right + k + 2, y - k, kPlotBack);
    hline(s, clip, left - 5, right + 6, y - 5, kPlotBack);
    for (int k = 0; k < 4; ++k) hline(s, clip, left - k, right + k + 1, y - k, c);
}

// A diamond centred between the columns x and x + 1 on row y, with a dark rim.
void diamond(Surface& s, const Rect& clip, int x, int y, Rgb c) {
    for (int r = 5; r >= 4; --r) {
        const Rgb fill = r == 5 ? kPlotBack : c;
        for (int dy = -r; dy <= r; ++dy) {
            const int w = r - std::abs(dy);
            hline(s, clip, x - w, x + 2 + w, y + dy, fill);
        }
    }
}

// A dotted vertical line in the two columns from x, from row top down to
// (not including) row bottom.
void dotted(Surface& s, int x, int top, int bottom, Rgb c) {
    for (int y = top; y < bottom; ++y)
        if ((y - top) % 4 < 2) hline(s, x, x + 2, y, c);
}

Rgb dim(Rgb c) {
    return Rgb{uint8_t(c.r * 3 / 5), uint8_t(c.g * 3 / 5), uint8_t(c.b * 3 / 5)};
}

}  // namespace

Picture::Picture() : background_(kWidth, kHeight, kBack) {
    drawbackground();
}

void Picture::drawbackground() {
    Surface& s = background_;
    const shell::Font& f = font_;
    auto text = [&](int x, int y, const char* t, Rgb c = kText) { f.draw(s, x, y, t, c); };
    auto right = [&](int x, int y, const std::string& t, Rgb c = kDimText) {
        f.draw(s, x - f.textwidth(t), y, t, c);
    };
    auto centred = [&](int x, int y, const std::string& t, Rgb c = kDimText) {
        f.draw(s, x - f.textwidth(t) / 2, y, t, c);
    };

    // The palette strip and the join of its two ends.
    text(kTextLeft, kStripHeadY, "Palette");
    outline(s, grow(kStrip, 1), kFrame);
    outline(s, grow(kJoin, 1), kFrame);
    centred((kJoin.left + kJoin.right) / 2, kStripHeadY, "wrap");

    // Lightness: grid lines at quarters, labels at 0, 0.5 and 1.
    // Each heading line ends in readouts drawn with the data; they may take
    // the line from a little after the heading to the right edge.
    auto heading = [&](int y, const char* t) {
        text(kTextLeft, y, t);
        return Rect{kTextLeft + f.textwidth(t) + 12, y, kWidth, y + kCell};
    };
    lightreadout_ = heading(kLightHeadY, "OKLab lightness L");
    plotbox(s, kLightBox);
    for (int q = 1; q < 4; ++q) hline(s, kLightBox.left, kLightBox.right, lightrow(q / 4.0), kGrid);
    for (int q = 0; q <= 2; ++q)
        right(kScaleRight, centredtop(lightrow(q / 2.0)), fixed(q / 2.0, 1));

    // Differences: grid lines at half and full scale; the scale's numbers
    // change with the palette and are drawn with the data.
    stepreadout_ = heading(kStepHeadY, "Difference to the next entry (\u0394E OKLab)");
    plotbox(s, kStepBox);
    plotbox(s, kSeamBox);
    const int half = kStepBase - (kStepBase - kStepTop) / 2;
    for (int y : {kStepTop, half}) {
        hline(s, kStepBox.left, kStepBox.right, y, kGrid);
        hline(s, kSeamBox.left, kSeamBox.right, y, kGrid);
    }
    right(kScaleRight, centredtop(kStepBase - 1), "0");
    centred((kSeamBox.left + kSeamBox.right) / 2, kStepBox.bottom + 3, "seam");

    // The entry axis under both plots.
    for (const Rect& box : {kLightBox, kStepBox}) {
        const int y = box.bottom + 1;
        // The end labels stay within the plot's width, clear of the seam's.
        for (int e : kAxisEntries) {
            const int x = entryx(e);
            const std::string t = std::to_string(e);
            s.fillrect(Rect{x, y, x + 2, y + 3}, kTick);
            if (e == 0)
                f.draw(s, x, y + 2, t, kDimText);
            else if (e == 255)
                right(x + 2, y + 2, t);
            else
                centred(x + 1, y + 2, t);
        }
    }

    // The simulated strips.
    static const char* const names[4] = {
        "Protanopia (no red cones)", "Deuteranopia (no green cones)", "Tritanopia (no blue cones)",
        "Lightness only (OKLab L as grey)"};
    for (int k = 0; k < 4; ++k) {
        text(kTextLeft, kSimHeadY[k], names[k]);
        outline(s, grow(simstrip(k), 1), kFrame);
    }
}

void Picture::drawall(Surface& s, const shell::Palette& p) {
    s.blit(0, 0, kWidth, kHeight, background_, 0, 0);
    update(s, p);
}

Rect Picture::update(Surface& s, const shell::Palette& p) {
    analyse(p, analysis_);
    return drawdata(s, p, analysis_);
}

Rect Picture::drawdata(Surface& s, const shell::Palette& p, const Analysis& a) const {
    const shell::Font& f = font_;
    // Puts back the background of r, wiping what the last update drew there.
    auto restore = [&](const Rect& r) {
        s.blit(r.left, r.top, r.width(), r.height(), background_, r.left, r.top);
    };
    // Draws t ending at x; returns where it starts.
    auto right = [&](int x, int y, const std::string& t, Rgb c) {
        const int left = x - f.textwidth(t);
        f.draw(s, left, y, t, c);
        return left;
    };

    // The strips.
    drawstrip(s, kStrip, p);
    const Rect join = kJoin;
    const int mid = (join.left + join.right) / 2;
    s.fillrect(Rect{join.left, join.top, mid, join.bottom}, Rgb{p[255][0], p[255][1], p[255][2]});
    s.fillrect(Rect{mid, join.top, join.right, join.bottom}, Rgb{p[0][0], p[0][1], p[0][2]});
    const shell::Palette* sims[4] = {&a.protan, &a.deutan, &a.tritan, &a.grey};
    for (int k = 0; k < 4; ++k) drawstrip(s, simstrip(k), *sims[k]);

    // Lightness: the readout, the curve, then the extremes over it.
    restore(lightreadout_);
    int x = right(kTextRight, kLightHeadY,
                  "max " + fixed(a.maxl, 3) + " at " + std::to_string(a.brightest), kMax);
    right(x - 18, kLightHeadY, "min " + fixed(a.minl, 3) + " at " + std::to_string(a.darkest),
          kMin);

    restore(kLightBox);
    Point pts[257];
    for (int i = 0; i < 256; ++i) pts[i] = Point{entryx(i) + 1, lightrow(a.lab[i].L)};
    pts[256] = Point{entryx(255) + 2, pts[255].y};
    s.polyline(pts, 257, kCurve, 2);
    // The darkest is drawn last: where both are one entry (a palette of one
    // colour), it wins.
    for (int e : {a.brightest, a.darkest}) {
        const Rgb c = e == a.darkest ? kMin : kMax;
        const int y = lightrow(a.lab[e].L);
        dotted(s, entryx(e), y + 6, kLightBox.bottom, dim(c));
        diamond(s, kLightBox, entryx(e), y, c);
    }

    // Differences: readouts, scale, bars, the largest and the seam marked.
    restore(stepreadout_);
    x = right(kTextRight, kStepHeadY, "seam " + fixed(a.seam, 4), kSeam);
    right(x - 18, kStepHeadY,
          "largest " + fixed(a.largest, 4) + " at " + std::to_string(a.largestat) + "\u2013" +
              std::to_string(a.largestat + 1),
          kLargest);

    const double scale = stepscale(a.largest);
    restore(kStepScale);
    const int half = kStepBase - (kStepBase - kStepTop) / 2;
    right(kScaleRight, centredtop(kStepTop), fixed(scale, 3), kDimText);
    right(kScaleRight, centredtop(half), fixed(scale / 2, 3), kDimText);

    restore(kStepBox);
    for (int i = 0; i < 255; ++i) {
        const int h = barheight(a.step[i], scale);
        s.fillrect(Rect{stepx(i), kStepBase - h, stepx(i) + 2, kStepBase},
                   i == a.largestat ? kLargest : kBar);
    }
    const int lh = barheight(a.largest, scale);
    if (lh > 0)
        pointer(s, kStepBox, stepx(a.largestat), stepx(a.largestat) + 1, kStepBase - lh - 2,
                kLargest);

    restore(kSeamBox);
    const int sh = barheight(a.seam, scale);
    s.fillrect(Rect{kSeamBarLeft, kStepBase - sh, kSeamBarRight, kStepBase}, kSeam);
    // A seam beyond the scale is drawn to the top with a gap across it, as a
    // broken bar; its value is in the readout.
    if (a.seam > scale * (1 + 1e-9))
        s.fillrect(Rect{kSeamBarLeft, kStepTop + 8, kSeamBarRight, kStepTop + 11}, kPlotBack);
    if (sh > 0) {
        const int c = (kSeamBarLeft + kSeamBarRight) / 2;
        pointer(s, kSeamBox, c - 1, c, kStepBase - sh - 2, kSeam);
    }
    return kData;
}

}  // namespace analysis
