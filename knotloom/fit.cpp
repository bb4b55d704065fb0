#include "fit.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace knotloom {

namespace {

// The columns palettecalc takes for entry e: the first and the last entry
// one column each, every other entry the three of its own.
int firstcolumn(int e) {
    return e == 0 ? 0 : e == 255 ? kColumns - 1 : 3 * e;
}
int columncount(int e) {
    return e == 0 || e == 255 ? 1 : 3;
}

// The curve height whose column value is v: heights from 638 - 2v up to
// 640 - 2v give v, and this is their middle.
double heightof(uint8_t v) {
    return 639 - 2.0 * v;
}

// Data-point heights of channel ch from the free heights: the end points
// carry their copies along.
void setheights(Model& m, int ch, const std::vector<double>& h) {
    const int n = m.nd[ch];
    double(*D)[2] = m.dp[ch];
    D[0][1] = D[1][1] = h.front();
    for (int i = 2; i <= n - 3; ++i) D[i][1] = h[size_t(i - 1)];
    D[n - 2][1] = D[n - 1][1] = h.back();
}

const char* const kNames[kChannels] = {"red", "green", "blue"};

}  // namespace

palettes::LinearSystem fitsystem(const Model& m, int ch, const shell::Palette& target) {
    // The default layout on a copy: x is fixed by it, and the curve is
    // linear in the heights, so the curve of one unit height at each free
    // point in turn is that point's column of the system.
    auto s = std::make_unique<Model>(m);
    s->cindex = ch;
    matrixcalc(*s, 0);
    cpcalc(*s);
    auto samples = std::make_unique<ColumnSample[]>(kColumns);
    columnsamples(*s, ch, samples.get());

    const int n = s->nd[ch], k = n - 2;
    std::vector<double> unit(size_t(kColumns) * size_t(k));
    for (int j = 0; j < k; ++j) {
        std::vector<double> h(size_t(k), 0.0);
        h[size_t(j)] = 1;
        setheights(*s, ch, h);
        cpcalc(*s);
        for (int c = 0; c < kColumns; ++c)
            if (samples[c].reached)
                unit[size_t(c * k + j)] = deboor(s->cp[ch], 1, samples[c].span, samples[c].alpha);
    }

    palettes::LinearSystem sys;
    sys.rows = 256;
    sys.cols = k;
    sys.a.assign(size_t(256 * k), 0.0);
    sys.b.assign(256, 0.0);
    for (int e = 0; e < 256; ++e) {
        int reached = 0;
        for (int c = firstcolumn(e); c < firstcolumn(e) + columncount(e); ++c) {
            if (!samples[c].reached) continue;
            ++reached;
            for (int j = 0; j < k; ++j) sys.a[size_t(e * k + j)] += unit[size_t(c * k + j)];
        }
        if (reached == 0) continue;
        for (int j = 0; j < k; ++j) sys.a[size_t(e * k + j)] /= reached;
        sys.b[size_t(e)] = heightof(target[e][ch]);
    }
    return sys;
}

std::vector<double> fitheights(const Model& m, int ch, const shell::Palette& target) {
    const palettes::LinearSystem sys = fitsystem(m, ch, target);
    const int k = sys.cols;
    auto weighs = [&](int e) {
        for (int j = 0; j < k; ++j)
            if (sys.a[size_t(e * k + j)] != 0) return true;
        return false;
    };
    std::vector<bool> use(256);
    for (int e = 0; e < 256; ++e) use[size_t(e)] = weighs(e);
    std::vector<double> x = palettes::leastsquares(sys, use);
    // The curve is clamped to values 0 and 255, so an entry at either end is
    // right wherever the curve runs beyond it; holding the fit to such an
    // entry would only pull the rest away. The set of those entries depends
    // on the fit, so it is found again until it stays.
    for (int round = 0; round < 8 && !x.empty(); ++round) {
        std::vector<bool> next(256);
        for (int e = 0; e < 256; ++e) {
            double y = 0;
            for (int j = 0; j < k; ++j) y += sys.a[size_t(e * k + j)] * x[size_t(j)];
            const uint8_t v = target[e][ch];
            const bool beyond = (v == 0 && y > kBottomY) || (v == 255 && y < kTopY + 1);
            next[size_t(e)] = weighs(e) && !beyond;
        }
        if (next == use) break;
        std::vector<double> refit = palettes::leastsquares(sys, next);
        if (refit.empty()) break;
        use = next;
        x = refit;
    }
    return x;
}

void fitchannel(Model& m, int ch, const shell::Palette& target) {
    std::vector<double> h = fitheights(m, ch, target);
    const int keep = m.cindex;
    m.cindex = ch;
    matrixcalc(m, 0);
    if (!h.empty()) {
        // Points stand on whole pixels within the curve area, as a drag
        // leaves them.
        for (double& v : h) v = std::fmin(std::fmax(std::round(v), kTopY), kBottomY);
        setheights(m, ch, h);
    }
    for (int i = 0; i < m.nd[ch]; ++i) setclickrect(m, i, m.dp[ch][i][0], m.dp[ch][i][1], 0);
    cpcalc(m);
    auto samples = std::make_unique<CurveSamples>();
    curvecalc(m, *samples);
    m.cindex = keep;
}

void refittarget(Model& m, int ch) {
    auto s = std::make_unique<Model>(m);
    auto samples = std::make_unique<CurveSamples>();
    const int keep = s->cindex;
    s->cindex = ch;
    curvecalc(*s, *samples);
    s->cindex = keep;
    shell::Palette made;
    palettecalc(s->spectrum, made);
    for (int e = 0; e < 256; ++e) m.fittarget[e][ch] = made[e][ch];
}

FitError fiterror(const shell::Palette& made, const shell::Palette& target, int ch) {
    FitError f;
    int sum = 0;
    for (int e = 0; e < 256; ++e) {
        const int d = std::abs(int(made[e][ch]) - int(target[e][ch]));
        f.largest = std::max(f.largest, d);
        sum += d;
    }
    f.mean = sum / 256.0;
    return f;
}

void fitpalette(Model& m, const shell::Palette& target) {
    m.invert = 0;
    m.fittarget = target;
    for (int ch = 0; ch < kChannels; ++ch) {
        fitchannel(m, ch, target);
        m.fitted[ch] = true;
    }
    palettecalc(m);
}

std::string fitnote(const Model& m) {
    shell::Palette made;
    palettecalc(m.spectrum, made);
    std::string s = "Fitted: largest / mean error ";
    for (int ch = 0; ch < kChannels; ++ch) {
        if (!m.fitted[ch]) continue;
        const FitError f = fiterror(made, m.fittarget, ch);
        char part[64];
        std::snprintf(part, sizeof part, "   %s %d / %.2f", kNames[ch], f.largest, f.mean);
        s += part;
    }
    return s;
}

bool restorepoints(Model& m, const palettes::SplinePoints& points, const shell::Palette& entries,
                   std::string& why) {
    // Only points a drag can leave are taken: within the curve area's
    // heights, the end points in their margins with their copies beside
    // them, the first and last user points at the ends of the palette range.
    for (int ch = 0; ch < kChannels; ++ch) {
        const std::vector<palettes::SplinePoint>& p = points.points[ch];
        const int n = int(p.size());
        const std::string name = std::string(kNames[ch]) + ": ";
        if (n < kMinUser + 4 || n > kMaxUser + 4) {
            why = name + "the number of points is out of range";
            return false;
        }
        for (const palettes::SplinePoint& q : p)
            if (!(q.y >= kTopY && q.y <= kBottomY && q.x >= 0 && q.x <= 1023)) {
                why = name + "a point lies outside the window's curve area";
                return false;
            }
        const bool copies = p[0].x == p[1].x && p[0].y == p[1].y && p[n - 1].x == p[n - 2].x &&
                            p[n - 1].y == p[n - 2].y;
        const bool ends = p[1].x >= kLeftEndMin && p[1].x <= kLeftEndMax &&
                          p[n - 2].x >= kRightEndMin && p[n - 2].x <= kRightEndMax;
        const bool pinned = p[2].x == kFirstUserX && p[n - 3].x == kLastUserX;
        if (!copies || !ends || !pinned) {
            why = name + "the end points are not where the window keeps them";
            return false;
        }
    }
    const int keep = m.cindex;
    for (int ch = 0; ch < kChannels; ++ch) {
        const std::vector<palettes::SplinePoint>& p = points.points[ch];
        m.cindex = ch;
        m.nd[ch] = int(p.size());
        m.trackpos[ch] = m.nd[ch] - 4;
        // The matrix and knots of the count; the layout it puts down is
        // replaced by the points.
        matrixcalc(m, 0);
        for (int i = 0; i < m.nd[ch]; ++i) {
            m.dp[ch][i][0] = p[size_t(i)].x;
            m.dp[ch][i][1] = p[size_t(i)].y;
            setclickrect(m, i, p[size_t(i)].x, p[size_t(i)].y, 0);
        }
        cpcalc(m);
        m.sampled[ch] = true;
        m.fitted[ch] = false;
    }
    m.cindex = keep;
    m.invert = points.inverted ? 1 : 0;
    // The file holds the colours as they were shown.
    for (int i = 0; i < kColumns; ++i)
        for (int c = 0; c < kChannels; ++c)
            m.spectrum[i][c] = shown(m, points.columns[size_t(i)][size_t(c)]);
    m.palette = shown(m, entries);
    return true;
}

Taken takepalette(Model& m, const shell::Palette& palette, const std::string& description) {
    Taken t;
    const palettes::Reading<palettes::SplinePoints> points =
        palettes::readsplinepoints(description);
    if (points.found == palettes::Found::curves &&
        restorepoints(m, points.value, palette, t.pointsnottaken))
        return t;
    if (points.found == palettes::Found::damaged) t.pointsnottaken = points.why;
    fitpalette(m, palette);
    t.fitted = true;
    return t;
}

}  // namespace knotloom
