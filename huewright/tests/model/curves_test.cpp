// Sine tables, the start-up palette, sine scaling, arcs and lines.
#include <gtest/gtest.h>

#include "huewright/model/model.h"
#include "testutil.h"

using namespace huewright;
using namespace huewright::testutil;
using V = std::vector<int>;

namespace {

V row(const Model& m, int r) {
    return V(m.sinetable[r], m.sinetable[r] + 256);
}

}  // namespace

TEST(ModelSine, TablesHoldTheirTellingValues) {
    Model m;
    m.calcsine();
    V s0 = row(m, 0), s1 = row(m, 1);
    for (int k : {0, 1, 2, 3, 4, 5, 251, 252, 253, 254, 255}) EXPECT_EQ(s0[k], 0) << k;
    EXPECT_EQ(s0[6], 1);
    EXPECT_EQ(s0[7], 1);
    EXPECT_EQ(s0[64], 127);
    EXPECT_EQ(s0[65], 131);
    for (int k = 124; k <= 132; ++k) EXPECT_EQ(s0[k], 255) << k;

    for (int k : {0, 1, 2, 126, 127, 128, 129, 130, 254, 255}) EXPECT_EQ(s1[k], 0) << k;
    EXPECT_EQ(s1[3], 1);
    EXPECT_EQ(s1[32], 127);
    for (int k = 62; k <= 66; ++k) EXPECT_EQ(s1[k], 255) << k;
    for (int k = 190; k <= 194; ++k) EXPECT_EQ(s1[k], 255) << k;

    // Both rows are symmetric, and a second call builds the same tables.
    for (int k = 0; k < 256; ++k) {
        EXPECT_EQ(s0[k], s0[(256 - k) % 256]) << k;
        EXPECT_EQ(s1[k], s1[(256 - k) % 256]) << k;
    }
    m.calcsine();
    EXPECT_EQ(row(m, 0), s0);
    EXPECT_EQ(row(m, 1), s1);
}

TEST(ModelSine, StartupPalette) {
    Model m;
    m.startuppalette();
    auto entry = [&](int i) { return V{m.palette[i][0], m.palette[i][1], m.palette[i][2]}; };
    EXPECT_EQ(entry(0), (V{206, 204, 0}));
    EXPECT_EQ(entry(128), (V{49, 51, 255}));
    EXPECT_EQ(entry(255), (V{204, 206, 0}));
    const int first255[3] = {33, 214, 124};
    for (int c = 0; c < 3; ++c) {
        V col = column(m, c);
        int first = -1;
        for (int i = 0; i < 256 && first < 0; ++i)
            if (col[i] == 255) first = i;
        EXPECT_EQ(first, first255[c]) << c;
    }
    // The same columns as reading the phase-1 table at 421 - i, 346 - i, 256 - i.
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(m.palette[i][0], m.sinetable[0][(421 - i) % 256]);
        EXPECT_EQ(m.palette[i][1], m.sinetable[0][(346 - i) % 256]);
        EXPECT_EQ(m.palette[i][2], m.sinetable[0][(256 - i) % 256]);
    }
    // Start-up state of the rest of the model.
    EXPECT_EQ(m.cndx, 0);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(m.p[c], startupparameters[c]);
        EXPECT_EQ(m.stretchflag[c], 0);
        EXPECT_EQ(m.okdisplay[c], 1);
    }
}

TEST(ModelSine, Scaling) {
    auto minmax = [](const V& v) {
        return std::make_pair(*std::min_element(v.begin(), v.end()),
                              *std::max_element(v.begin(), v.end()));
    };
    EXPECT_EQ(column(applied(sine(1, 40, 0, 77)), 0), V(256, 77));
    // The largest table value, 255, scales to 0 with amplitude 1.
    EXPECT_EQ(column(applied(sine(1, 40, 1, 9)), 0), V(256, 9));
    EXPECT_EQ(column(applied(sine(2, 40, 1, 0)), 0), V(256, 0));
    EXPECT_EQ(minmax(column(applied(sine(1, 10, 128, 127)), 0)), std::make_pair(127, 254));
    EXPECT_EQ(minmax(column(applied(sine(2, 10, 128, 0)), 0)), std::make_pair(0, 127));
    EXPECT_EQ(minmax(column(applied(sine(1, 10, 254, 1)), 0)), std::make_pair(1, 255));

    Model m = applied(sine(1, 0, 255, 0), 1);
    V col = column(m, 1);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(col[i], m.sinetable[0][(256 - i) % 256]) << i;
    EXPECT_EQ(col[0], 0);
    for (int i = 124; i <= 132; ++i) EXPECT_EQ(col[i], 255) << i;

    // A larger x shift moves the curve to higher indices; phase 2 reads row 1.
    Model s = applied(sine(2, 30, 255, 0), 2);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(s.palette[i][2], s.sinetable[1][((i - 30) % 256 + 256) % 256]) << i;
}

TEST(ModelArc, StartupRecordAnchor0Vertex96) {
    Model m = applied(arc(0, 96));
    V col = column(m, 0);
    EXPECT_EQ(slice(col, 0, 8), (V{0, 3, 6, 9, 11, 14, 16, 18}));
    for (int i = 112; i <= 126; ++i) EXPECT_EQ(col[i], 95) << i;
    for (int i = 129; i <= 143; ++i) EXPECT_EQ(col[i], 95) << i;
    EXPECT_EQ(col[127], 96);
    EXPECT_EQ(col[128], 96);
    EXPECT_EQ(col, V(m.arctable, m.arctable + 256));
}

TEST(ModelArc, StretchedAndDescending) {
    V up = column(applied(arc(0, 255)), 0);
    EXPECT_EQ(slice(up, 0, 8), (V{0, 30, 44, 54, 62, 69, 76, 82}));
    for (int i = 117; i <= 126; ++i) EXPECT_EQ(up[i], 254) << i;
    EXPECT_EQ(up[127], 255);
    EXPECT_EQ(up[128], 255);

    V down = column(applied(arc(255, 0)), 0);
    EXPECT_EQ(slice(down, 0, 8), (V{255, 224, 210, 200, 192, 185, 178, 172}));
    for (int i = 117; i <= 138; ++i) EXPECT_EQ(down[i], 0) << i;

    // A difference of exactly 128 is a semicircle; 129 is stretched.
    EXPECT_EQ(slice(column(applied(arc(100, 228)), 0), 0, 6), (V{100, 115, 122, 127, 131, 135}));
    EXPECT_EQ(slice(column(applied(arc(100, 229)), 0), 0, 6), (V{100, 102, 105, 107, 110, 112}));

    EXPECT_EQ(column(applied(arc(77, 77)), 0), V(256, 77));
}

TEST(ModelArc, IsSymmetric) {
    for (auto [a, v] : {std::pair{0, 96},
                        {0, 255},
                        {255, 0},
                        {100, 228},
                        {100, 229},
                        {13, 200},
                        {250, 3},
                        {128, 0},
                        {40, 41}}) {
        V col = column(applied(arc(a, v)), 0);
        for (int i = 0; i < 256; ++i) ASSERT_EQ(col[i], col[255 - i]) << a << " " << v << " " << i;
        EXPECT_EQ(col[0], a);
        EXPECT_EQ(col[127], v);
    }
}

TEST(ModelLine, OneSegment) {
    V up = column(applied(line(1, 0, 255, 128, 190)), 0);
    V down = column(applied(line(1, 255, 0, 128, 190)), 0);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(up[i], i);
        EXPECT_EQ(down[i], 255 - i);
    }
    V low = column(applied(line(1, 0, 33, 128, 190)), 0);
    EXPECT_EQ(low[85], 10);
    EXPECT_EQ(low[170], 21);
    EXPECT_EQ(low[255], 32);
}

TEST(ModelLine, TwoSegments) {
    V col = column(applied(line(2, 0, 255, 128, 190)), 0);
    EXPECT_EQ(slice(col, 0, 3), (V{0, 1, 2}));
    EXPECT_EQ(slice(col, 126, 5), (V{187, 188, 190, 190, 191}));
    EXPECT_EQ(col[255], 254);

    V start = column(applied(line(2, 10, 200, 0, 50)), 0);
    EXPECT_EQ(start[0], 50);
    EXPECT_EQ(start[255], 199);

    V end = column(applied(line(2, 10, 200, 255, 50)), 0);
    EXPECT_EQ(slice(end, 0, 3), (V{10, 10, 10}));
    EXPECT_EQ(end[255], 50);
}

TEST(ModelChannel, OnlyColumnCndxChanges) {
    const Parameters records[] = {sine(2, 17, 200, 30), arc(20, 240), line(2, 5, 250, 60, 200),
                                  bezier(1, 10, 240, 30, 250, 200, 5),
                                  bezier(0, 200, 20, 90, 10, 100, 100)};
    for (int c = 0; c < 3; ++c) {
        for (const Parameters& ps : records) {
            Model m;
            m.startuppalette();
            shell::Palette before = m.palette;
            m.cndx = c;
            m.calcchannel(ps);
            bool changed = false;
            for (int i = 0; i < 256; ++i)
                for (int k = 0; k < 3; ++k) {
                    if (k != c)
                        ASSERT_EQ(m.palette[i][k], before[i][k]) << c << " " << ps.ct;
                    else
                        changed |= m.palette[i][k] != before[i][k];
                }
            EXPECT_TRUE(changed) << c << " " << ps.ct;
        }
    }
}

TEST(ModelChannel, UnknownCurveTypeIsALine) {
    V expected = column(applied(line(2, 5, 250, 60, 200)), 0);
    for (int ct : {4, 17, -1}) {
        Parameters ps = line(2, 5, 250, 60, 200);
        ps.ct = ct;
        EXPECT_EQ(column(applied(ps), 0), expected) << ct;
    }
}

TEST(ModelChannel, SwitchingCurveTypeAwayAndBackRestoresTheCurve) {
    Model m;
    m.startuppalette();
    m.cndx = 1;
    Parameters t = bezier(1, 10, 240, 30, 250, 200, 5);
    m.calcchannel(t);
    const Parameters kept = t;
    V bez = column(m, 1);
    for (int ct : {0, 1, 3}) {
        t.ct = ct;
        m.calcchannel(t);
        EXPECT_NE(column(m, 1), bez) << ct;
        t.ct = 2;
        m.calcchannel(t);
        EXPECT_EQ(column(m, 1), bez) << ct;
        EXPECT_EQ(t, kept);
    }
}
