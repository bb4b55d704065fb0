// The table of how each curve type appears on screen.
#include "huewright/ui/curvetypeviews.h"

#include "huewright/ui/draw.h"
#include "huewright/ui/paramsdialog.h"

namespace huewright {

namespace {

using P = Parameters;
using shell::Control;

constexpr GroupControl label(const char* text, int x, int y, int cx, int cy) {
    GroupControl c;
    c.text = text;
    c.x = x, c.y = y, c.cx = cx, c.cy = cy;
    return c;
}
constexpr GroupControl choice(int id, const char* text, int x, int y, int cx, bool first, Field f,
                              int32_t value) {
    GroupControl c = label(text, x, y, cx, 12);
    c.id = id;
    c.kind = Control::radio;
    c.first = first;
    c.field = f;
    c.value = value;
    return c;
}
constexpr GroupControl box(int id, Field f, int x, int y, When enabled = {}) {
    GroupControl c = label("", x, y, 30, 12);
    c.id = id;
    c.kind = Control::edit;
    c.field = f;
    c.enabled = enabled;
    return c;
}
constexpr GroupControl rule(int y) {
    GroupControl c = label("", 17, y, 144, 1);
    c.id = 210;
    c.kind = Control::etchedline;
    return c;
}
constexpr GroupControl checkbox(int id, const char* text, int x, int y, int cx) {
    GroupControl c = label(text, x, y, cx, 12);
    c.id = id;
    c.kind = Control::checkbox;
    return c;
}

constexpr When cubic{&P::bd, 1};
constexpr When twosegments{&P::Ln, 2};

}  // namespace

constexpr CurveTypeView kCurveViews[kCurveTypes] = {
    {
        CurveType::sine,
        {id_sine, 16, 32},
        {206, "   Sine   ", 80},
        {
            label("Phase", 18, 12, 28, 8),
            choice(id_phase1, "1", 72, 10, 20, true, &P::sp, 1),
            choice(id_phase2, "2", 128, 10, 24, false, &P::sp, 2),
            label("X Shift: 0 -> 255  -  Drag or type.", 18, 28, 102, 8),
            box(id_xsh, &P::xsh, 128, 27),
            label("Amplitude: 0 -> 255", 18, 45, 102, 8),
            box(id_amp, &P::amp, 128, 44),
            label("Y Shift: 0 -> ( 255 - Amplitude )", 18, 62, 110, 8),
            box(id_ysh, &P::ysh, 128, 61),
        },
        {
            {{"Phase: %d", &P::sp}, 0, 0},
            {{"X Shift: %d", &P::xsh}, 1, 0},
            {{"Amplitude: %d", &P::amp}, 0, 1},
            {{"Y Shift: %d", &P::ysh}, 1, 1},
        },
        // The dot sits under the pointer.
        {{&P::xsh, nullptr, 0, kYellow, {}, {&P::xsh}}},
    },
    {
        CurveType::arc,
        {id_arc, 54, 28},
        {207, "   Arc   ", 48},
        {
            label("Anchor Y value: 0 -> 255", 18, 13, 100, 8),
            box(id_aan, &P::aan, 128, 12),
            label("Vertex Y value: 0 -> 255", 18, 30, 100, 8),
            box(id_avt, &P::avt, 128, 29),
        },
        {
            {{"Anchor: %d", &P::aan}, 1, 0},
            {{"Vertex: %d", &P::avt}, 1, 1},
        },
        {},
    },
    {
        CurveType::bezier,
        {id_bezier, 86, 32},
        {208, "   Bezier  ", 119},
        {
            label("Degree", 18, 12, 28, 8),
            choice(id_quadratic, "Quadratic", 72, 10, 50, true, &P::bd, 0),
            choice(id_cubic, "Cubic", 128, 10, 30, false, &P::bd, 1),
            label("( 0 , y )", 18, 28, 25, 8),
            box(id_b0, &P::b0, 45, 27),
            label("( 255, y )", 95, 28, 30, 8),
            box(id_b255, &P::b255, 128, 27),
            rule(44),
            label("Drag the control points, or type in the boxes.", 18, 49, 145, 8),
            label("Control 1: yellow", 18, 65, 66, 8),
            box(id_bc1x, &P::bc1x, 85, 64),
            box(id_bc1y, &P::bc1y, 128, 64),
            label("Control 2: magenta", 18, 82, 66, 10),
            box(id_bc2x, &P::bc2x, 85, 81, cubic),
            box(id_bc2y, &P::bc2y, 128, 81, cubic),
            rule(98),
            checkbox(id_stretch, "Stretch curve vertically", 18, 103, 120),
        },
        {
            {{"Control 1: (%d, %d)", &P::bc1x, &P::bc1y}, 0, 0},
            {{"(0, y): %d", &P::b0}, 1, 0},
            {{"Control 2: (%d, %d)", &P::bc2x, &P::bc2y, cubic}, 0, 1},
            {{"(255, y): %d", &P::b255}, 1, 1},
        },
        // Each dot trails the pointer by two pixels. A drag of control 2
        // writes the boxes of both controls.
        {
            {&P::bc1x, &P::bc1y, 2, kYellow, {}, {&P::bc1x, &P::bc1y}},
            {&P::bc2x, &P::bc2y, 2, kMagenta, cubic, {&P::bc1x, &P::bc1y, &P::bc2x, &P::bc2y}},
        },
    },
    {
        CurveType::line,
        {id_line, 128, 32},
        {209, "   Line Segments   ", 62},
        {
            label("Number", 18, 12, 28, 8),
            choice(id_segments1, "1", 72, 10, 20, true, &P::Ln, 1),
            choice(id_segments2, "2", 128, 10, 24, false, &P::Ln, 2),
            label("( 0 , y )", 18, 28, 25, 8),
            box(id_L0, &P::L0, 45, 27),
            label("( 255, y )", 95, 28, 30, 8),
            box(id_L255, &P::L255, 128, 27),
            label("Middle ( x, y )", 18, 45, 66, 8),
            box(id_Lmx, &P::Lmx, 85, 44, twosegments),
            box(id_Lmy, &P::Lmy, 128, 44, twosegments),
        },
        // The closing parenthesis after the number is part of the first two
        // texts.
        {
            {{"(0, y): %d)", &P::L0}, 0, 0},
            {{"(255, y): %d)", &P::L255}, 1, 0},
            {{"Middle (x, y): (%d, %d)", &P::Lmx, &P::Lmy, twosegments}, 0, 1},
        },
        {},
    },
};

static_assert(bytype(kCurveViews), "kCurveViews lists each type at its number");

}  // namespace huewright
