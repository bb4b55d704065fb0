// Reading the designers' curve descriptions and spline trailers back: what
// counts as one, what is damaged and why, and what each gives.
#include "palettes/curves.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace palettes;

namespace {

const std::string kCurves =
    "Xo Gradient curve parameters\n"
    "\n"
    "Red: Sine\nphase: 2\nindex shift: 165\namplitude: 200\nvertical shift: 7\n"
    "\n"
    "Green: Bezier\n(0, y): 40\n(255, y): 128\ncontrol 1: (48, 224)\ncontrol 2: (100, 100)\n"
    "stretched\n"
    "\n"
    "Blue: Line\nNumber of line segments: 2\n(0, y): 0\n(255, y): 255\nMiddle (x, y): (128, 9)\n";

// Replaces the first `from` in text by `to`.
std::string edited(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

// A text, what reading it finds, and why it is damaged.
struct Case {
    std::string text;
    Found found;
    std::string why;
};
template <class T, size_t N>
void expectreadings(Reading<T> (*read)(std::string_view), const Case (&cases)[N]) {
    for (const Case& c : cases) {
        const Reading<T> r = read(c.text);
        EXPECT_EQ(r.found, c.found) << c.text.substr(0, 200);
        EXPECT_EQ(r.why, c.why);
    }
}

// A spline trailer: 768 columns, three channels of `n` points, the
// inversion, and no line end after it, as the designer writes it.
std::string splinetrailer(int n, bool inverted) {
    std::string s;
    for (int i = 0; i < kSplineColumns; ++i)
        s += std::to_string(i % 256) + " " + std::to_string(255 - i % 256) + " 7\n";
    const char* names[3] = {"Red", "Green", "Blue"};
    for (int c = 0; c < 3; ++c) {
        s += std::string("\n") + names[c] + "\n";
        for (int j = 0; j < n; ++j) {
            char line[80];
            std::snprintf(line, sizeof line, "dp[%d][0]: %.1f  dp[%d][1]: %.1f\n", j, 64.0 + j * 70,
                          j, 128.5 + c * 100);
            s += line;
        }
    }
    return s + (inverted ? "\nInversion: True" : "\nInversion: False");
}

}  // namespace

TEST(GradientCurves, ReadsEveryCurveTypeWithItsOptionalLines) {
    const Reading<GradientCurves> r = readgradientcurves(kCurves);
    ASSERT_EQ(r.found, Found::curves) << r.why;
    EXPECT_EQ(curvesummary(r.value.channel[0]), "Sine ct=0 sp=2 xsh=165 amp=200 ysh=7");
    EXPECT_EQ(curvesummary(r.value.channel[1]),
              "Bezier ct=2 bd=1 b0=40 b255=128 bc1x=48 bc1y=224 bc2x=100 bc2y=100 stretched");
    EXPECT_EQ(curvesummary(r.value.channel[2]), "Line ct=3 Ln=2 L0=0 L255=255 Lmx=128 Lmy=9");
    EXPECT_TRUE(r.value.rest.empty());

    // A quadratic Bezier and a one-segment line leave their extra lines out.
    const std::string shorter = edited(edited(kCurves, "control 2: (100, 100)\nstretched\n", ""),
                                       "Number of line segments: 2", "Number of line segments: 1");
    const Reading<GradientCurves> q =
        readgradientcurves(edited(shorter, "Middle (x, y): (128, 9)\n", ""));
    ASSERT_EQ(q.found, Found::curves) << q.why;
    EXPECT_EQ(curvesummary(q.value.channel[1]), "Bezier ct=2 bd=0 b0=40 b255=128 bc1x=48 bc1y=224");
    EXPECT_EQ(curvesummary(q.value.channel[2]), "Line ct=3 Ln=1 L0=0 L255=255");
}

TEST(GradientCurves, TakesOtherLineEndsPadSpacesAndLoadedChannels) {
    // Windows line ends, a byte-order mark, and the space a picture's
    // description is padded with.
    std::string crlf = "\xEF\xBB\xBF";
    for (char c : kCurves) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const Reading<GradientCurves> r = readgradientcurves(crlf + " ");
    ASSERT_EQ(r.found, Found::curves) << r.why;
    EXPECT_EQ(r.value.channel[0].fields[2], 165);

    // Channels loaded from a file, and the paragraph after them, which is
    // kept with LF line ends and without blank lines around it.
    const std::string mixed =
        "Xo Gradient curve parameters\r\n\r\nRed: Loaded\r\n\r\nGreen: Arc\r\nanchor: 3\r\n"
        "vertex: 200\r\n\r\nBlue: Loaded\r\n\r\nLoaded palette\r\nFile: a.ggr (GIMP gradient)  "
        "\r\n\r\n\r\n";
    const Reading<GradientCurves> m = readgradientcurves(mixed);
    ASSERT_EQ(m.found, Found::curves) << m.why;
    EXPECT_TRUE(m.value.channel[0].loaded);
    EXPECT_EQ(curvesummary(m.value.channel[1]), "Arc ct=1 aan=3 avt=200");
    EXPECT_EQ(curvesummary(m.value.channel[2]), "Loaded");
    EXPECT_EQ(m.value.rest, "Loaded palette\nFile: a.ggr (GIMP gradient)\n");
}

TEST(GradientCurves, DamageIsToldAndOtherTextIsNone) {
    const Case cases[] = {
        {"", Found::none, ""},
        {"GIMP Gradient\nName: x\n", Found::none, ""},
        {"Xo Gradient curve parameters\n", Found::damaged, "the Red channel is missing"},
        {edited(kCurves, "amplitude: 200\n", ""), Found::damaged,
         "Red: expected \"amplitude: N\", found \"vertical shift: 7\""},
        {edited(kCurves, "phase: 2", "phase: 3"), Found::damaged,
         "Red: \"phase: 3\" is out of range (1 ... 2)"},
        {edited(kCurves, "vertical shift: 7", "vertical shift: 256"), Found::damaged,
         "Red: \"vertical shift: 256\" is out of range (0 ... 255)"},
        {edited(kCurves, "index shift: 165", "index shift: -1"), Found::damaged,
         "Red: \"index shift: -1\" is out of range (0 ... 255)"},
        {edited(kCurves, "Green: Bezier", "Green: Spline"), Found::damaged,
         "Green: unknown curve type \"Spline\""},
        {edited(kCurves, "control 1: (48, 224)", "control 1: 48, 224"), Found::damaged,
         "Green: expected \"control 1: (N, M)\", found \"control 1: 48, 224\""},
        {edited(kCurves, "stretched", "stretched twice"), Found::damaged,
         "Green: unexpected line \"stretched twice\""},
        {edited(kCurves, "Middle (x, y): (128, 9)\n", ""), Found::damaged,
         "Blue: the line \"Middle (x, y): …\" is missing"},
        {edited(kCurves, "\nBlue: Line", "\nBlue: Loaded"), Found::damaged,
         "Blue: unexpected line \"Number of line segments: 2\""},
        {kCurves.substr(0, kCurves.find("\nBlue")), Found::damaged, "the Blue channel is missing"},
    };
    expectreadings(readgradientcurves, cases);
}

TEST(SplinePoints, ReadsPointsColumnsAndInversion) {
    const Reading<SplinePoints> r = readsplinepoints(splinetrailer(9, true));
    ASSERT_EQ(r.found, Found::curves) << r.why;
    EXPECT_TRUE(r.value.inverted);
    ASSERT_EQ(r.value.columns.size(), size_t(kSplineColumns));
    EXPECT_EQ(r.value.columns[300], (std::array<uint8_t, 3>{44, 211, 7}));
    for (int c = 0; c < 3; ++c) {
        ASSERT_EQ(r.value.points[c].size(), 9u);
        EXPECT_EQ(r.value.points[c][8].x, 64.0 + 8 * 70);
        EXPECT_EQ(r.value.points[c][8].y, 128.5 + c * 100);
    }
    EXPECT_EQ(r.value.text.substr(0, 35), "Red\ndp[0][0]: 64.0  dp[0][1]: 128.5");
    EXPECT_EQ(r.value.text.substr(r.value.text.size() - 17), "\nInversion: True\n");

    // Windows line ends and a final line end are the same trailer.
    std::string crlf;
    for (char c : splinetrailer(7, false) + "\n")
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const Reading<SplinePoints> w = readsplinepoints(crlf);
    ASSERT_EQ(w.found, Found::curves) << w.why;
    EXPECT_FALSE(w.value.inverted);
    EXPECT_EQ(w.value.points[2].size(), 7u);
}

TEST(SplinePoints, DamageIsToldAndOtherTextIsNone) {
    const std::string good = splinetrailer(9, false);
    const Case cases[] = {
        {"", Found::none, ""},
        {"Xo Gradient curve parameters\n\nRed: Sine\n", Found::none, ""},
        {edited(good, "0 255 7\n", "0 255\n"), Found::damaged,
         "column 0: expected three values 0 ... 255, found \"0 255\""},
        {edited(good, "0 255 7\n", "0 256 7\n"), Found::damaged,
         "column 0: expected three values 0 ... 255, found \"0 256 7\""},
        // The first 256 columns cut off: the points come 256 lines early.
        {good.substr(good.find("255 0 7\n") + 8), Found::damaged,
         "column 512: expected three values 0 ... 255, found \"\""},
        {edited(good, "dp[3][0]", "dp[4][0]"), Found::damaged,
         "Red: expected point 3, found \"dp[4][0]: 274.0  dp[3][1]: 128.5\""},
        {edited(good, "\nGreen\n", "\nGrey\n"), Found::damaged,
         "the Green channel's points are missing"},
        {splinetrailer(6, false), Found::damaged, "Red: 6 points, 7 ... 13 expected"},
        {splinetrailer(14, false), Found::damaged, "Red: 14 points, 7 ... 13 expected"},
        {edited(good, "Inversion: False", "Inversion: no"), Found::damaged,
         "expected \"Inversion: True\" or \"Inversion: False\", found \"Inversion: no\""},
        {edited(good, "\nInversion: False", ""), Found::damaged, "the inversion is missing"},
        {good + "\nmore", Found::damaged, "unexpected line after the inversion"},
    };
    expectreadings(readsplinepoints, cases);
}
