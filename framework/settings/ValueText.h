#pragma once

#include "framework/core/WideString.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

namespace AS {

// The text forms of the values the stores keep as strings: pairs and
// rectangles ("%d,%d", "%d,%d,%d,%d", "%f,%f") and reals ("%f"). Formatting
// does not depend on the C locale.
class cValueText
{
public:
    // Integers joined by ",".
    static bool FormatIntegers(Container::cWideString& text, std::span<const std::int32_t> values);
    // Reals with six decimals joined by ","; NaN is written as 0 and the
    // infinities as the largest finite floats, so the text always reads back.
    static bool FormatReals(Container::cWideString& text, std::initializer_list<float> values);
    static bool FormatReal(Container::cWideString& text, float value) { return FormatReals(text, {value}); }

    // Reads fields separated by "," as a scanf-style parse of "%d,%d,..."
    // does: white space before a number is skipped, the "," must follow a
    // number directly, and parsing stops at the first field that does not
    // match. Fields not reached keep their values. Numbers outside the
    // range of the field do not match. Answers the number of fields set.
    static std::size_t ParseIntegers(std::u16string_view text, std::span<std::int32_t> fields);
    static std::size_t ParseReals(std::u16string_view text, std::span<float> fields);

    // The decimal real at the start of text (after white space), as the C
    // runtime's wide-to-float conversion reads it; 0 when there is none.
    static float ToReal(std::u16string_view text);

private:
    // Reads one number at position (white space skipped); false, position
    // unchanged, when none is there or it does not fit.
    static bool ReadInteger(std::u16string_view text, std::size_t& position, std::int32_t& value);
    static bool ReadReal(std::u16string_view text, std::size_t& position, float& value);
};

} // namespace AS
