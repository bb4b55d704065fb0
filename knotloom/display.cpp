#include "display.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "artwork.h"
#include "layout.h"
#include "shell/raster/paint.h"

namespace knotloom {

using shell::Point;
using shell::Rect;
using shell::Rgb;
using shell::Surface;

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kMarginGreen{0, 40, 24};
constexpr Rgb kGridGrey{192, 192, 192};
constexpr Rgb kPolygonPurple{128, 72, 128};
constexpr Rgb kWhite{255, 255, 255};
// Markers are copied opaquely, so their black corners cover what lies
// beneath.
using shell::kMarkerSize;

// Vertical grid lines, and the axis labels with the top-left corners of their
// text: channel values up the left, palette indices along the bottom.
constexpr int gridx[11] = {0, 127, 224, 320, 416, 512, 608, 704, 800, 896, 1023};
constexpr const char* label[13] = {"255", "192", "128", "64",  "0",   "32", "64",
                                   "96",  "128", "160", "192", "224", "255"};
constexpr Point labelpos[13] = {{96, 127},  {96, 246},  {96, 374},  {105, 502}, {115, 643},
                                {214, 643}, {309, 643}, {406, 643}, {497, 643}, {593, 643},
                                {690, 643}, {786, 643}, {881, 643}};

// Top and bottom of the palette strip's column lines.
constexpr int kStripTop = 665, kStripBottom = 715;
// The readout: its tick under the strip and the top-left corner of its text.
constexpr int kTickTop = 716, kTickBottom = 730;
constexpr Point kReadoutText{280, 732};
// A note in the band starts at its left, under the strip's first column.
constexpr Point kNoteText{128, 732};

Rect cornerof(int box) {
    return Rect{click[box].left, click[box].top, click[box].left + kCursorWidth,
                click[box].top + kCursorHeight};
}

// Copies the first row of r, which must lie inside s, to its other rows.
void copyfirstrow(Surface& s, const Rect& r) {
    if (!(shell::intersect(r, s.bounds()) == r)) return;
    const Rect d = s.todevice(r);
    const uint8_t* first = s.row(d.top) + size_t(d.left) * 3;
    for (int y = d.top + 1; y < d.bottom; ++y)
        std::memcpy(s.row(y) + size_t(d.left) * 3, first, size_t(d.width()) * 3);
}

void putmarker(Surface& s, const Surface& marker, const Rect& r) {
    s.blit(r.left, r.top, kMarkerSize, kMarkerSize, marker, 0, 0);
}

}  // namespace

Display::Display(int scale) : banner(makebanner(scale)), cursor(makecursor(scale)) {
    for (int i = 0; i < 3; ++i) markers[i] = shell::makemarker(cr[i], scale);
}

void Display::draw(shell::Window& w, Model& m, int showcp) {
    Surface& s = w.offscreen;
    const int active = m.cindex, n = m.nd[active];
    // 1-4: black ground, banner, the marker in the active box, the margins.
    // The banner covers the full width of the top rows, so only the rows
    // below it need clearing.
    const int covered = std::min(kBannerHeight, s.height());
    if (s.width() == kBannerWidth) {
        const Rect below = s.todevice(Rect{0, covered, s.width(), s.height()});
        std::memset(s.row(below.top), 0, size_t(s.stride()) * below.height());
    } else
        s.fill(kBlack);
    s.blit(0, 0, kBannerWidth, kBannerHeight, banner, 0, 0);
    s.blit(click[active].left, click[active].top, kCursorWidth, kCursorHeight, cursor, 0, 0);
    s.fillrect(lbound, kMarginGreen);
    s.fillrect(rbound, kMarginGreen);

    // 5-6: grid and labels.
    for (int x : gridx) s.line(Point{x, 127}, Point{x, 641}, kGridGrey);
    for (int y : {256, 384, 512}) s.line(Point{127, y}, Point{896, y}, kGridGrey);
    s.line(Point{0, 127}, Point{1023, 127}, kGridGrey);
    s.line(Point{0, 640}, Point{1023, 640}, kGridGrey);
    for (int i = 0; i < 13; ++i) font.draw(s, labelpos[i].x, labelpos[i].y, label[i], kTextColor);

    // 7: the inactive channels from their stored columns, in channel order.
    for (int ch = 0; ch < kChannels; ++ch) {
        if (ch == active) continue;
        for (int i = 0; i < kColumns; ++i)
            columnline_[i] = Point{kFirstColumn + i, 639 - 2 * m.spectrum[i][ch]};
        s.polyline(columnline_, kColumns, pencolor[ch], 2);
    }

    // 8: the active channel, sampled now; this rewrites its columns before the
    // strip below is drawn from them.
    curvecalc(m, samples_);
    s.polyline(samples_.pts, samples_.count, pencolor[active], 2);

    // 9: the strip, one 2-pixel line per column. A 2-pixel pen paints x - 1 …
    // x and y - 1 … y at every pixel it visits (kStripTop … kStripBottom - 1)
    // and the same square at the end point, so each column line is the block
    // x - 1 … x by kStripTop - 1 … kStripBottom, and a column's right half is
    // covered by the next one. Every row of the strip is the same: the first
    // is drawn column by column, the others copy it.
    const Rect strip{kFirstColumn - 1, kStripTop - 1, kLastColumn + 1, kStripBottom + 1};
    for (int i = 0; i < kColumns; ++i) {
        const Rgb c{shown(m, m.spectrum[i][0]), shown(m, m.spectrum[i][1]),
                    shown(m, m.spectrum[i][2])};
        if (m.invert) {
            m.invspectrum[i][0] = c.r;
            m.invspectrum[i][1] = c.g;
            m.invspectrum[i][2] = c.b;
        }
        const int x = kFirstColumn + i;
        s.fillrect(Rect{x - 1, strip.top, x + 1, strip.top + 1}, c);
    }
    copyfirstrow(s, strip);

    // 10-11: the data-point markers, then the control polygon on request.
    for (int i = 1; i <= n - 2; ++i) {
        const bool end = i == 1 || i == n - 2;
        putmarker(s, markers[end ? marker_end : marker_user], m.drect[active][i]);
    }
    if (showcp) drawcp(s, m);

    // 12: show all of it.
    w.presentall();
    readoutx = -1;
    noteshown_ = false;
}

void Display::drawcp(Surface& s, const Model& m) {
    const int ch = m.cindex, n = m.nd[ch];
    Point pts[kMaxControl];
    for (int i = 0; i <= n + 1; ++i)
        pts[i] = Point{static_cast<int>(m.cp[ch][i][0]), static_cast<int>(m.cp[ch][i][1])};
    s.polyline(pts, n + 2, kPolygonPurple);
    // The two outer control points coincide with the end points and keep
    // their end-point markers.
    for (int i = 1; i <= n; ++i) putmarker(s, markers[marker_control], m.crect[ch][i]);
}

std::string readouttext(const Model& m, int x) {
    const int column = x - kFirstColumn;
    int index = column / 3;
    if (index < 0) index = 0;
    if (index > 255) index = 255;
    int v[3];
    for (int c = 0; c < 3; ++c) v[c] = shown(m, m.palette[index][c]);
    char buf[120];
    std::snprintf(buf, sizeof buf, "X: %d    Palette index: %d    Red: %d    Green: %d    Blue: %d",
                  column, index, v[0], v[1], v[2]);
    return buf;
}

void Display::drawreadout(shell::Window& w, const Model& m, int x, int showcp) {
    Surface& s = w.offscreen;
    s.fillrect(noteshown_ ? readoutband : erase, kBlack);
    noteshown_ = false;
    s.line(Point{x - 1, kTickTop}, Point{x - 1, kTickBottom}, kWhite, 3);
    font.draw(s, kReadoutText.x, kReadoutText.y, readouttext(m, x), kTextColor);
    if (showcp) drawcp(s, m);
    w.present(readoutband);
    readoutx = x;
}

void Display::drawnote(shell::Window& w, const Model& m, const std::string& text, int showcp) {
    Surface& s = w.offscreen;
    s.fillrect(readoutband, kBlack);
    font.draw(s, kNoteText.x, kNoteText.y, text, kTextColor);
    noteshown_ = true;
    if (showcp) drawcp(s, m);
    w.present(readoutband);
    readoutx = -1;
}

void Display::putcursor(shell::Window& w, int box) {
    Rect r = cornerof(box);
    w.offscreen.blit(r.left, r.top, kCursorWidth, kCursorHeight, cursor, 0, 0);
    w.present(r);
}

void Display::blankbox(shell::Window& w, int box) {
    Rect r = cornerof(box);
    w.offscreen.fillrect(r, kBlack);
    w.present(r);
}

}  // namespace knotloom
