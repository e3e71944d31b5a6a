#include <gtest/gtest.h>

#include "framework/window/rules/WebAddress.h"

TEST(WebAddressTest, OnlyHttpAndHttpsAddresses)
{
    const struct
    {
        const char16_t* target;
        bool web;
    } cases[] = {
        {u"http://example.org/update", true},
        {u"https://example.org", true},
        {u"HTTPS://Example.org/a?b=c", true},
        {u"hTtP://x", true},
        {u"", false},
        {u"http://", false},
        {u"https:///etc/passwd", false},
        {u"http:example.org", false},
        {u"file:///C:/Windows/System32/calc.exe", false},
        {u"C:\\Windows\\System32\\calc.exe", false},
        {u"calc.exe", false},
        {u"mailto:someone@example.org", false},
        {u"javascript:alert(1)", false},
        {u" http://example.org", false},
        {u"http://example.org\" --evil", false},
        {u"http://example.org/\nnext", false},
        {u"ftp://example.org", false},
    };
    for (const auto& c : cases)
    {
        std::string narrow;
        for (const char16_t* p = c.target; *p; ++p)
            narrow += *p < 0x80 ? static_cast<char>(*p) : '?';
        EXPECT_EQ(c.web, Window::IsWebAddress(c.target)) << narrow;
    }
}
