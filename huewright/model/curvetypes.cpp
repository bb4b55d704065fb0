// The model's table of curve types.
#include "huewright/model/curvetypes.h"

#include <algorithm>
#include <cstdio>

#include "huewright/model/model.h"

namespace huewright {

namespace {

using P = Parameters;

// Each generator writes column m.cndx; the table calls it once per column,
// so nothing here runs per palette entry.
void sinecolumn(Model& m, const Parameters& ps) {
    m.sinecolumn(ps);
}
void arccolumn(Model& m, const Parameters& ps) {
    m.calcarc(ps.aan, ps.avt);
    for (int i = 0; i < 256; ++i) m.palette[i][m.cndx] = m.arctable[i];
}
void beziercolumn(Model& m, const Parameters& ps) {
    m.calcBezier(ps.bd, ps.b0, ps.b255, ps.bc1x, ps.bc1y, ps.bc2x, ps.bc2y);
}
void linecolumn(Model& m, const Parameters& ps) {
    m.calcline(ps.Ln, ps.L0, ps.L255, ps.Lmx, ps.Lmy);
}

}  // namespace

constexpr CurveDesc kCurveTable[kCurveTypes] = {
    {
        CurveType::sine,
        "Sine",
        sinecolumn,
        {{&P::xsh}, {&P::amp, 0, 255, &P::ysh}, {&P::ysh, 0, 255, &P::amp}},
        {&P::sp, 1, 2},
        false,
        {{"phase: %d\n", &P::sp},
         {"index shift: %d\n", &P::xsh},
         {"amplitude: %d\n", &P::amp},
         {"vertical shift: %d\n", &P::ysh}},
        {&P::xsh},
        Flip::halfperiod,
    },
    {
        CurveType::arc,
        "Arc",
        arccolumn,
        {{&P::aan}, {&P::avt}},
        {},
        false,
        {{"anchor: %d\n", &P::aan}, {"vertex: %d\n", &P::avt}},
        {&P::aan, &P::avt},
        Flip::mirror,
    },
    {
        CurveType::bezier,
        "Bezier",
        beziercolumn,
        {{&P::b0}, {&P::b255}, {&P::bc1x}, {&P::bc1y}, {&P::bc2x}, {&P::bc2y}},
        {&P::bd, 0, 2},
        true,
        {{"(0, y): %d\n", &P::b0},
         {"(255, y): %d\n", &P::b255},
         {"control 1: (%d, %d)\n", &P::bc1x, &P::bc1y},
         {"control 2: (%d, %d)\n", &P::bc2x, &P::bc2y, {&P::bd, 1}}},
        // The x coordinates of the controls stay; the heights flip.
        {&P::b0, &P::b255, &P::bc1y, &P::bc2y},
        Flip::mirror,
    },
    {
        CurveType::line,
        "Line",
        linecolumn,
        {{&P::L0}, {&P::L255}, {&P::Lmx}, {&P::Lmy}},
        {&P::Ln, 1, 2},
        false,
        {{"Number of line segments: %d\n", &P::Ln},
         {"(0, y): %d\n", &P::L0},
         {"(255, y): %d\n", &P::L255},
         {"Middle (x, y): (%d, %d)\n", &P::Lmx, &P::Lmy, {&P::Ln, 2}}},
        {&P::L0, &P::L255, &P::Lmy},
        Flip::mirror,
    },
};

static_assert(bytype(kCurveTable), "kCurveTable lists each type at its number");

void TextLine::print(char* out, int size, const Parameters& p) const {
    std::snprintf(out, size_t(size), format, a ? p.*a : 0, b ? p.*b : 0);
}

NumberField numberfield(Field f) {
    for (const CurveDesc& d : kCurveTable)
        for (const NumberField& n : d.numbers)
            if (n.field == f) return n;
    return NumberField{f};
}

int32_t clampfield(Parameters& p, Field f) {
    const NumberField n = numberfield(f);
    int32_t& v = p.*f;
    v = std::clamp(v, n.low, n.high);
    if (n.partner && v > n.high - p.*n.partner) v = n.high - p.*n.partner;
    return v;
}

Fields invertrecord(Parameters& p) {
    const CurveDesc& d = curvedesc(p);
    for (Field f : d.inverted) p.*f = d.flip == Flip::mirror ? 255 - p.*f : (p.*f + 128) % 256;
    return d.inverted;
}

void describecurve(std::string& s, const Parameters& p, bool stretched) {
    const CurveDesc& d = curvedesc(p);
    s += d.name;
    s += '\n';
    char line[64];
    for (const TextLine& l : d.description) {
        if (!l.when.holds(p)) continue;
        l.print(line, sizeof line, p);
        s += line;
    }
    if (d.stretchable && stretched) s += "stretched\n";
}

}  // namespace huewright
