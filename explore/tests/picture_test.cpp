// Pictures: the renderer's threads, lanes and shortcuts give the same
// escape-time picture as a plain loop over the pixels; the smooth colouring
// is continuous; a picture is drawn coarse first and can be dropped at once.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <random>
#include <thread>

#include "explore/colour.h"
#include "explore/render.h"

using namespace explore;

namespace {

shell::Palette distinct() {
    shell::Palette p;
    for (int i = 0; i < 256; ++i) p[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)};
    return p;
}

// The rule written out as plainly as it can be: each expression in long
// double, stored as a double; the set's points take the entry of the angle
// of their final z.
shell::Rgb plainpixel(double cx, double cy, int limit, const shell::Palette& p) {
    double x = 0, y = 0, size = 0;
    int n = 0;
    while (!(size > 2) && n < limit) {
        const double nx = double(((long double)x + y) * ((long double)x - y) + cx);
        const double ny = double(2 * (long double)x * y + cy);
        x = nx;
        y = ny;
        size = double(sqrtl(double((long double)x * x + (long double)y * y)));
        ++n;
    }
    int e;
    if (size > 2) {
        e = n % 256;
    } else {
        const long double twopi = 6.283185307179586, inv = 0.15915494309189535;
        double angle = double(atan2l(y, x));
        if (angle < 0) angle = double(angle + twopi);
        e = int((long double)angle * 256 * inv) % 255 + 1;
    }
    return shell::Rgb{p[e][0], p[e][1], p[e][2]};
}

EscapeMap rendered(Renderer& r, const Location& l, int w, int h, bool angles) {
    r.start(l, w, h, angles);
    r.wait();
    EscapeMap map;
    r.collect(map);
    return map;
}

}  // namespace

TEST(Picture, RendererAgreesWithAPlainLoopOnRandomViews) {
    std::mt19937_64 rng(2027);
    std::uniform_real_distribution<double> re(-1.9, 0.4), im(-1.1, 1.1), zoom(-12, 0.3);
    const int limits[] = {64, 200, 600, 1500};
    const int w = 48, h = 36;
    const shell::Palette p = distinct();
    Renderer r(2);
    long inside = 0, outside = 0;
    for (int view = 0; view < 20; ++view) {
        Location l{re(rng), im(rng), std::pow(10.0, zoom(rng)), limits[view % 4]};
        if (view == 0) l = homelocation(w);
        const EscapeMap map = rendered(r, l, w, h, true);
        shell::Surface s(w, h);
        colourrows(map, 0, h, Colours{}, p, s);
        const Lattice at(l, w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(s.at(x, y), plainpixel(at.cx(x), at.cy(y), l.iterations, p))
                    << "view " << view << " pixel " << x << "," << y;
                (map.row(y)[x].count == 0 ? inside : outside)++;
            }
    }
    EXPECT_GT(inside, 2000);
    EXPECT_GT(outside, 2000);
}

TEST(Picture, SmoothColouringHasNoSteps) {
    // Along a row leaving the set the smooth colour changes by no more than
    // the palette's neighbouring entries do for the distance moved, where
    // escape-time colouring jumps a whole entry at every count.
    shell::Palette ramp;
    for (int i = 0; i < 256; ++i) ramp[i] = {uint8_t(i), 0, 0};
    Renderer r(1);
    const Location l{-0.2, 0.9, 0.5, 1000};
    const EscapeMap map = rendered(r, l, 320, 1, false);
    for (const double density : {0.1, 1.0, 3.0}) {
        Colours c;
        c.colouring = Colouring::smooth;
        c.density = density;
        int steps = 0;
        for (int x = 1; x < map.width; ++x) {
            const Escape a = map.values[x - 1], b = map.values[x];
            if (a.count == 0 || b.count == 0) continue;
            const double moved = std::abs((b.count + b.value) - (a.count + a.value)) * density;
            if (moved > 0.5) continue;  // too close to the set to tell
            const int ra = colourof(a, c, ramp).r, rb = colourof(b, c, ramp).r;
            if (std::abs(ra - rb) > 200) continue;  // round the ramp's end
            EXPECT_LE(std::abs(ra - rb), moved + 1.01) << density << " at " << x;
            steps += a.count != b.count;
        }
        EXPECT_GT(steps, 3) << density;
    }
}

TEST(Picture, CoarseFirstAndCancelledAtOnce) {
    // A deep busy view at a high limit: the first pass covers the picture
    // (every 16th pixel) long before the picture is done, and a cancel or a
    // new start does not wait for the rows under way.
    const Location deep{-0.743643887037151, 0.131825904205330, 1e-10, 200000};
    Renderer r(2);
    r.start(deep, 320, 240, false);
    while (r.passtime(0) < 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EscapeMap map;
    EXPECT_EQ(r.collect(map), std::make_pair(0, 240));  // every row shows a value
    EXPECT_FALSE(r.done());
    const auto before = std::chrono::steady_clock::now();
    r.start(homelocation(64), 64, 48, true);
    r.wait();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before)
            .count();
    EXPECT_LT(ms, 2000);  // the deep picture alone takes minutes
    EXPECT_EQ(r.collect(map).second, 48);
    EXPECT_EQ(map.width, 64);
    r.cancel();
    EXPECT_TRUE(r.done());
}
