#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Texts of menus and tool bars: the name of an accelerator key (Ctrl+Shift+S)
// and the tool tip of a command.
namespace MenuText {

// An accelerator: the fields of the system's ACCEL record.
struct sAccelerator
{
    enum : std::uint8_t
    {
        VirtualKey = 0x01, // FVIRTKEY: key is a virtual-key code, else a character
        Shift = 0x04,
        Control = 0x08,
        Alt = 0x10,
    };
    std::uint8_t flags = 0;
    std::uint16_t key = 0;
    std::uint16_t command = 0;
};

// The accelerator as text: the modifiers ("Ctrl+Shift+Alt"), "+", and the
// key's name ("S", "F13", "Numpad7", "PgUp"). A key of 0 gives only the
// modifiers; a virtual key without a name gives the modifiers and "+".
std::u16string KeyText(const sAccelerator& accelerator);
// The same cut to maxLength characters.
std::u16string KeyText(const sAccelerator& accelerator, std::size_t maxLength);
// The same into buffer: at most capacity - 1 characters and a terminator.
// Answers the length written (0 and nothing written when capacity is 0).
std::size_t KeyText(const sAccelerator& accelerator, char16_t* buffer, std::size_t capacity);

// Longest key text a tool tip takes, and the longest tool tip.
inline constexpr std::size_t MaxToolTipKeyLength = 30;
inline constexpr std::size_t MaxToolTipLength = 80;

// The tool tip of a command's text "Menu Text|Description|Tool-tip": the
// third field, followed by " (key)" when accelerator is given; with one
// '|' everything after it, with none the whole text. Cut to
// MaxToolTipLength characters.
std::u16string ToolTipText(std::u16string_view text, const sAccelerator* accelerator);

// Copies text into buffer, cut to capacity - 1 characters and terminated;
// answers the length written. Nothing is written when capacity is 0.
std::size_t CopyCut(std::u16string_view text, char16_t* buffer, std::size_t capacity);

} // namespace MenuText
