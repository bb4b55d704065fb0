// The arithmetic of the iteration rule: expressions in the x87 extended type
// (64-bit significand, round to nearest), each named quantity stored as a
// double, which `st` makes visible.
#pragma once

namespace explore {

using ext = long double;
static_assert(sizeof(ext) > sizeof(double) && __LDBL_MANT_DIG__ == 64,
              "the iteration rule needs the x87 80-bit extended type");

// Stores an extended value as a double.
inline double st(ext v) {
    return static_cast<double>(v);
}

}  // namespace explore
