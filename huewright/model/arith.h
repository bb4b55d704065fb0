// The arithmetic of the curve code, in one place.
//
// Expressions are evaluated in `ext`, the x87 80-bit type (64-bit
// significand, round to nearest); a named quantity is rounded to double once,
// when it is stored, which `st` makes visible. Integer parameters enter
// expressions exactly. A conversion to an integer is a plain cast, which
// truncates toward zero: of the extended value where a formula converts an
// expression, of the stored double where it converts a named quantity.
//
// Library functions take a double and return an extended result: the x87
// versions (sinl, cosl, ...) are called on double arguments, so an argument
// formed by an expression is rounded to double before the call.
#pragma once

#include <cmath>

namespace huewright {

using ext = long double;
static_assert(sizeof(ext) > sizeof(double) && __LDBL_MANT_DIG__ == 64,
              "the curve arithmetic needs the x87 80-bit extended type");

// Stores an extended value as a named double quantity.
inline double st(ext v) {
    return static_cast<double>(v);
}

inline ext xsin(double a) {
    return sinl(a);
}
inline ext xcos(double a) {
    return cosl(a);
}
inline ext xacos(double a) {
    return acosl(a);
}
inline ext xatan2(double y, double x) {
    return atan2l(y, x);
}
inline ext xsqrt(double a) {
    return sqrtl(a);
}
inline ext xpow(double a, double b) {
    return powl(a, b);
}

// The constants written 1/255, 1/3, ... are the doubles nearest to them.
constexpr double kInv255 = 1.0 / 255.0;
constexpr double kInv3 = 1.0 / 3.0;
constexpr double kInv27 = 1.0 / 27.0;
constexpr double kInv257 = 1.0 / 257.0;
constexpr double kInv128 = 1.0 / 128.0;
constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kFourPi = 12.566370614359172;
constexpr double kInvTwoPi = 0.15915494309189535;  // nearest double to 1/(2 pi)

}  // namespace huewright
