// Which addresses the web-link opener hands to the shell.

#include <gtest/gtest.h>

#include "framework/window/WebLink.h"

#include <string>
#include <vector>

namespace {

using Window::cWebLink;

std::vector<std::u16string> g_opened;
bool g_shellSucceeds = true;

bool RecordingOpener(const char16_t* address)
{
    g_opened.emplace_back(address);
    return g_shellSucceeds;
}

class WebLink : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_opened.clear();
        g_shellSucceeds = true;
        m_previous = cWebLink::SetOpener(RecordingOpener);
    }
    void TearDown() override { cWebLink::SetOpener(m_previous); }

private:
    cWebLink::Opener m_previous = nullptr;
};

} // namespace

TEST_F(WebLink, OpensOnlyHttpAndHttpsAddresses)
{
    const struct
    {
        const char16_t* address;
        bool opened;
    } cases[] = {
        {u"https://www.vadrin.com/quillsnapper/", true},
        {u"http://example.org", true},
        {u"HTTPS://EXAMPLE.ORG/a?b=c&d=e", true},
        {u"hTtP://host:8080/", true},
        {u"", false},
        {u"https://", false},
        {u"https:///path", false},
        {u"https:example.org", false},
        {u" https://example.org", false},
        {u"file:///C:/Windows/system32/calc.exe", false},
        {u"C:\\Windows\\system32\\calc.exe", false},
        {u"calc.exe", false},
        {u"javascript:alert(1)", false},
        {u"mailto:someone@example.org", false},
        {u"\\\\server\\share\\run.exe", false},
        {u"ftp://example.org", false},
        {u"https://example.org/\r\nmore", false},
        {u"https://example.org/\ttab", false},
        {u"https://example.org/\" --new-window", false},
    };
    for (const auto& c : cases) {
        g_opened.clear();
        const Container::cWideString address(c.address);
        EXPECT_EQ(cWebLink::IsWebAddress(address), c.opened) << std::string(address.View().begin(), address.View().end());
        EXPECT_EQ(cWebLink::Open(address), c.opened);
        if (c.opened)
            EXPECT_EQ(g_opened, (std::vector<std::u16string>{c.address}));
        else
            EXPECT_TRUE(g_opened.empty());
    }
}

TEST_F(WebLink, ReportsAShellThatFails)
{
    g_shellSucceeds = false;
    EXPECT_FALSE(cWebLink::Open(Container::cWideString(u"https://example.org/")));
    EXPECT_EQ(g_opened.size(), 1u);
}
