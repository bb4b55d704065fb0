// The Win32 host's translation of the system's input into the programs'
// messages: wheel notches, the keys the Explore window uses, and pointer
// positions at a scale.
#include "shell/win32/platform.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "shell/window/message.h"

namespace shell::win32 {
namespace {

TEST(Win32Input, WheelTurnsAddUpToWholeNotchesEitherWay) {
    // Each row turns the wheel by `delta` and expects `notches` from it, with
    // what was short of a notch carried to the next row.
    struct Turn {
        int delta, notches;
    };
    const Turn turns[] = {
        {WHEEL_DELTA, 1},     {2 * WHEEL_DELTA, 2},  {-WHEEL_DELTA, -1},    {WHEEL_DELTA / 2, 0},
        {WHEEL_DELTA / 2, 1}, {-WHEEL_DELTA / 3, 0}, {-WHEEL_DELTA / 3, 0}, {-WHEEL_DELTA / 3, -1},
    };
    int rest = 0;
    for (const Turn& t : turns) {
        EXPECT_EQ(wheelnotches(MAKEWPARAM(0, t.delta), rest), t.notches) << t.delta;
        EXPECT_LT(std::abs(rest), WHEEL_DELTA);
    }
}

TEST(Win32Input, PunctuationKeysReachTheProgramsAsTheirOwnCodes) {
    const int keys[] = {vk_oem_plus, vk_oem_minus, vk_oem_comma, vk_oem_period, vk_oem_4,
                        vk_oem_6,    vk_add,       vk_subtract,  vk_back};
    for (int k : keys) EXPECT_EQ(virtualkey(WPARAM(k)), k);
    EXPECT_EQ(virtualkey(VK_SHIFT), 0);
}

TEST(Win32Input, PointerPositionsComeAtTheScaleAndStayNegativeOutside) {
    EXPECT_EQ(logicalpoint(MAKELPARAM(10, 21), 1).x, 10);
    const Point p = logicalpoint(MAKELPARAM(10, 21), 2);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 10);
    const Point left = logicalpoint(MAKELPARAM(-1, -3), 2);
    EXPECT_EQ(left.x, -1);
    EXPECT_EQ(left.y, -2);
}

}  // namespace
}  // namespace shell::win32
