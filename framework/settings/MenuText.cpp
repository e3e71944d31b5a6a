#include "framework/settings/MenuText.h"

namespace MenuText {

namespace {

struct sKeyName
{
    std::uint16_t code;
    const char16_t* name;
};

// Virtual keys with names of their own; digits, letters, the number pad
// digits and F1-F24 are named by rule.
constexpr sKeyName KeyNames[] = {
    {0x01, u"LButton"}, {0x02, u"RButton"}, {0x03, u"Control-break"}, {0x04, u"MButton"},
    {0x05, u"X1"}, {0x06, u"X2"}, {0x08, u"Backspace"}, {0x09, u"Tab"}, {0x0C, u"Clear"},
    {0x0D, u"Enter"}, {0x10, u"Shift"}, {0x11, u"Ctrl"}, {0x12, u"Alt"}, {0x13, u"Pause"},
    {0x14, u"CapsLock"}, {0x15, u"Hangul"}, {0x17, u"Junja"}, {0x18, u"Final"}, {0x19, u"Hanja"},
    {0x1B, u"Esc"}, {0x1C, u"IME Convert"}, {0x1D, u"IME NonConvert"}, {0x1E, u"IME Accept"},
    {0x1F, u"IME Mode Change"}, {0x20, u"SpaceBar"}, {0x21, u"PgUp"}, {0x22, u"PgDn"},
    {0x23, u"End"}, {0x24, u"Home"}, {0x25, u"Left"}, {0x26, u"Up"}, {0x27, u"Right"},
    {0x28, u"Down"}, {0x29, u"Select"}, {0x2A, u"Print"}, {0x2B, u"Execute"}, {0x2C, u"PrtScn"},
    {0x2D, u"Insert"}, {0x2E, u"Delete"}, {0x2F, u"Help"}, {0x5B, u"L-Windows"},
    {0x5C, u"R-Windows"}, {0x5D, u"Applications"}, {0x5F, u"Sleep"}, {0x6A, u"*"}, {0x6B, u"+"},
    {0x6C, u"Separator"}, {0x6D, u"-"}, {0x6E, u"Decimal"}, {0x6F, u"/"}, {0x90, u"NumLock"},
    {0x91, u"ScrlLock"}, {0xA0, u"Left Shift"}, {0xA1, u"Right Shift"}, {0xA2, u"Left Control"},
    {0xA3, u"Right Control"}, {0xA4, u"Left Menu"}, {0xA5, u"Right Menu"}, {0xA6, u"Browser Back"},
    {0xA7, u"Browser Forward"}, {0xA8, u"Browser Refresh"}, {0xA9, u"Browser Stop"},
    {0xAA, u"Browser Search"}, {0xAB, u"Browser Favorites"}, {0xAC, u"Browser Home"},
    {0xAD, u"Volume Mute"}, {0xAE, u"Volume Down"}, {0xAF, u"Volume Up"}, {0xB0, u"Next Track"},
    {0xB1, u"Previous Track"}, {0xB2, u"Stop Media"}, {0xB3, u"Play/Stop Media"}, {0xB4, u"Mail"},
    {0xB5, u"Media"}, {0xB6, u"App1"}, {0xB7, u"App2"}, {0xBA, u";"}, {0xBB, u"+"}, {0xBC, u","},
    {0xBD, u"-"}, {0xBE, u"."}, {0xBF, u"/"}, {0xC0, u"`"}, {0xDB, u"["}, {0xDC, u"\\"},
    {0xDD, u"]"}, {0xDE, u"'"}, {0xDF, u"?"}, {0xE2, u"<"}, {0xE5, u"IME Process"}, {0xE7, u" "},
    {0xF6, u"Attn"}, {0xF7, u"CrSel"}, {0xF8, u"ExSel"}, {0xF9, u"Erase EOF"}, {0xFA, u"Play"},
    {0xFB, u"Zoom"}, {0xFC, u"Noname"}, {0xFD, u"PA1"}, {0xFE, u"Clear"},
};

const char16_t* ModifierPrefix(std::uint8_t flags)
{
    switch (flags & (sAccelerator::Shift | sAccelerator::Control | sAccelerator::Alt))
    {
    case 4: return u"Shift";
    case 8: return u"Ctrl";
    case 12: return u"Ctrl+Shift";
    case 16: return u"Alt";
    case 20: return u"Shift+Alt";
    case 24: return u"Ctrl+Alt";
    case 28: return u"Ctrl+Shift+Alt";
    default: return u"";
    }
}

void AppendNumber(std::u16string& text, unsigned number)
{
    if (number >= 10)
        AppendNumber(text, number / 10);
    text.push_back(static_cast<char16_t>(u'0' + number % 10));
}

void AppendKeyName(std::u16string& text, std::uint16_t code)
{
    if ((code >= 0x30 && code <= 0x39) || (code >= 0x41 && code <= 0x5A))
    {
        text.push_back(static_cast<char16_t>(code));
        return;
    }
    if (code >= 0x60 && code <= 0x69)
    {
        text += u"Numpad";
        AppendNumber(text, code - 0x60u);
        return;
    }
    if (code >= 0x70 && code <= 0x87)
    {
        text.push_back(u'F');
        AppendNumber(text, code - 0x70u + 1);
        return;
    }
    for (const auto& entry : KeyNames)
        if (entry.code == code)
        {
            text += entry.name;
            return;
        }
}

} // namespace

std::u16string KeyText(const sAccelerator& accelerator)
{
    std::u16string text = ModifierPrefix(accelerator.flags);
    if (accelerator.key == 0)
        return text;
    if (!text.empty())
        text.push_back(u'+');
    if (!(accelerator.flags & sAccelerator::VirtualKey))
        text.push_back(static_cast<char16_t>(accelerator.key));
    else
        AppendKeyName(text, accelerator.key);
    return text;
}

std::u16string KeyText(const sAccelerator& accelerator, std::size_t maxLength)
{
    std::u16string text = KeyText(accelerator);
    if (text.size() > maxLength)
        text.resize(maxLength);
    return text;
}

std::size_t KeyText(const sAccelerator& accelerator, char16_t* buffer, std::size_t capacity)
{
    return CopyCut(KeyText(accelerator), buffer, capacity);
}

std::size_t CopyCut(std::u16string_view text, char16_t* buffer, std::size_t capacity)
{
    if (!buffer || capacity == 0)
        return 0;
    std::size_t length = text.size() < capacity ? text.size() : capacity - 1;
    // A cut never leaves half of a surrogate pair behind.
    if (length < text.size() && length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
        --length;
    text.copy(buffer, length);
    buffer[length] = 0;
    return length;
}

std::u16string ToolTipText(std::u16string_view text, const sAccelerator* accelerator)
{
    std::u16string tip;
    const std::size_t first = text.find(u'|');
    const std::size_t second = first == std::u16string_view::npos ? first : text.find(u'|', first + 1);
    if (second != std::u16string_view::npos)
    {
        tip = text.substr(second + 1);
        if (accelerator)
        {
            tip += u" (";
            tip += KeyText(*accelerator, MaxToolTipKeyLength);
            tip += u")";
        }
    }
    else if (first != std::u16string_view::npos)
        tip = text.substr(first + 1);
    else
        tip = text;
    if (tip.size() > MaxToolTipLength)
    {
        std::size_t length = MaxToolTipLength;
        if (tip[length - 1] >= 0xD800 && tip[length - 1] <= 0xDBFF)
            --length;
        tip.resize(length);
    }
    return tip;
}

} // namespace MenuText
