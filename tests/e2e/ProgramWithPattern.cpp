#include "tests/e2e/ProgramWithPattern.h"

namespace E2e {

void ProgramWithPattern::StartProgram(const std::vector<std::wstring>& settings)
{
    ASSERT_TRUE(scratch.WriteSettings(settings));
    ASSERT_TRUE(pattern.Show());
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForToolWindow(), nullptr);
}

void ProgramWithPattern::TearDown()
{
    if (program.IsRunning()) {
        program.Close();
        EXPECT_EQ(program.WaitForExit(60000), 0u);
    }
}

} // namespace E2e
