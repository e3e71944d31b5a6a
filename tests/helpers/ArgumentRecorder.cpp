// A program of the user's, for the hand-off tests: it appends the arguments
// it was started with, exactly as they stand on its command line, to
// NAME.exe.log next to its executable, and ends.

#include <windows.h>

#include "tests/helpers/HelperLog.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return Testing::AppendLine(Testing::OwnPath() + L".log", Testing::ArgumentsOf(GetCommandLineW())) ? 0 : 1;
}
