// Fitting the B-spline curves to palettes knotloom did not make, and taking
// back the points of palettes it did.
#include "fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>

#include "mainwindow.h"
#include "palettes/palettes.h"

namespace knotloom {
namespace {

// Palettes to fit, none at 0 or 255, where the clamp frees an entry from
// the fit: smooth waves, a ramp with a kink and noise.
std::vector<shell::Palette> targets() {
    std::vector<shell::Palette> out;
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int kind = 0; kind < 3; ++kind) {
        shell::Palette p;
        for (int e = 0; e < 256; ++e)
            for (int c = 0; c < 3; ++c) {
                double v = kind == 0   ? 128 + 100 * std::sin(e / (20.0 + 15 * c) + c)
                           : kind == 1 ? (e < 100 + 40 * c ? 20 + e : 230 - (e - 100) / 2)
                                       : 128 + 90 * std::cos(e / 50.0 * (c + 1)) + noise(rng);
                p[e][c] = uint8_t(std::fmin(std::fmax(v, 1), 254));
            }
        out.push_back(p);
    }
    return out;
}

// A fresh model with `users` user points on every channel.
std::unique_ptr<Model> withpoints(int users) {
    auto m = std::make_unique<Model>();
    dpinit(*m);
    for (int ch = 0; ch < kChannels; ++ch) {
        m->trackpos[ch] = users;
        m->nd[ch] = users + 4;
    }
    return m;
}

// The mean curve height over each entry's columns of channel ch, with the
// free heights h put into the points (the end points, each with its copy,
// and the user points), evaluated plainly through the model; NaN for an
// entry no sample reaches.
std::vector<double> entryheights(const Model& base, int ch, const std::vector<double>& h) {
    auto m = std::make_unique<Model>(base);
    m->cindex = ch;
    matrixcalc(*m, 0);
    const int n = m->nd[ch];
    m->dp[ch][0][1] = m->dp[ch][1][1] = h.front();
    for (int i = 2; i <= n - 3; ++i) m->dp[ch][i][1] = h[size_t(i - 1)];
    m->dp[ch][n - 2][1] = m->dp[ch][n - 1][1] = h.back();
    cpcalc(*m);
    auto s = std::make_unique<ColumnSample[]>(kColumns);
    columnsamples(*m, ch, s.get());
    std::vector<double> y(256, NAN);
    for (int e = 0; e < 256; ++e) {
        const int first = e == 0 ? 0 : e == 255 ? kColumns - 1 : 3 * e;
        const int count = e == 0 || e == 255 ? 1 : 3;
        double sum = 0;
        int reached = 0;
        for (int c = first; c < first + count; ++c)
            if (s[c].reached) {
                sum += deboor(m->cp[ch], 1, s[c].span, s[c].alpha);
                ++reached;
            }
        if (reached > 0) y[size_t(e)] = sum / reached;
    }
    return y;
}

// What the fit makes smallest: the squared differences between those
// heights and the heights of the target's values.
double squarederror(const Model& m, int ch, const std::vector<double>& h,
                    const shell::Palette& target) {
    const std::vector<double> y = entryheights(m, ch, h);
    double sum = 0;
    for (int e = 0; e < 256; ++e)
        if (!std::isnan(y[size_t(e)]))
            sum += std::pow(y[size_t(e)] - (639 - 2.0 * target[e][ch]), 2);
    return sum;
}

// The reference: the heights are linear in the free heights, so the curve
// of each unit height is a column of the system, and the normal equations
// are solved by plain Gaussian elimination in extended precision.
std::vector<double> referencefit(const Model& m, int ch, const shell::Palette& target) {
    const size_t k = size_t(m.nd[ch] - 2);
    std::vector<std::vector<double>> col;
    for (size_t j = 0; j < k; ++j) {
        std::vector<double> h(k, 0.0);
        h[j] = 1;
        col.push_back(entryheights(m, ch, h));
    }
    std::vector<std::vector<long double>> a(k, std::vector<long double>(k + 1));
    for (int e = 0; e < 256; ++e) {
        if (std::isnan(col[0][size_t(e)])) continue;
        for (size_t i = 0; i < k; ++i) {
            for (size_t j = 0; j < k; ++j)
                a[i][j] += (long double)col[i][size_t(e)] * col[j][size_t(e)];
            a[i][k] += (long double)col[i][size_t(e)] * (639 - 2.0 * target[e][ch]);
        }
    }
    for (size_t p = 0; p < k; ++p) {
        size_t best = p;
        for (size_t i = p + 1; i < k; ++i)
            if (std::fabs(a[i][p]) > std::fabs(a[best][p])) best = i;
        std::swap(a[p], a[best]);
        for (size_t i = 0; i < k; ++i) {
            if (i == p) continue;
            const long double f = a[i][p] / a[p][p];
            for (size_t j = p; j <= k; ++j) a[i][j] -= f * a[p][j];
        }
    }
    std::vector<double> x;
    for (size_t i = 0; i < k; ++i) x.push_back(double(a[i][k] / a[i][i]));
    return x;
}

TEST(Fit, IsTheLeastSquaresSolutionAndHalvingTheSpacingFitsBetter) {
    for (const shell::Palette& target : targets())
        for (int ch = 0; ch < kChannels; ++ch) {
            double err[kMaxUser + 1] = {};
            for (int users = kMinUser; users <= kMaxUser; ++users) {
                const auto m = withpoints(users);
                const std::vector<double> h = fitheights(*m, ch, target);
                const std::vector<double> want = referencefit(*m, ch, target);
                ASSERT_EQ(h.size(), want.size());
                for (size_t i = 0; i < h.size(); ++i)
                    EXPECT_NEAR(h[i], want[i], 1e-6) << users << " " << ch << " " << i;
                err[users] = squarederror(*m, ch, h, target);
            }
            // Evenly spaced points of different counts do not give nested
            // families of curves, so one point more can fit worse: the x of
            // the curve follows the points too. Halving the spacing (3, 5, 9
            // user points) comes closest to nesting.
            EXPECT_LE(err[5], err[3]) << ch;
            EXPECT_LE(err[9], err[5]) << ch;
        }
}

// A palette of curves whose points were only moved up and down, saved with
// no trailer, comes back within a level of every entry, at every count and
// inverted or not; with its trailer, the points and the palette come back
// exactly.
TEST(Fit, VerticalMovesComeBack) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> height(static_cast<int>(kTopY), static_cast<int>(kBottomY));
    for (int users = kMinUser; users <= kMaxUser; ++users) {
        auto made = withpoints(users);
        made->invert = users % 2;
        for (int ch = 0; ch < kChannels; ++ch) {
            made->cindex = ch;
            matrixcalc(*made, 0);
            for (int i = 1; i < made->nd[ch] - 1; ++i) made->dp[ch][i][1] = height(rng);
            made->dp[ch][0][1] = made->dp[ch][1][1];
            made->dp[ch][made->nd[ch] - 1][1] = made->dp[ch][made->nd[ch] - 2][1];
            cpcalc(*made);
            auto samples = std::make_unique<CurveSamples>();
            curvecalc(*made, *samples);
        }
        palettecalc(*made);
        const shell::Palette saved = shown(*made, made->palette);
        for (bool trailer : {false, true}) {
            const shell::Result<std::string> file = palettes::encodepalette(
                palettes::Format::map, saved, "", trailer ? splinetrailer(*made) : "");
            shell::Palette read;
            const auto r = palettes::decodepalette(palettes::Format::map, file.value(), read);
            ASSERT_TRUE(r.ok());
            auto back = withpoints(kMaxUser);
            back->trackpos[0] = back->trackpos[1] = back->trackpos[2] = users;
            back->nd[0] = back->nd[1] = back->nd[2] = users + 4;
            const Taken t = takepalette(*back, read, r.value().description);
            EXPECT_EQ(t.fitted, !trailer);
            EXPECT_EQ(t.pointsnottaken, "");
            const shell::Palette again = shown(*back, back->palette);
            for (int e = 0; e < 256; ++e)
                for (int c = 0; c < 3; ++c)
                    ASSERT_LE(std::abs(again[e][c] - saved[e][c]), trailer ? 0 : 1)
                        << users << " " << trailer << " " << e << " " << c;
            if (trailer) {
                EXPECT_EQ(std::memcmp(back->dp, made->dp, sizeof back->dp), 0);
                EXPECT_EQ(back->invert, made->invert);
            }
        }
    }
}

}  // namespace
}  // namespace knotloom
