#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "tests/picturefile/PictureFileTestSupport.h"

#ifndef _WIN32
namespace {

// Sets CI for the life of the object, then puts the old value back.
class cCiVariable
{
public:
    explicit cCiVariable(const char* value)
    {
        if (const char* old = std::getenv("CI"))
            m_old = old;
        if (value)
            setenv("CI", value, 1);
        else
            unsetenv("CI");
    }
    ~cCiVariable()
    {
        if (m_old)
            setenv("CI", m_old->c_str(), 1);
        else
            unsetenv("CI");
    }

private:
    std::optional<std::string> m_old;
};

void NeedsAMissingDecoder()
{
    QS_REQUIRE_TOOL("qs-no-such-decoder");
}

void NeedsTheShell()
{
    QS_REQUIRE_TOOL("sh");
}

} // namespace

TEST(ConformanceRuleTest, InCiAMissingDecoderFailsTheTest)
{
    {
        const cCiVariable ci("true");
        EXPECT_TRUE(PictureFileTest::ToolsRequired());
        EXPECT_FATAL_FAILURE(NeedsAMissingDecoder(), "qs-no-such-decoder is not installed, and CI=true");
    }
    for (const char* value : {static_cast<const char*>(nullptr), "", "false", "0"})
    {
        const cCiVariable ci(value);
        EXPECT_FALSE(PictureFileTest::ToolsRequired()) << (value ? value : "(unset)");
    }
    // A decoder that is there passes whatever CI says.
    const cCiVariable ci("true");
    EXPECT_NO_FATAL_FAILURE(NeedsTheShell());
}
#endif
