// A 256-entry palette of red, green and blue bytes: palette[i][c], channel 0
// red, 1 green, 2 blue; index 0 is the left end of a palette strip.
#pragma once

#include <array>
#include <cstdint>

namespace shell {
using Palette = std::array<std::array<uint8_t, 3>, 256>;
}  // namespace shell
