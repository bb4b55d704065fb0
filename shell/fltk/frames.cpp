#include "frames.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <string>

namespace shell::fltk {

namespace {

// The scale the frames are drawn at; FLTK's box functions take no more than
// a rectangle and a colour.
int framescale = 1;

// A frame pattern of FLTK's (rings of four grey letters, one pixel each)
// with every ring repeated to be framescale pixels wide.
std::string thick(const char* rings) {
    std::string out;
    for (const char* r = rings; r[0] && r[1] && r[2] && r[3]; r += 4)
        for (int i = 0; i < framescale; ++i) out.append(r, 4);
    return out;
}

// The inside of a box, `inset` pixels in from its edges, in its colour.
void fill(int x, int y, int w, int h, int inset, Fl_Color c) {
    fl_color(Fl::draw_box_active() ? c : fl_inactive(c));
    fl_rectf(x + inset, y + inset, w - 2 * inset, h - 2 * inset);
}

// FLTK's patterns of its boxes with 2-pixel bevels, and of its thin ones.
enum Pattern { up, down, thinup, thindown, engraved, embossed };

// The strings are made once, at the scale.
const std::string& pattern(Pattern which) {
    static const std::string p[] = {thick("AAWWMMTT"), thick("WWMMPPAA"), thick("HHWW"),
                                    thick("WWHH"),     thick("HHWWWWHH"), thick("WWHHHHWW")};
    return p[which];
}

// Engraved and embossed frames draw their rings from the top, as FLTK's do;
// the others from the bottom.
template <Pattern p>
void frame(int x, int y, int w, int h, Fl_Color) {
    if (p == engraved || p == embossed)
        fl_frame(pattern(p).c_str(), x, y, w, h);
    else
        fl_frame2(pattern(p).c_str(), x, y, w, h);
}

void border(int x, int y, int w, int h, Fl_Color c) {
    fl_color(Fl::draw_box_active() ? c : fl_inactive(c));
    for (int i = 0; i < framescale && 2 * i < std::min(w, h); ++i)
        fl_rect(x + i, y + i, w - 2 * i, h - 2 * i);
}

// A bordered box's border is black whatever its colour.
void blackborder(int x, int y, int w, int h, Fl_Color) {
    border(x, y, w, h, FL_BLACK);
}

// A box: its frame, and inside it the box's colour, `rings` lines of the
// scale's width in.
template <Fl_Box_Draw_F* drawframe, int rings>
void box(int x, int y, int w, int h, Fl_Color c) {
    drawframe(x, y, w, h, c);
    fill(x, y, w, h, rings * framescale, c);
}

}  // namespace

void scaleframes(int scale) {
    if (scale <= 1) return;
    framescale = scale;
    const auto set = [](Fl_Boxtype t, Fl_Box_Draw_F* f, int inset) {
        const auto d = static_cast<uchar>(inset * framescale),
                   d2 = static_cast<uchar>(2 * inset * framescale);
        Fl::set_boxtype(t, f, d, d, d2, d2);
    };
    set(FL_UP_BOX, box<frame<up>, 2>, 2);
    set(FL_DOWN_BOX, box<frame<down>, 2>, 2);
    set(FL_UP_FRAME, frame<up>, 2);
    set(FL_DOWN_FRAME, frame<down>, 2);
    set(FL_THIN_UP_BOX, box<frame<thinup>, 1>, 1);
    set(FL_THIN_DOWN_BOX, box<frame<thindown>, 1>, 1);
    set(FL_THIN_UP_FRAME, frame<thinup>, 1);
    set(FL_THIN_DOWN_FRAME, frame<thindown>, 1);
    set(FL_ENGRAVED_BOX, box<frame<engraved>, 2>, 2);
    set(FL_EMBOSSED_BOX, box<frame<embossed>, 2>, 2);
    set(FL_ENGRAVED_FRAME, frame<engraved>, 2);
    set(FL_EMBOSSED_FRAME, frame<embossed>, 2);
    set(FL_BORDER_BOX, box<blackborder, 1>, 1);
    set(FL_BORDER_FRAME, border, 1);
}

void ScaledChoice::draw() {
    Fl_Choice::draw();
    if (n_ <= 1) return;
    // The arrow button as FLTK lays it out at scale 1, every size n_ times as
    // large, drawn over the narrower one FLTK drew.
    const int dx = Fl::box_dx(FL_DOWN_BOX), dy = Fl::box_dy(FL_DOWN_BOX);
    const int h1 = (h() - 2 * dy) / n_, w1 = std::min(h1, 20);
    const int side = std::max(1, (w1 - 4) / 3);
    const int W = w1 * n_, H = h() - 2 * dy;
    const int X = x() + w() - W - dx, Y = y() + dy;
    draw_box(FL_UP_BOX, X, Y, W, H, color());
    const int ax = X + n_ * ((w1 - 2 * side - 1) / 2), ay = Y + n_ * ((h1 - side - 1) / 2);
    fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
    fl_polygon(ax, ay, ax + n_ * side, ay + n_ * side, ax + 2 * n_ * side, ay);
}

}  // namespace shell::fltk
