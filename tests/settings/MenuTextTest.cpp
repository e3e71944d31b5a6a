#include <gtest/gtest.h>

#include "framework/settings/MenuText.h"
#include "tests/settings/LanguageTestSupport.h"

using MenuText::sAccelerator;
using Testing::Narrow;

namespace {

constexpr std::uint8_t Virt = sAccelerator::VirtualKey;
constexpr std::uint8_t Shift = sAccelerator::Shift;
constexpr std::uint8_t Ctrl = sAccelerator::Control;
constexpr std::uint8_t Alt = sAccelerator::Alt;

} // namespace

TEST(MenuTextTest, KeyTextNamesAccelerators)
{
    const struct
    {
        std::uint8_t flags;
        std::uint16_t key;
        const char* expected;
    } cases[] = {
        {Virt | Ctrl | Shift, 'S', "Ctrl+Shift+S"},
        {Virt | Alt, 0x73 /* VK_F4 */, "Alt+F4"},
        {Virt | Ctrl, 0xBB /* VK_OEM_PLUS */, "Ctrl++"},
        {Virt, 0x67 /* VK_NUMPAD7 */, "Numpad7"},
        {Virt, 0x7C /* VK_F13 */, "F13"},
        {Virt, 0x87 /* VK_F24 */, "F24"},
        {Virt, 0x60, "Numpad0"},
        {Virt, '0', "0"},
        {Virt, 'Z', "Z"},
        {Virt | Ctrl, 0, "Ctrl"},
        {Ctrl, 'a', "Ctrl+a"},
        {0, 'a', "a"},
        {Virt, 0x07, ""},
        {Virt | Ctrl, 0x07, "Ctrl+"},
        {Virt | Shift | Alt, 0x2C, "Shift+Alt+PrtScn"},
        {Virt | Ctrl | Alt, 0x2E, "Ctrl+Alt+Delete"},
        {Virt | Ctrl | Shift | Alt, 0x1B, "Ctrl+Shift+Alt+Esc"},
        {Virt | Shift, 0x21, "Shift+PgUp"},
        {Virt, 0xDC, "\\"},
        {Virt, 0xE7, " "},
        {Virt, 0x20, "SpaceBar"},
        {Virt, 0xFE, "Clear"},
        {Virt, 0x88, ""},
        {Virt, 0x3A, ""},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.expected);
        const sAccelerator accelerator{test.flags, test.key, 100};
        EXPECT_EQ(test.expected, Narrow(MenuText::KeyText(accelerator)));
    }
}

TEST(MenuTextTest, KeyTextIsCutToTheRoomGiven)
{
    const sAccelerator longest{Virt | Ctrl | Shift | Alt, 0xAB, 1}; // Browser Favorites
    ASSERT_EQ("Ctrl+Shift+Alt+Browser Favorites", Narrow(MenuText::KeyText(longest)));
    EXPECT_EQ("Ctrl+Shift+Alt+Browser Favori", Narrow(MenuText::KeyText(longest, 29)));

    char16_t buffer[8];
    for (char16_t& c : buffer)
        c = u'#';
    EXPECT_EQ(4u, MenuText::KeyText(longest, buffer, 5));
    EXPECT_EQ(u"Ctrl", std::u16string_view(buffer));
    EXPECT_EQ(u'#', buffer[5]);
    EXPECT_EQ(6u, MenuText::KeyText(sAccelerator{Virt | Alt, 0x73, 1}, buffer, 8));
    EXPECT_EQ(u"Alt+F4", std::u16string_view(buffer));
    EXPECT_EQ(0u, MenuText::KeyText(longest, buffer, 0));
    EXPECT_EQ(0u, MenuText::KeyText(longest, buffer, 1));
    EXPECT_EQ(0, buffer[0]);
    // A cut never leaves half of a surrogate pair.
    EXPECT_EQ(1u, MenuText::CopyCut(u"a\U0001F600", buffer, 3));
    EXPECT_EQ(u"a", std::u16string_view(buffer));
}

TEST(MenuTextTest, ToolTipTextTakesTheThirdFieldAndTheKey)
{
    const sAccelerator save{Virt | Ctrl, 'S', 1};
    const sAccelerator exit{Virt | Alt, 0x73, 2};
    const struct
    {
        std::u16string text;
        const sAccelerator* accelerator;
        std::string expected;
    } cases[] = {
        {u"&Save|Save the file|Save", &save, "Save (Ctrl+S)"},
        {u"E&xit|Quit the program|Exit", &exit, "Exit (Alt+F4)"},
        {u"&Save|Save the file|Save", nullptr, "Save"},
        {u"&Save|Save the file", &save, "Save the file"},
        {u"Capture", &save, "Capture"},
        {u"A|B|C|D", nullptr, "C|D"},
        {u"A||", &save, " (Ctrl+S)"},
        {u"", nullptr, ""},
    };
    for (const auto& test : cases)
        EXPECT_EQ(test.expected, Narrow(MenuText::ToolTipText(test.text, test.accelerator))) << Narrow(test.text);

    const std::u16string longTip = u"a|b|" + std::u16string(100, u'x');
    EXPECT_EQ(std::u16string(MenuText::MaxToolTipLength, u'x'), MenuText::ToolTipText(longTip, &save));
    // The key text within a tool tip is cut to its own limit.
    const sAccelerator longest{Virt | Ctrl | Shift | Alt, 0xAB, 1};
    EXPECT_EQ("t (Ctrl+Shift+Alt+Browser Favorit)", Narrow(MenuText::ToolTipText(u"a|b|t", &longest)));
}
