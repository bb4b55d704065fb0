#include "huewright/ui/draw.h"

#include <cstdio>

#include "huewright/art/artwork.h"
#include "huewright/ui/curvetypeviews.h"

namespace huewright {

using shell::Point;
using shell::Rect;
using shell::Rgb;

namespace {

// The label of each button, beside its outline, in drawing order.
struct Label {
    int x, y;
    const char* text;
};
constexpr Label labels[8] = {
    {110, 164, "Red (R)"},         {110, 262, "Green (G)"},
    {110, 360, "Blue (B)"},        {110, 458, "Save Palette (P)"},
    {332, 458, "Save Screen (S)"}, {332, 556, "Open MAP (O)"},
    {110, 556, "Exit (Esc)"},      {540, 415, "Move cursor over display."},
};

// Outlines in drawing order: the seven buttons, the curve display, the
// palette strip and Help.
constexpr Rect outlines[10] = {
    clicks[btn_red],        clicks[btn_green],   clicks[btn_blue], clicks[btn_savepalette],
    clicks[btn_savescreen], clicks[btn_openmap], clicks[btn_exit], {499, 144, 758, 402},
    {500, 450, 757, 500},   clicks[btn_help],
};

// The part of the window a redraw of the curves shows: the curve display
// with its outline, grown by the reach of a control-point dot (centres lie
// within x 498 ... 757 and y 145 ... 401 even in mid-drag, and a dot reaches 4
// pixels beyond), down to the palette strip's outline.
constexpr Rect kRedrawn{494, 141, 762, 501};

// Where the help picture is shown, and where the banner keeps it.
constexpr int kHelpX = 715, kHelpY = 546;

// A closed 1-pixel outline through the four corners. The polyline leaves out
// its last point, which is the first one again and already drawn.
void outline(shell::Surface& s, const Rect& r, Rgb c) {
    const Point pts[5] = {{r.left, r.top},
                          {r.right, r.top},
                          {r.right, r.bottom},
                          {r.left, r.bottom},
                          {r.left, r.top}};
    s.polyline(pts, 5, c);
}

// The 46 x 43 interior of a button's outline.
Rect interior(int k) {
    return Rect{clicks[k].left + 1, clicks[k].top + 1, clicks[k].left + 1 + kCursorWidth,
                clicks[k].top + 1 + kCursorHeight};
}

}  // namespace

Screen::Screen(int scale) : banner(makebanner(scale)), cursor(makecursor(scale)) {
    if (banner.scale() == 1) return;
    plain = shell::Surface(xres, yres);
    plainbanner = makebanner();
    plaincursor = makecursor();
}

void drawboxes(shell::Window& w, Screen& s) {
    s.pictures(w,
               [&](shell::Surface& v, const shell::Surface& banner, const shell::Surface& cursor) {
                   v.blit(kHelpX, kHelpY, kHelpSize, kHelpSize, banner, kHelpSourceX, 0);
                   for (const Rect& r : outlines) outline(v, r, kWhite);
                   for (const Label& l : labels) s.font.draw(v, l.x, l.y, l.text, kTextColor);
                   const Rect m = interior(btn_red);
                   v.blit(m.left, m.top, kCursorWidth, kCursorHeight, cursor, 0, 0);
               });
    w.presentall();
}

void draw(shell::Window& w, Screen& s, const Model& m) {
    s.pictures(w, [&](shell::Surface& v, const shell::Surface&, const shell::Surface&) {
        v.fillrect(erasecurves, kBlack);
        v.fillrect(erasevalues, kBlack);
        Point pts[256];
        for (int c = 0; c < 3; ++c) {
            for (int i = 0; i < 256; ++i)
                pts[i] = Point{kCurveLeft + i, kCurveBase - m.palette[i][c]};
            // The 2-pixel pen covers the last point too: each curve reaches
            // column 756, palette entry 255.
            v.polyline(pts, 256, kChannelColor[c], 2);
        }
        // Each strip line is a 1-pixel line from row 451 towards 499, which
        // as the end point of such a line is left out: the bottom row of the
        // strip's interior stays black. All 256 lines together are one row of
        // the palette repeated, so the first row is set pixel by pixel and
        // copied down; this gives the same pixels as the lines at a fraction
        // of the cost of a drag step.
        for (int i = 0; i < 256; ++i)
            v.setpixel(kCurveLeft + i, kStripTop,
                       Rgb{m.palette[i][0], m.palette[i][1], m.palette[i][2]});
        for (int y = kStripTop + 1; y < kStripEnd; ++y)
            v.blit(kCurveLeft, y, 256, 1, v, kCurveLeft, kStripTop);
    });
    // What this redraw changed reaches the window: the display with the
    // margin that control-point dots may have covered on the window, the
    // strip, and the cleared hover readout. Everywhere else the window
    // already equals the surface, because every other drawing step shows
    // what it draws at once; copying those parts again would make each step
    // of a drag several times slower.
    w.present(kRedrawn);
    w.present(erasevalues);
}

bool displayparams(shell::Window& w, Screen& s, const Model& m, int index) {
    if (!m.okdisplay[index]) return false;
    const Parameters& ps = m.p[index];
    s.pictures(w, [&](shell::Surface& v, const shell::Surface&, const shell::Surface&) {
        // The first line drawn clears the readout area, so the old readout
        // disappears with it.
        bool first = true;
        char text[64];
        for (const ReadoutLine& l : curveview(ps).readout) {
            if (!l.text.when.holds(ps)) continue;
            l.text.print(text, sizeof text, ps);
            const int x = l.column == 0 ? readoutleft : readoutright;
            const int y = readoutrow[index][l.row];
            if (first)
                s.font.drawopaque(v, eraseparams[index], x, y, text, kTextColor, kBlack);
            else
                s.font.draw(v, x, y, text, kTextColor);
            first = false;
        }
    });
    w.present(eraseparams[index]);
    return true;
}

void drawdot(shell::Surface& hdc, int x, int y, Rgb color) {
    for (int j = y - 4; j <= y + 4; ++j)
        for (int i = x - 4; i <= x + 4; ++i) hdc.setpixel(i, j, color);
}

void markbutton(shell::Window& w, Screen& s, int k) {
    const Rect m = interior(k);
    s.pictures(w, [&](shell::Surface& v, const shell::Surface&, const shell::Surface& cursor) {
        for (int b = 0; b < kMarkable; ++b) v.fillrect(interior(b), kBlack);
        v.blit(m.left, m.top, kCursorWidth, kCursorHeight, cursor, 0, 0);
    });
    for (int b = 0; b < kMarkable; ++b) w.present(interior(b));
    w.present(m);
}

void showvalues(shell::Window& w, Screen& s, const Model& m, int x) {
    const int i = x - kCurveLeft;
    s.pictures(w, [&](shell::Surface& v, const shell::Surface&, const shell::Surface&) {
        v.fillrect(erasehash, kBlack);
        v.line(Point{x, 501}, Point{x, 515}, kWhite, 3);
        // The trailing spaces are part of each text.
        char text[64];
        std::snprintf(text, sizeof text, "palette index: %d    ", i);
        s.font.drawopaque(v, erasevalues, 500, 520, text, kTextColor, kBlack);
        static const char* const names[3] = {"red", "green", "blue"};
        for (int c = 0; c < 3; ++c) {
            std::snprintf(text, sizeof text, "%s: %d    ", names[c], int(m.palette[i][c]));
            s.font.draw(v, 540, 545 + 25 * c, text, kTextColor);
        }
    });
    w.present(erasehash);
    w.present(erasevalues);
}

}  // namespace huewright
