#include "framework/window/rules/WheelAccumulator.h"

namespace Window {

std::int32_t cWheelAccumulator::Add(std::int32_t delta)
{
    if ((delta > 0 && m_remainder < 0) || (delta < 0 && m_remainder > 0))
        m_remainder = 0;
    const std::int64_t total = static_cast<std::int64_t>(m_remainder) + delta;
    const std::int64_t notches = total / kNotch;  // truncates towards zero
    m_remainder = static_cast<std::int32_t>(total - notches * kNotch);
    return static_cast<std::int32_t>(notches);
}

} // namespace Window
