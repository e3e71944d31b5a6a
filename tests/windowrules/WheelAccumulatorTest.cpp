#include <gtest/gtest.h>

#include "framework/window/rules/WheelAccumulator.h"

#include <vector>

using Window::cWheelAccumulator;

TEST(WheelAccumulatorTest, Sequences)
{
    const struct
    {
        const char* name;
        std::vector<std::int32_t> deltas;
        std::vector<std::int32_t> notches;
        std::int32_t remainder;
    } cases[] = {
        {"one notch each way", {120, -120}, {1, -1}, 0},
        {"two notches at once", {240}, {2}, 0},
        {"touchpad quarters add up", {30, 30, 30, 30, 30}, {0, 0, 0, 1, 0}, 30},
        {"touchpad backwards", {-40, -40, -40}, {0, 0, -1}, 0},
        {"overshoot is kept", {130, 110}, {1, 1}, 0},
        {"turning back starts afresh", {60, -60, -60}, {0, 0, -1}, 0},
        {"zero changes nothing", {90, 0, 30}, {0, 0, 1}, 0},
    };
    for (const auto& c : cases)
    {
        cWheelAccumulator wheel;
        std::vector<std::int32_t> got;
        for (std::int32_t delta : c.deltas)
            got.push_back(wheel.Add(delta));
        EXPECT_EQ(c.notches, got) << c.name;
        EXPECT_EQ(c.remainder, wheel.Remainder()) << c.name;
    }
    cWheelAccumulator wheel;
    wheel.Add(100);
    wheel.Reset();
    EXPECT_EQ(0, wheel.Add(100));
}
