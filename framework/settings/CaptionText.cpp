#include "framework/settings/CaptionText.h"

namespace CaptionText {

std::u16string_view CaptionField(std::u16string_view text)
{
    return text.substr(0, text.find(u'|'));
}

char16_t UpperCase(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<char16_t>(c - 0x20);
    if (c == 0xFF)
        return 0x178;
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2)
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0x430 && c <= 0x44F)
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<char16_t>(c - 0x50);
    return c;
}

char16_t MnemonicLetter(std::u16string_view baseText)
{
    const std::u16string_view caption = CaptionField(baseText);
    for (std::size_t i = 0; i + 1 < caption.size(); ++i)
        if (caption[i] == u'&' && caption[i + 1] != u'&')
            return UpperCase(caption[i + 1]);
    return 0;
}

bool HasMnemonic(std::u16string_view caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i)
    {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return true;
        ++i; // "&&" is a literal ampersand
    }
    return false;
}

std::u16string Caption(std::u16string_view text, const std::u16string_view* baseText)
{
    const std::u16string_view caption = CaptionField(text);
    std::u16string result(caption);
    if (!baseText || HasMnemonic(caption))
        return result;
    const char16_t letter = MnemonicLetter(*baseText);
    if (!letter)
        return result;

    const std::u16string suffix = {u'(', u'&', letter, u')'};
    const std::size_t length = caption.size();
    for (std::size_t i = 0; i < length; ++i)
    {
        if (UpperCase(caption[i]) == letter)
        {
            result.insert(i, 1, u'&');
            return result;
        }
        const bool finalMark = i + 1 == length && (caption[i] == u':' || caption[i] == u'.');
        const bool finalDots = i + 3 == length && caption.substr(i) == u"...";
        if (finalMark || finalDots)
        {
            result.insert(i, suffix);
            return result;
        }
    }
    result += suffix;
    return result;
}

std::u16string_view ControlToolTip(std::u16string_view text)
{
    const std::size_t bar = text.find(u'|');
    if (bar != std::u16string_view::npos && bar + 1 < text.size())
        return text.substr(bar + 1);
    return text;
}

} // namespace CaptionText
