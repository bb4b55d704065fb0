// The curve description and the MAP file the gradient designer writes with
// it, compared byte for byte.
#include "huewright/model/description.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "huewright/model/curvetypes.h"
#include "palettes/map.h"
#include "shell/headless/testing.h"
#include "shell/io/atomicfile.h"
#include "testutil.h"

using namespace huewright;

namespace {

// The start-up palette, worked out here from the sine rule on its own: the
// phase-1 table with the argument stored as a double and the rest evaluated
// in extended precision, then every channel read at (256 - i + xsh) mod 256.
shell::Palette startuppalette() {
    uint8_t sine[256];
    for (int k = 0; k < 256; ++k) {
        double a = static_cast<double>(static_cast<long double>((k + 192) % 256) *
                                       static_cast<long double>(M_PI) *
                                       static_cast<long double>(1.0 / 128));
        sine[k] =
            static_cast<uint8_t>(static_cast<int>((sinl(a) + 1) * static_cast<long double>(127.9)));
    }
    const int xsh[3] = {165, 90, 0};
    shell::Palette pal{};
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c) pal[i][c] = sine[(256 - i + xsh[c]) % 256];
    return pal;
}

const char* const kStartupDescription =
    "Xo Gradient curve parameters\n"
    "\n"
    "Red: Sine\n"
    "phase: 1\n"
    "index shift: 165\n"
    "amplitude: 255\n"
    "vertical shift: 0\n"
    "\n"
    "Green: Sine\n"
    "phase: 1\n"
    "index shift: 90\n"
    "amplitude: 255\n"
    "vertical shift: 0\n"
    "\n"
    "Blue: Sine\n"
    "phase: 1\n"
    "index shift: 0\n"
    "amplitude: 255\n"
    "vertical shift: 0\n";

std::string describe(const Parameters (&p)[3], const int (&stretch)[3]) {
    std::string s = "previous text that must go";
    writedescription(s, p, stretch);
    return s;
}

}  // namespace

TEST(MapWrite, StartupFileIsTripletsEmptyLineAndDescription) {
    shell::Palette pal = startuppalette();
    // The rule reproduces the known start-up colours.
    EXPECT_EQ(pal[0], (std::array<uint8_t, 3>{206, 204, 0}));
    EXPECT_EQ(pal[128], (std::array<uint8_t, 3>{49, 51, 255}));
    EXPECT_EQ(pal[255], (std::array<uint8_t, 3>{204, 206, 0}));
    const int firstfull[3] = {33, 214, 124};
    for (int c = 0; c < 3; ++c) {
        int i = 0;
        while (i < 256 && pal[i][c] != 255) ++i;
        EXPECT_EQ(i, firstfull[c]) << c;
    }

    const int flat[3] = {0, 0, 0};
    std::string description = describe(startupparameters, flat);
    EXPECT_EQ(description, kStartupDescription);

    std::string expected;
    for (const auto& e : pal)
        expected +=
            std::to_string(e[0]) + " " + std::to_string(e[1]) + " " + std::to_string(e[2]) + "\n";
    expected += "\n";
    expected += kStartupDescription;

    shell::testing::ScratchDir dir;
    const std::string path = dir.path("startup.map");
    ASSERT_TRUE(shell::writefileatomically(path, palettes::maptext(pal, description)).ok());
    const std::string written = shell::testing::readfile(path);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(written.substr(0, 10), "206 204 0\n");
}

TEST(MapWrite, DescriptionOfEveryCurveType) {
    Parameters p[3] = {startupparameters[0], startupparameters[1], startupparameters[2]};
    int stretch[3] = {0, 0, 0};

    // Arc; quadratic Bezier, not stretched (three parameter lines); one
    // segment line.
    p[0].ct = 1;
    p[1].ct = 2;
    p[2].ct = 3;
    EXPECT_EQ(describe(p, stretch),
              "Xo Gradient curve parameters\n"
              "\nRed: Arc\n"
              "anchor: 0\nvertex: 96\n"
              "\nGreen: Bezier\n"
              "(0, y): 128\n(255, y): 128\ncontrol 1: (48, 224)\n"
              "\nBlue: Line\n"
              "Number of line segments: 1\n(0, y): 128\n(255, y): 128\n");

    // Cubic and stretched Bezier (five lines); two-segment line; a stretch
    // flag on a channel that is not a Bezier says nothing.
    p[0].ct = 2;
    p[0].bd = 1;
    stretch[0] = 1;
    p[1].ct = 0;
    p[1].sp = 2;
    p[1].amp = 128;
    p[1].ysh = 127;
    stretch[1] = 1;
    p[2].Ln = 2;
    EXPECT_EQ(describe(p, stretch),
              "Xo Gradient curve parameters\n"
              "\nRed: Bezier\n"
              "(0, y): 128\n(255, y): 128\ncontrol 1: (32, 180)\ncontrol 2: (224, 48)\n"
              "stretched\n"
              "\nGreen: Sine\n"
              "phase: 2\nindex shift: 90\namplitude: 128\nvertical shift: 127\n"
              "\nBlue: Line\n"
              "Number of line segments: 2\n(0, y): 128\n(255, y): 128\n"
              "Middle (x, y): (128, 0)\n");
}

// Every record the Parameters dialog can make reads back from its
// description as itself, and makes the same column again; a record it
// cannot make is refused.
TEST(MapWrite, DescriptionsReadBackAsTheRecordsTheyDescribe) {
    std::mt19937 rng(11);
    auto any = [&](int low, int high) { return low + int(rng() % unsigned(high - low + 1)); };
    for (int round = 0; round < 400; ++round) {
        Parameters p[3];
        int stretch[3];
        for (int c = 0; c < 3; ++c) {
            for (int f = 0; f < 19; ++f) reinterpret_cast<int32_t*>(&p[c])[f] = any(0, 255);
            p[c].ct = any(0, 3);
            p[c].sp = any(1, 2);
            p[c].bd = any(0, 1);
            p[c].Ln = any(1, 2);
            p[c].ysh = any(0, 255 - p[c].amp);
            stretch[c] = any(0, 1);
        }
        std::string text;
        writedescription(text, p, stretch);
        const palettes::Reading<palettes::GradientCurves> r = palettes::readgradientcurves(text);
        ASSERT_EQ(r.found, palettes::Found::curves) << text << r.why;

        Parameters q[3] = {startupparameters[0], startupparameters[1], startupparameters[2]};
        int qstretch[3] = {0, 0, 0}, ok[3] = {0, 0, 0};
        shell::Palette made{};
        for (int c = 0; c < 3; ++c) {
            const Model want = testutil::applied(p[c], c, stretch[c]);
            for (int i = 0; i < 256; ++i) made[i][c] = want.palette[i][c];
        }
        const shell::Palette asked = made;
        std::string why;
        ASSERT_TRUE(rebuildcurves(r.value, q, qstretch, ok, made, why)) << why;
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(q[c].ct, p[c].ct);
            EXPECT_EQ(ok[c], 1);
        }
        EXPECT_EQ(made, asked) << text;
        // The fields a curve's description leaves out (a quadratic Bezier's
        // second control) keep what they held; all the others are read.
        std::string again;
        writedescription(again, q, qstretch);
        EXPECT_EQ(again, text);
    }

    // Amplitude and vertical shift beyond 255 together: no dialog makes it.
    const std::string bad =
        "Xo Gradient curve parameters\n\nRed: Sine\nphase: 1\nindex shift: 0\namplitude: 200\n"
        "vertical shift: 100\n\nGreen: Loaded\n\nBlue: Loaded\n";
    Parameters q[3] = {startupparameters[0], startupparameters[1], startupparameters[2]};
    int s[3] = {1, 1, 1}, ok[3] = {1, 1, 1};
    shell::Palette made{};
    std::string why;
    EXPECT_FALSE(rebuildcurves(palettes::readgradientcurves(bad).value, q, s, ok, made, why));
    EXPECT_EQ(why, "Red: the numbers of its Sine curve are out of range");
    EXPECT_EQ(q[0], startupparameters[0]);
    EXPECT_EQ(ok[1], 1);
}

TEST(MapWrite, ALoadedPaletteSaysWhereItCameFromAndWhatItKept) {
    LoadedPalette l;
    l.file = "sun.ggr";
    l.format = "GIMP gradient";
    l.sampled = true;
    EXPECT_EQ(describeloaded(l),
              "Loaded palette\nFile: sun.ggr (GIMP gradient)\nEntries: 256, "
              "sampled from the gradient\n");
    l.sampled = false;
    l.dropped = 44;
    // The file's own lines are cleaned up and indented, and a long
    // description is cut short.
    l.description = "\n\nfirst\tline  \r\n\nthird \x01 line\n";
    for (int i = 0; i < 50; ++i) l.description += "more\n";
    l.name = "Sun";
    l.curvesnottaken = "they do not make the file's colours";
    const std::string d = describeloaded(l);
    const std::string start =
        "Loaded palette\nFile: sun.ggr (GIMP gradient)\nName: Sun\nDescription:\n  first\tline\n"
        "\n  third   line\n  more\n";
    EXPECT_EQ(d.substr(0, start.size()), start);
    EXPECT_NE(d.find("  more\n  (13 more lines in the file)\nEntries: 256 of the file's 300 "
                     "colours\nCurves not taken: they do not make the file's colours\n"),
              std::string::npos)
        << d;
}
