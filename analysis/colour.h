// Colour maths of the palette analysis, all in double: the sRGB transfer
// function, OKLab and its colour difference, colour-vision deficiency
// simulation, and OKLab lightness shown as a grey.
#pragma once

#include <array>
#include <cstdint>

namespace analysis {

// One palette entry: red, green, blue bytes.
using Rgb8 = std::array<uint8_t, 3>;

// Linear-light RGB, each channel 0 ... 1 for colours inside the sRGB gamut.
struct Linear {
    double r = 0, g = 0, b = 0;
};

// OKLab: L is the perceived lightness (0 black, 1 white), a and b the
// green-red and blue-yellow opponent axes.
struct Lab {
    double L = 0, a = 0, b = 0;
};

// The exact sRGB decoding of an 8-bit channel (v / 255 through the piecewise
// transfer function).
double srgbtolinear(uint8_t v);
Linear srgbtolinear(Rgb8 c);

// A linear channel clamped to 0 ... 1, encoded and rounded to the nearest
// 8-bit value (halves up). NaN gives 0.
uint8_t lineartosrgb8(double linear);

Lab lineartooklab(const Linear& c);
inline Lab oklab(Rgb8 c) {
    return lineartooklab(srgbtolinear(c));
}

// The OKLab colour difference: the Euclidean distance in OKLab.
double oklabdistance(const Lab& x, const Lab& y);

enum class Deficiency { protan, deutan, tritan };

// How the colour looks with complete protanopia, deuteranopia or
// tritanopia (the physiological model of Machado, Oliveira and Fernandes,
// 2009, at severity 1): the model's matrix applied to linear RGB, the result
// clamped into the gamut and encoded back to 8-bit sRGB.
Rgb8 simulate(Deficiency d, Rgb8 c);

// The neutral grey whose OKLab lightness is L (L clamped to 0 ... 1): the
// sRGB grey a lightness-only view of a colour shows.
Rgb8 lightnessgrey(double L);

}  // namespace analysis
