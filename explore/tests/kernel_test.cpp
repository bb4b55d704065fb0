// The kernels: every one gives the rule's answer for every point, whatever
// the limit and whether the angles are asked for; the vector kernel's steps
// are the rule's wherever it says it is certain of them.
#include "explore/kernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "explore/kernellanes.h"
#include "explore/rule.h"

using namespace explore;

TEST(Kernel, EveryKernelGivesTheRulesAnswers) {
    // Runs of random points round the set's border, where orbits take every
    // length, at limits from the smallest up; with and without the angles.
    std::mt19937_64 rng(27);
    std::uniform_real_distribution<double> re(-2.1, 0.6), im(-1.2, 1.2), zoom(-9, 0);
    const int limits[] = {16, 100, 512, 3000};
    int escapedseen = 0, insideseen = 0, bulbsseen = 0;
    for (int run = 0; run < 24; ++run) {
        // A row of 61 points, at a random place and spacing.
        const double step = std::pow(10.0, zoom(rng)), x0 = re(rng), y = im(rng);
        std::vector<double> cx(61);
        for (size_t i = 0; i < cx.size(); ++i) cx[i] = x0 + double(i) * step;
        KernelOptions o;
        o.iterations = limits[run % 4];
        o.angles = run % 3 != 0;
        std::vector<Escape> want(cx.size());
        for (size_t i = 0; i < cx.size(); ++i) {
            const RulePoint p = rulepoint(cx[i], y, o.iterations);
            want[i].count = p.escaped ? uint32_t(p.iterations) : 0;
            want[i].value = p.escaped  ? escapefraction(p.zx, p.zy, cx[i], y)
                            : o.angles ? float(angleentry(p.zx, p.zy))
                                       : 0.0f;
            escapedseen += p.escaped;
            insideseen += !p.escaped;
            if (insidebulbs(cx[i], y)) {
                ++bulbsseen;
                ASSERT_FALSE(p.escaped) << cx[i] << " " << y;
            }
        }
        for (KernelKind kind : {KernelKind::rule, KernelKind::lanes, KernelKind::best}) {
            o.kind = kind;
            std::vector<Escape> got(cx.size());
            ASSERT_TRUE(computerun(PointRun{cx.data(), y, int(cx.size())}, o, got.data()));
            for (size_t i = 0; i < cx.size(); ++i) {
                ASSERT_EQ(got[i].count, want[i].count) << run << " " << int(kind) << " " << i;
                ASSERT_EQ(got[i].value, want[i].value) << run << " " << int(kind) << " " << i;
            }
        }
    }
    EXPECT_GT(escapedseen, 300);
    EXPECT_GT(insideseen, 100);
    EXPECT_GT(bulbsseen, 20);
}

TEST(Kernel, EscapeFractionIsContinuousAcrossSteps) {
    // Along a line of points leaving the set, the count plus its fraction
    // moves by small amounts even where the count jumps by one.
    const double y = 0.0;
    double last = -1;
    int jumps = 0;
    for (int i = 0; i <= 2000; ++i) {
        const double cx = 0.40 + i * 0.0005;
        const RulePoint p = rulepoint(cx, y, 1000);
        ASSERT_TRUE(p.escaped);
        const double v = p.iterations + escapefraction(p.zx, p.zy, cx, y);
        ASSERT_GT(escapefraction(p.zx, p.zy, cx, y), -0.5);
        ASSERT_LT(escapefraction(p.zx, p.zy, cx, y), 1.0);
        if (last >= 0) {
            EXPECT_LT(std::abs(v - last), 0.03) << cx;
            jumps += int(v) != int(last);
        }
        last = v;
    }
    EXPECT_GE(jumps, 4);
}

TEST(Kernel, CancelStopsALongRun) {
    std::vector<double> cx(64, -0.1);  // inside: every point runs to the limit
    std::vector<Escape> out(cx.size());
    std::atomic<bool> cancel{true};
    KernelOptions o;
    o.iterations = kMaxIterations;
    o.cancel = &cancel;
    EXPECT_FALSE(computerun(PointRun{cx.data(), 0.65, int(cx.size())}, o, out.data()));
}

TEST(Kernel, EscapeThresholdIsTheSquareRootTest) {
    // The kernels compare the sum of squares with one threshold instead of
    // taking the square root: the two tests agree on every double near it.
    const double t = escapesum();
    EXPECT_GT(t, 4.0);
    EXPECT_LT(t, 4.0000000001);
    double v = 4.0;
    for (int k = 0; k < 64; ++k, v = std::nextafter(v, 8.0))
        EXPECT_EQ(v >= t, static_cast<double>(sqrtl(v)) > 2) << k;
}

namespace {

// Checks a batch of four steps of the vector kernel against the rule.
struct StepChecker {
    double x[4], y[4], cx[4], cy[4];
    int filled = 0;
    long certain = 0, total = 0;

    void add(double a, double b, double c, double d) {
        x[filled] = a;
        y[filled] = b;
        cx[filled] = c;
        cy[filled] = d;
        if (++filled == 4) flush();
    }
    void flush() {
        double zx[4], zy[4];
        int below = 0;
        const int sure = kerneldetail::vectorstep(x, y, cx, cy, zx, zy, &below);
        for (int k = 0; k < filled; ++k) {
            ++total;
            if (!((sure >> k) & 1)) continue;
            ++certain;
            double rx = x[k], ry = y[k];
            exactstep(rx, ry, cx[k], cy[k]);
            ASSERT_EQ(std::memcmp(&rx, &zx[k], 8), 0) << x[k] << " " << y[k] << " " << cx[k];
            ASSERT_EQ(std::memcmp(&ry, &zy[k], 8), 0) << x[k] << " " << y[k] << " " << cy[k];
            if ((below >> k) & 1) {
                ASSERT_FALSE(exactescaped(rx, ry));
            }
        }
        filled = 0;
    }
};

}  // namespace

TEST(Kernel, VectorStepIsTheRuleWhereverItIsCertain) {
    if (!kerneldetail::havevector()) GTEST_SKIP() << "no AVX2 on this processor";
    StepChecker check;
    // States met along real orbits of the picture.
    for (int j = 0; j < 257; j += 8)
        for (int i = 0; i < 257; i += 8) {
            const double cx = latticecx(i), cy = latticecy(j);
            double zx = 0, zy = 0;
            for (int n = 0; n < 512 && !exactescaped(zx, zy); ++n) {
                check.add(zx, zy, cx, cy);
                exactstep(zx, zy, cx, cy);
            }
        }
    check.flush();
    EXPECT_GT(check.certain, check.total * 9 / 10);

    // Random states, with the awkward cases mixed in: zeros, tiny and huge
    // ratios between x and y, x = +-y, powers of two, exact halves.
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> u(-2.0, 2.0);
    std::uniform_int_distribution<int> pick(0, 9), expo(-60, 1);
    auto value = [&]() -> double {
        switch (pick(rng)) {
            case 0:
                return 0.0;
            case 1:
                return std::ldexp(u(rng), expo(rng));
            case 2:
                return std::ldexp(1.0, expo(rng)) * (u(rng) < 0 ? -1 : 1);
            case 3:
                return std::ldexp(std::round(u(rng) * 4096), -12);
            case 4:
                return std::ldexp(u(rng), -450);
            default:
                return u(rng);
        }
    };
    long before = check.certain;
    for (int n = 0; n < 400000; ++n) {
        const double a = value(), b = pick(rng) == 0 ? a : value();
        check.add(a, pick(rng) == 1 ? -a : b, value() - 0.5, value() * 0.25);
    }
    check.flush();
    EXPECT_GT(check.certain - before, 100000);
}
