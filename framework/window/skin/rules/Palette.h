#pragma once
// The toolkit palette: 27 colours (0xAARRGGBB) that every skin painter
// draws with, derived from three system colours. The entries are used by
// number; the named constants below say what each one paints.
#include <array>
#include <cstdint>

namespace Skin {

class cPalette
{
public:
    static constexpr int Count = 27;

    enum eEntry : int
    {
        EditBackground = 0,  // edit and list background, check-box and radio fill
        EditAlternate = 1,
        EditText = 2,        // text in edits and lists
        Shade = 3,
        DialogFace = 4,      // dialog, static, group-box and scroll-bar background
        Light = 5,           // hot button face, light side of etched lines
        EdgeLight = 6,       // light edge of client edges, raised side of disabled text
        ButtonFace = 7,      // button face, scroll-bar corner
        Outline = 8,         // borders, button and check-box outlines
        DarkOutline = 9,     // pressed check-box and radio outline
        Text = 10,           // text on the dialog background, glyphs
        LinkText = 11,
        PressedTint = 12,
        DisabledText = 13,
        Caption = 14,
        DarkCaption = 15,
        PaleCaption = 16,
        CaptionText = 17,
        CaptionSecondaryText = 18,
        Outline2 = 19,
        HighlightText = 20,  // text on the highlight colour
        Highlight = 21,      // selections, radio dot, checked toggles
        Focus = 22,          // focus outlines, focused client edges
        HotFill = 23,        // hot check-box fill, scroll-bar thumb base
        Accent = 24,
        EditBackground2 = 25,
        Outline3 = 26,
    };

    // The palette a skin has before it is initialised.
    cPalette();

    // Derived from face = COLOR_BTNFACE, caption = COLOR_ACTIVECAPTION,
    // highlight = COLOR_HIGHLIGHT (each 0xFFRRGGBB); previousText is entry
    // 10 of the palette being replaced, from which entry 3 is made.
    static cPalette Derive(std::uint32_t face, std::uint32_t caption, std::uint32_t highlight,
                           std::uint32_t previousText);

    std::uint32_t operator[](int entry) const { return m_entries[std::size_t(entry)]; }
    std::uint32_t& operator[](int entry) { return m_entries[std::size_t(entry)]; }
    const std::array<std::uint32_t, Count>& Entries() const { return m_entries; }

    friend bool operator==(const cPalette&, const cPalette&) = default;

private:
    std::array<std::uint32_t, Count> m_entries;
};

} // namespace Skin
