// How the designers' palettes were made, read back from the text they save
// with them: the gradient designer's description of its three channel
// curves (a MAP trailer, a picture's description) and the B-spline
// designer's MAP trailer with its data points. The types here are plain
// records; each program turns them into its own model.
//
// A reading has three outcomes: the text is not one of these (most palette
// files), it is one but damaged (a line missing, a number out of range),
// or it gives the curves. A damaged text says why on one line, so that a
// program can load the colours anyway and tell the user what it left out.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace palettes {

enum class Found { none, damaged, curves };

template <class T>
struct Reading {
    Found found = Found::none;
    T value{};
    std::string why;  // when damaged: one line saying what is wrong
};

// ---- The gradient designer's curves

// The first line of every curve description.
constexpr std::string_view kCurvesHeader = "Xo Gradient curve parameters";
// The type name a channel that was loaded from a file, and follows no curve,
// has in its heading.
constexpr std::string_view kLoadedType = "Loaded";

// The numbers of one channel's curve record, in the designer's order: curve
// type (0 sine, 1 arc, 2 Bezier, 3 line), sine phase, x shift, amplitude, y
// shift, arc anchor, vertex, Bezier degree (0 quadratic, 1 cubic), the
// Bezier ends and two controls, the line's segment count, ends and middle.
constexpr int kCurveFields = 19;
extern const char* const kCurveFieldNames[kCurveFields];

struct CurveRecord {
    bool loaded = false;  // the channel's colours came from a file: no curve
    std::array<int32_t, kCurveFields> fields{};
    // Which numbers the description gives: the type, and those its curve
    // type reads. The others are not said.
    std::array<bool, kCurveFields> given{};
    bool stretched = false;  // a Bezier curve whose heights are stretched
};

struct GradientCurves {
    CurveRecord channel[3];  // red, green, blue
    // What follows the three channels: where loaded channels came from.
    std::string rest;
};

// Reads a curve description. Line ends of any system and white space at
// the ends of lines are taken (a picture's description may end in a pad
// space); every number must lie within its field's range (1 or 2 for the
// sine phase and the line's segment count, 0 ... 255 for the others).
Reading<GradientCurves> readgradientcurves(std::string_view text);

// The channel's record as one line: "Sine ct=0 sp=1 xsh=165 amp=255 ysh=0",
// or "Loaded".
std::string curvesummary(const CurveRecord& r);

// ---- The B-spline designer's points

constexpr int kSplineColumns = 768;  // curve values per screen column
constexpr int kMinSplinePoints = 7, kMaxSplinePoints = 13;

struct SplinePoint {
    double x, y;
};

struct SplinePoints {
    // Each channel's data points (7 ... 13), with the copies of the end
    // points at both ends, as the trailer lists them.
    std::vector<SplinePoint> points[3];
    bool inverted = false;
    // The value of each channel's curve per screen column, as written: 255 - v
    // when the colours were inverted.
    std::vector<std::array<uint8_t, 3>> columns;
    // The points and the inversion as the trailer says them, from the
    // "Red" line on: the part a person reads.
    std::string text;
};

// Reads the trailer of a MAP file the B-spline designer wrote: 768 column
// lines, then each channel's points, then the inversion. A text is taken for
// one when it names the red channel's first point ("Red", then "dp[0][0]:").
Reading<SplinePoints> readsplinepoints(std::string_view trailer);

}  // namespace palettes
