// The B-spline designer's MAP file as its save composes it, compared byte
// for byte with a file composed here with printf.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "mainwindow.h"
#include "palettes/palettes.h"

namespace {

struct Data {
    shell::Palette palette{};
    uint8_t spectrum[768][3] = {};
    int nd[3] = {7, 13, 10};
    double dp[3][13][2] = {};

    Data() {
        for (int i = 0; i < 256; ++i)
            palette[i] = {uint8_t(i), uint8_t(i * 3 + 1), uint8_t(255 - i / 2)};
        palette[5] = {0, 128, 255};
        for (int i = 0; i < 768; ++i)
            for (int c = 0; c < 3; ++c) spectrum[i][c] = uint8_t(i * (c + 1) / 3);
        for (int k = 0; k < 3; ++k)
            for (int j = 0; j < 13; ++j) {
                dp[k][j][0] = 64 + 70.35 * j + k;
                dp[k][j][1] = 639 - 37.25 * j;
            }
        // Values whose rounding to one decimal is easy to get wrong: a tie
        // that is exact in binary, and decimals stored just above or below.
        dp[0][0][0] = 127.25;
        dp[0][0][1] = 0.05;
        dp[0][1][0] = 895.95;
        dp[0][1][1] = 128.0;
    }
};

// The file as its format reads, with printf doing the formatting.
std::string expected(const Data& d, int invert) {
    auto v = [&](int x) { return invert ? 255 - x : x; };
    char buf[128];
    std::string s;
    for (const auto& e : d.palette) {
        snprintf(buf, sizeof buf, "%d %d %d\n", v(e[0]), v(e[1]), v(e[2]));
        s += buf;
    }
    s += "\n";
    for (const auto& c : d.spectrum) {
        snprintf(buf, sizeof buf, "%d %d %d\n", v(c[0]), v(c[1]), v(c[2]));
        s += buf;
    }
    const char* names[3] = {"Red", "Green", "Blue"};
    for (int k = 0; k < 3; ++k) {
        snprintf(buf, sizeof buf, "\n%s\n", names[k]);
        s += buf;
        for (int j = 0; j < d.nd[k]; ++j) {
            snprintf(buf, sizeof buf, "dp[%d][0]: %.1f  dp[%d][1]: %.1f\n", j, d.dp[k][j][0], j,
                     d.dp[k][j][1]);
            s += buf;
        }
    }
    s += invert ? "\nInversion: True" : "\nInversion: False";
    return s;
}

// The save's MAP file: the palette as shown, and the trailer.
std::string text(const Data& d, int invert) {
    knotloom::Model m;
    m.palette = d.palette;
    std::memcpy(m.spectrum, d.spectrum, sizeof m.spectrum);
    std::memcpy(m.nd, d.nd, sizeof m.nd);
    std::memcpy(m.dp, d.dp, sizeof m.dp);
    m.invert = invert;
    return palettes::encodepalette(palettes::Format::map, knotloom::shown(m, m.palette), "",
                                   knotloom::splinetrailer(m))
        .value();
}

}  // namespace

TEST(KnotloomMapText, MatchesTheFormatWithInversionOffAndOn) {
    Data d;
    std::string off = text(d, 0);
    EXPECT_EQ(off, expected(d, 0));
    EXPECT_NE(off.find("\nRed\ndp[0][0]: 127.2  dp[0][1]: 0.1\ndp[1][0]: 896.0  dp[1][1]: 128.0\n"),
              std::string::npos);
    EXPECT_NE(off.find("\n0 128 255\n"), std::string::npos);
    EXPECT_EQ(off.substr(off.size() - 17), "\nInversion: False");

    std::string on = text(d, 1);
    EXPECT_EQ(on, expected(d, 1));
    EXPECT_EQ(on.substr(0, 10), "255 254 0\n");              // entry (0, 1, 255)
    EXPECT_NE(on.find("\n255 127 0\n"), std::string::npos);  // entry (0, 128, 255)
    EXPECT_EQ(on.substr(on.size() - 16), "\nInversion: True");

    // Each channel writes exactly its own number of points.
    size_t green = on.find("\nGreen\n"), blue = on.find("\nBlue\n");
    EXPECT_LT(on.find("dp[6][1]"), green);
    EXPECT_GT(on.find("dp[7][0]"), green);
    EXPECT_EQ(on.find("dp[10][0]", blue), std::string::npos);
}
