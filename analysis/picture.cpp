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
using namespace colours;

namespace {

constexpr Rgb kFrame{78, 81, 90};    // box outlines
constexpr Rgb kGrid{40, 42, 48};     // grid lines inside the boxes
constexpr Rgb kTick{110, 114, 124};  // ticks of the entry axis
constexpr Rgb kText{225, 227, 232};
constexpr Rgb kDimText{165, 169, 178};

constexpr int kCell = Layout::kCell, kTextLeft = Layout::kTextLeft;

// Entry numbers under both plots, each with a tick.
constexpr int kAxisEntries[5] = {0, 64, 128, 192, 255};

// Space between a heading and the readouts beside it, and between two
// readouts on one line.
constexpr int kHeadingGap = 12, kReadoutGap = 18;

// The widest the readouts of each heading line can be: numbers print with a
// fixed count of decimals in digits of one width, and entries have at most
// three digits.
constexpr const char* kWidestLight[2] = {"min 0.000 at 255", "max 1.000 at 255"};
constexpr const char* kWidestStep[2] = {"largest 0.0000 at 254\u2013255", "seam 0.0000"};
constexpr const char* kLightHeading = "OKLab lightness L";
constexpr const char* kStepHeading = "Difference to the next entry (\u0394E OKLab)";

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
int lightrow(const Layout& l, double L) {
    const double t = std::clamp(std::isnan(L) ? 0.0 : L, 0.0, 1.0);
    return l.lightbottom - int(std::lround(t * (l.lightbottom - l.lighttop)));
}

// The height in pixels of a bar for difference d on scale `scale`. A
// difference that is not zero shows at least one pixel, so a repeated entry
// (no bar) stands out from a very small step.
int barheight(const Layout& l, double d, double scale) {
    if (!(d > 0)) return 0;
    const int span = l.stepbase - l.steptop;
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

// A strip of palette colours on the rows of r: entry i fills its columns.
// The first row is written byte by byte and copied down.
void drawstrip(Surface& s, const Layout& l, const Rect& r, const shell::Palette& p) {
    if (!(shell::intersect(r, s.bounds()) == r) || r.left != l.plotleft || r.right != l.plotright)
        return;
    // The rows and columns are device pixels: an entry's logical columns are
    // the scale times as many.
    const Rect d = s.todevice(r);
    const int n = s.scale();
    uint8_t* first = s.row(d.top);
    for (int i = 0; i < 256; ++i)
        for (int x = l.entryx(i) * n; x < l.entryx(i + 1) * n; ++x)
            std::memcpy(first + size_t(x) * 3, p[i].data(), 3);
    for (int y = d.top + 1; y < d.bottom; ++y)
        std::memcpy(s.row(y) + size_t(d.left) * 3, first + size_t(d.left) * 3,
                    size_t(d.width()) * 3);
}

// A filled triangle pointing down at row y, over the columns left ... right
// (inclusive), four rows high, with a one-pixel dark rim.
void pointer(Surface& s, const Rect& clip, int left, int right, int y, Rgb c) {
    for (int k = 0; k < 5; ++k) hline(s, clip, left - k - 1, right + k + 2, y - k, kPlotBack);
    hline(s, clip, left - 5, right + 6, y - 5, kPlotBack);
    for (int k = 0; k < 4; ++k) hline(s, clip, left - k, right + k + 1, y - k, c);
}

// A diamond over the columns left ... right (inclusive) centred on row y,
// with a dark rim.
void diamond(Surface& s, const Rect& clip, int left, int right, int y, Rgb c) {
    for (int r = 5; r >= 4; --r) {
        const Rgb fill = r == 5 ? kPlotBack : c;
        for (int dy = -r; dy <= r; ++dy) {
            const int w = r - std::abs(dy);
            hline(s, clip, left - w, right + 1 + w, y + dy, fill);
        }
    }
}

// A dotted vertical line over the columns left ... right - 1, from row top
// down to (not including) row bottom.
void dotted(Surface& s, int left, int right, int top, int bottom, Rgb c) {
    for (int y = top; y < bottom; ++y)
        if ((y - top) % 4 < 2) hline(s, left, right, y, c);
}

Rgb dim(Rgb c) {
    return Rgb{uint8_t(c.r * 3 / 5), uint8_t(c.g * 3 / 5), uint8_t(c.b * 3 / 5)};
}

}  // namespace

Picture::Picture(int width, int scale) : scale_(std::clamp(scale, 1, shell::Surface::kMaxScale)) {
    setwidth(width);
}

void Picture::setwidth(int width) {
    // A heading keeps its readouts on its own line where the widest of them
    // fit there.
    const shell::Font& f = font_;
    auto beside = [&](const char* heading, const char* const(&readouts)[2]) {
        const int need = kTextLeft + f.textwidth(heading) + kHeadingGap + f.textwidth(readouts[0]) +
                         kReadoutGap + f.textwidth(readouts[1]);
        return need <= std::max(width, Layout::kMinWidth) - Layout::kTextMargin;
    };
    layout_ = Layout(width, beside(kLightHeading, kWidestLight), beside(kStepHeading, kWidestStep));
    background_ = Surface(layout_.width, layout_.height, kBack, scale_);
    drawbackground();
}

void Picture::drawbackground() {
    Surface& s = background_;
    const Layout& l = layout_;
    const shell::Font& f = font_;
    auto text = [&](int x, int y, const char* t, Rgb c = kText) { f.draw(s, x, y, t, c); };
    auto right = [&](int x, int y, const std::string& t, Rgb c = kDimText) {
        f.draw(s, x - f.textwidth(t), y, t, c);
    };
    auto centred = [&](int x, int y, const std::string& t, Rgb c = kDimText) {
        f.draw(s, x - f.textwidth(t) / 2, y, t, c);
    };

    // The palette strip and the join of its two ends.
    text(kTextLeft, l.stripheady, "Palette");
    outline(s, grow(l.strip, 1), kFrame);
    outline(s, grow(l.join, 1), kFrame);
    centred((l.join.left + l.join.right) / 2, l.stripheady, "wrap");

    // Lightness: grid lines at quarters, labels at 0, 0.5 and 1.
    // Each heading's readouts are drawn with the data: beside the heading
    // they may take its line from a little after it to the right edge,
    // under it the whole of their own line.
    auto heading = [&](int y, int readouty, const char* t) {
        text(kTextLeft, y, t);
        const int left = readouty == y ? kTextLeft + f.textwidth(t) + kHeadingGap : 0;
        return Rect{left, readouty, l.width, readouty + kCell};
    };
    lightreadout_ = heading(l.lightheady, l.lightreadouty, kLightHeading);
    plotbox(s, l.lightbox);
    for (int q = 1; q < 4; ++q)
        hline(s, l.lightbox.left, l.lightbox.right, lightrow(l, q / 4.0), kGrid);
    for (int q = 0; q <= 2; ++q)
        right(l.scaleright, centredtop(lightrow(l, q / 2.0)), fixed(q / 2.0, 1));

    // Differences: grid lines at half and full scale; the scale's numbers
    // change with the palette and are drawn with the data.
    stepreadout_ = heading(l.stepheady, l.stepreadouty, kStepHeading);
    plotbox(s, l.stepbox);
    plotbox(s, l.seambox);
    const int half = l.stepbase - (l.stepbase - l.steptop) / 2;
    for (int y : {l.steptop, half}) {
        hline(s, l.stepbox.left, l.stepbox.right, y, kGrid);
        hline(s, l.seambox.left, l.seambox.right, y, kGrid);
    }
    right(l.scaleright, centredtop(l.stepbase - 1), "0");
    centred((l.seambox.left + l.seambox.right) / 2, l.stepbox.bottom + 3, "seam");

    // The entry axis under both plots.
    for (const Rect& box : {l.lightbox, l.stepbox}) {
        const int y = box.bottom + 1;
        // The end labels stay within the plot's width, clear of the seam's.
        for (int e : kAxisEntries) {
            const int x = l.entryx(e), xr = l.entryx(e + 1);
            const std::string t = std::to_string(e);
            s.fillrect(Rect{x, y, xr, y + 3}, kTick);
            if (e == 0)
                f.draw(s, x, y + 2, t, kDimText);
            else if (e == 255)
                right(xr, y + 2, t);
            else
                centred(l.centre(e), y + 2, t);
        }
    }

    // The simulated strips.
    static const char* const names[4] = {
        "Protanopia (no red cones)", "Deuteranopia (no green cones)", "Tritanopia (no blue cones)",
        "Lightness only (OKLab L as grey)"};
    for (int k = 0; k < 4; ++k) {
        text(kTextLeft, l.simheady[k], names[k]);
        outline(s, grow(l.simstrip(k), 1), kFrame);
    }
}

void Picture::drawall(Surface& s, const shell::Palette& p) {
    s.blit(0, 0, layout_.width, layout_.height, background_, 0, 0);
    update(s, p);
}

Rect Picture::update(Surface& s, const shell::Palette& p) {
    analyse(p, analysis_);
    return drawdata(s, p, analysis_);
}

Rect Picture::drawdata(Surface& s, const shell::Palette& p, const Analysis& a) const {
    const Layout& l = layout_;
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
    drawstrip(s, l, l.strip, p);
    const Rect join = l.join;
    const int mid = (join.left + join.right) / 2;
    s.fillrect(Rect{join.left, join.top, mid, join.bottom}, Rgb{p[255][0], p[255][1], p[255][2]});
    s.fillrect(Rect{mid, join.top, join.right, join.bottom}, Rgb{p[0][0], p[0][1], p[0][2]});
    const shell::Palette* sims[4] = {&a.protan, &a.deutan, &a.tritan, &a.grey};
    for (int k = 0; k < 4; ++k) drawstrip(s, l, l.simstrip(k), *sims[k]);

    // Lightness: the readout, the curve, then the extremes over it.
    restore(lightreadout_);
    int x = right(l.textright, l.lightreadouty,
                  "max " + fixed(a.maxl, 3) + " at " + std::to_string(a.brightest), kMax);
    right(x - kReadoutGap, l.lightreadouty,
          "min " + fixed(a.minl, 3) + " at " + std::to_string(a.darkest), kMin);

    restore(l.lightbox);
    // The 2-pixel pen covers the column left of each point too; the last
    // point is repeated at the plot's end, so the curve reaches it.
    Point pts[257];
    for (int i = 0; i < 256; ++i) pts[i] = Point{l.centre(i), lightrow(l, a.lab[i].L)};
    pts[256] = Point{l.entryx(256), pts[255].y};
    s.polyline(pts, 257, kCurve, 2);
    // The darkest is drawn last: where both are one entry (a palette of one
    // colour), it wins.
    for (int e : {a.brightest, a.darkest}) {
        const Rgb c = e == a.darkest ? kMin : kMax;
        const int y = lightrow(l, a.lab[e].L);
        dotted(s, l.entryx(e), l.entryx(e + 1), y + 6, l.lightbox.bottom, dim(c));
        diamond(s, l.lightbox, l.entryx(e), l.entryx(e + 1) - 1, y, c);
    }

    // Differences: readouts, scale, bars, the largest and the seam marked.
    restore(stepreadout_);
    x = right(l.textright, l.stepreadouty, "seam " + fixed(a.seam, 4), kSeam);
    right(x - kReadoutGap, l.stepreadouty,
          "largest " + fixed(a.largest, 4) + " at " + std::to_string(a.largestat) + "\u2013" +
              std::to_string(a.largestat + 1),
          kLargest);

    const double scale = stepscale(a.largest);
    restore(l.stepscale);
    const int half = l.stepbase - (l.stepbase - l.steptop) / 2;
    right(l.scaleright, centredtop(l.steptop), fixed(scale, 3), kDimText);
    right(l.scaleright, centredtop(half), fixed(scale / 2, 3), kDimText);

    restore(l.stepbox);
    for (int i = 0; i < 255; ++i) {
        const int h = barheight(l, a.step[i], scale);
        s.fillrect(Rect{l.centre(i), l.stepbase - h, l.centre(i + 1), l.stepbase},
                   i == a.largestat ? kLargest : kBar);
    }
    const int lh = barheight(l, a.largest, scale);
    if (lh > 0)
        pointer(s, l.stepbox, l.centre(a.largestat), l.centre(a.largestat + 1) - 1,
                l.stepbase - lh - 2, kLargest);

    restore(l.seambox);
    const int sh = barheight(l, a.seam, scale);
    s.fillrect(Rect{l.seambarleft, l.stepbase - sh, l.seambarright, l.stepbase}, kSeam);
    // A seam beyond the scale is drawn to the top with a gap across it, as a
    // broken bar; its value is in the readout.
    if (a.seam > scale * (1 + 1e-9))
        s.fillrect(Rect{l.seambarleft, l.steptop + 8, l.seambarright, l.steptop + 11}, kPlotBack);
    if (sh > 0) {
        const int c = (l.seambarleft + l.seambarright) / 2;
        pointer(s, l.seambox, c - 1, c, l.stepbase - sh - 2, kSeam);
    }
    return l.data;
}

}  // namespace analysis
