#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/ProgramSession.h"

namespace E2e {

// A test with the program started on a scratch save folder and, behind it,
// a window painted with the screen pattern over the whole virtual screen,
// which is the program in front. A program still running at the end is
// closed and must exit with 0.
class ProgramWithPattern : public testing::Test
{
protected:
    // Writes the settings file with these lines (see cScratch) and starts
    // the program; the test ends at the first failure.
    void StartProgram(const std::vector<std::wstring>& settings);
    void TearDown() override;

    cScratch scratch;
    cPatternWindow pattern;
    cProgram program;
};

} // namespace E2e
