#pragma once

#include <cstdint>

namespace Window {

// Turns mouse-wheel deltas into whole notches (120 units each) without
// dropping the small deltas of precision touchpads: what is left over is kept
// for the next delta in the same direction. A delta in the other direction
// starts afresh.
class cWheelAccumulator
{
public:
    static constexpr std::int32_t kNotch = 120;

    // Adds a delta (positive away from the user) and answers the whole
    // notches it completes, signed.
    std::int32_t Add(std::int32_t delta);
    void Reset() { m_remainder = 0; }
    std::int32_t Remainder() const { return m_remainder; }

private:
    std::int32_t m_remainder = 0;
};

} // namespace Window
