#include "framework/settings/ValueText.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace AS {

namespace {

bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

std::size_t SkipSpace(std::u16string_view text, std::size_t position)
{
    while (position < text.size() && IsSpace(text[position]))
        ++position;
    return position;
}

void AppendAscii(std::u16string& out, const char* begin, const char* end)
{
    for (; begin != end; ++begin)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*begin)));
}

} // namespace

bool cValueText::FormatIntegers(Container::cWideString& text, std::span<const std::int32_t> values)
{
    std::u16string out;
    try {
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i > 0)
                out.push_back(u',');
            char buffer[16];
            const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, values[i]);
            AppendAscii(out, buffer, result.ptr);
        }
    } catch (...) {
        return false;
    }
    return text.Assign(std::u16string_view(out));
}

bool cValueText::FormatReals(Container::cWideString& text, std::initializer_list<float> values)
{
    std::u16string out;
    try {
        bool first = true;
        for (float value : values) {
            if (!first)
                out.push_back(u',');
            first = false;
            if (std::isnan(value))
                value = 0.0f;
            else if (std::isinf(value))
                value = value > 0 ? FLT_MAX : -FLT_MAX;
            char buffer[64];
            const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer,
                                                              static_cast<double>(value), std::chars_format::fixed, 6);
            if (result.ec != std::errc())
                return false;
            AppendAscii(out, buffer, result.ptr);
        }
    } catch (...) {
        return false;
    }
    return text.Assign(std::u16string_view(out));
}

bool cValueText::ReadInteger(std::u16string_view text, std::size_t& position, std::int32_t& value)
{
    std::size_t at = SkipSpace(text, position);
    bool negative = false;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) {
        negative = text[at] == u'-';
        ++at;
    }
    if (at >= text.size() || !IsDigit(text[at]))
        return false;
    std::int64_t magnitude = 0;
    bool tooLarge = false;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        if (!tooLarge) {
            magnitude = magnitude * 10 + (text[at] - u'0');
            if (magnitude > std::int64_t(1) << 31)
                tooLarge = true;
        }
    }
    const std::int64_t result = negative ? -magnitude : magnitude;
    if (tooLarge || result > std::numeric_limits<std::int32_t>::max() ||
        result < std::numeric_limits<std::int32_t>::min())
        return false;
    value = static_cast<std::int32_t>(result);
    position = at;
    return true;
}

bool cValueText::ReadReal(std::u16string_view text, std::size_t& position, float& value)
{
    std::size_t at = SkipSpace(text, position);
    std::string number;
    try {
        if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) {
            if (text[at] == u'-')
                number.push_back('-');
            ++at;
        }
        bool digits = false;
        for (; at < text.size() && IsDigit(text[at]); ++at) {
            number.push_back(static_cast<char>(text[at]));
            digits = true;
        }
        if (at < text.size() && text[at] == u'.') {
            number.push_back('.');
            for (++at; at < text.size() && IsDigit(text[at]); ++at) {
                number.push_back(static_cast<char>(text[at]));
                digits = true;
            }
        }
        if (!digits)
            return false;
        // An exponent counts only when digits follow it.
        bool negativeExponent = false;
        if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
            std::size_t e = at + 1;
            bool sign = false;
            if (e < text.size() && (text[e] == u'-' || text[e] == u'+')) {
                negativeExponent = text[e] == u'-';
                sign = true;
                ++e;
            }
            if (e < text.size() && IsDigit(text[e])) {
                number.push_back('e');
                if (sign)
                    number.push_back(negativeExponent ? '-' : '+');
                for (; e < text.size() && IsDigit(text[e]); ++e)
                    number.push_back(static_cast<char>(text[e]));
                at = e;
            }
        }
        double result = 0.0;
        const std::from_chars_result parsed =
            std::from_chars(number.data(), number.data() + number.size(), result, std::chars_format::general);
        if (parsed.ec == std::errc::result_out_of_range) {
            if (!negativeExponent)
                return false; // too large for any real
            result = 0.0;     // too small: rounds to zero
        } else if (parsed.ec != std::errc()) {
            return false;
        }
        if (std::fabs(result) > static_cast<double>(FLT_MAX))
            return false;
        value = static_cast<float>(result);
    } catch (...) {
        return false;
    }
    position = at;
    return true;
}

std::size_t cValueText::ParseIntegers(std::u16string_view text, std::span<std::int32_t> fields)
{
    std::size_t position = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            if (position >= text.size() || text[position] != u',')
                return i;
            ++position;
        }
        if (!ReadInteger(text, position, fields[i]))
            return i;
    }
    return fields.size();
}

std::size_t cValueText::ParseReals(std::u16string_view text, std::span<float> fields)
{
    std::size_t position = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            if (position >= text.size() || text[position] != u',')
                return i;
            ++position;
        }
        if (!ReadReal(text, position, fields[i]))
            return i;
    }
    return fields.size();
}

float cValueText::ToReal(std::u16string_view text)
{
    std::size_t position = 0;
    float value = 0.0f;
    if (ReadReal(text, position, value))
        return value;
    // Out of range for a float: the nearest finite value of that sign.
    std::size_t at = SkipSpace(text, 0);
    const bool negative = at < text.size() && text[at] == u'-';
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+'))
        ++at;
    if (at < text.size() && text[at] == u'.')
        ++at;
    if (at < text.size() && IsDigit(text[at]))
        return negative ? -FLT_MAX : FLT_MAX;
    return 0.0f;
}

} // namespace AS
