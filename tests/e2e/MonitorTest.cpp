// End-to-end tests on a desktop of two monitors, run in a wine session of
// their own (tools/wine-session.sh --two-monitors): the primary monitor of
// 3840 x 2160 at (0, 0) and left of it one of 1920 x 1080 at (-1920, 0).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "tests/e2e/ProgramSession.h"
#include "tests/e2e/ProgramWithPattern.h"

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

using namespace E2e;

namespace {

const RECT kPrimary{0, 0, 3840, 2160};
const RECT kLeft{-1920, 0, 0, 1080};

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

// The names of one capture's files in the order the program saved them:
// by the time in the name, then by the suffix "_2", "_3", ... that a name
// taken already gets. A name of another form fails the test and is left
// out.
std::vector<std::wstring> InSavingOrder(const std::vector<std::wstring>& files, const std::wstring& extension)
{
    const std::wregex form(L"Quillsnapper_(\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d)_(\\d{1,3})(?:_(\\d+))?\\." +
                           extension);
    std::vector<std::tuple<std::wstring, int, int, std::wstring>> keyed;
    for (const std::wstring& name : files) {
        std::wsmatch match;
        if (!std::regex_match(name, match, form)) {
            ADD_FAILURE() << "unexpected file name " << Narrow(name);
            continue;
        }
        keyed.emplace_back(match[1].str(), std::stoi(match[2].str()), match[3].matched ? std::stoi(match[3].str()) : 1,
                           name);
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::wstring> names;
    for (const auto& entry : keyed)
        names.push_back(std::get<3>(entry));
    return names;
}

// The program on the two-monitor desktop, the pattern over both monitors.
class TwoMonitors : public ProgramWithPattern
{
protected:
    void SetUp() override
    {
        monitors = Monitors();
        ASSERT_EQ(monitors.size(), 2u) << "not the two-monitor session";
        for (const RECT& expected : {kPrimary, kLeft})
            ASSERT_TRUE(std::any_of(monitors.begin(), monitors.end(),
                                    [&](const RECT& monitor) { return SameRect(monitor, expected); }))
                << "no monitor at " << Describe(expected);
    }

    // A full-screen capture's files: one per monitor, in enumeration order,
    // each of its monitor's size and, for lossless formats, its pixels.
    void ExpectOneFilePerMonitor(const std::wstring& extension, bool exactPixels)
    {
        const std::vector<std::wstring> files = InSavingOrder(scratch.Files(extension), extension);
        ASSERT_EQ(files.size(), monitors.size());
        for (std::size_t i = 0; i < files.size(); ++i) {
            const RECT& monitor = monitors[i];
            Painter::cPicture picture;
            ASSERT_TRUE(LoadPicture(scratch.Folder() + L"\\" + files[i], picture)) << Narrow(files[i]);
            EXPECT_EQ(picture.Width(), monitor.right - monitor.left) << Narrow(files[i]);
            EXPECT_EQ(picture.Height(), monitor.bottom - monitor.top) << Narrow(files[i]);
            std::string where;
            if (exactPixels) {
                EXPECT_EQ(PatternMismatches(picture, monitor.left, monitor.top, where), 0)
                    << Narrow(files[i]) << " is not the monitor at " << Describe(monitor) << ": " << where;
            }
        }
    }

    std::vector<RECT> monitors;
};

// Print Screen and F: both capture the full screen.
class FullScreenKeys : public TwoMonitors, public testing::WithParamInterface<const wchar_t*>
{
};

TEST_P(FullScreenKeys, SaveOnePngPerMonitorWithItsPixelsAndCopyTheLastMonitor)
{
    StartProgram({});
    // Keys go to the window under the pointer: a neutral part of the tool
    // window.
    ASSERT_TRUE(program.PointAtStatusLine());
    ASSERT_TRUE(Xdotool(std::wstring(L"key ") + GetParam()));
    ASSERT_TRUE(scratch.WaitForFiles(L"png", monitors.size()));
    ASSERT_TRUE(program.WaitIdle());
    ExpectOneFilePerMonitor(L"png", true);
    EXPECT_EQ(scratch.Files(L"png").size(), monitors.size());

    // The clipboard holds the last picture: the last monitor enumerated.
    EXPECT_TRUE(WaitUntil([&] { return program.StatusText() == L"The image is copied to the clipboard."; }, 5000))
        << Narrow(program.StatusText());
    sClipboard clipboard;
    ASSERT_TRUE(ReadClipboard(clipboard));
    const RECT last = monitors.back();
    std::string where;
    EXPECT_EQ(DibPatternMismatches(clipboard.dib, last.left, last.top, where), 0) << where;
    EXPECT_EQ(DibPatternMismatches(clipboard.dibV5, last.left, last.top, where), 0) << where;
}

INSTANTIATE_TEST_SUITE_P(TwoMonitorDesktop, FullScreenKeys, testing::Values(L"Print", L"f"),
                         [](const testing::TestParamInfo<const wchar_t*>& info) { return Narrow(info.param); });

TEST_F(TwoMonitors, AltPrintScreenOverAWindowOnTheLeftMonitorCapturesItsRectangle)
{
    StartProgram({});
    const RECT area{-1700, 150, -1700 + 537, 150 + 411};
    cPatternWindow window;
    ASSERT_TRUE(window.Show(&area));
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(window.Handle(), &rect));
    ASSERT_TRUE(SameRect(rect, area)) << Describe(rect);
    ASSERT_TRUE(Xdotool(MouseMoveTo(rect.left + 40, rect.top + 30) + L" key alt+Print"));
    ASSERT_TRUE(scratch.WaitForFiles(L"png", 1));
    ASSERT_TRUE(program.WaitIdle());
    const std::vector<std::wstring> files = scratch.Files(L"png");
    ASSERT_EQ(files.size(), 1u);
    Painter::cPicture picture;
    ASSERT_TRUE(LoadPicture(scratch.Folder() + L"\\" + files[0], picture));
    EXPECT_EQ(picture.Width(), rect.right - rect.left);
    EXPECT_EQ(picture.Height(), rect.bottom - rect.top);
    std::string where;
    EXPECT_EQ(PatternMismatches(picture, rect.left, rect.top, where), 0) << where;
}

TEST_F(TwoMonitors, ClosingDuringTheBackgroundSaveOfA4kJpeg2000StillWritesEveryFileAndEndsWithZero)
{
    StartProgram({L"SaveFileFormat = \"jp2\""});
    ASSERT_TRUE(program.PointAtStatusLine());
    ASSERT_TRUE(Xdotool(L"key Print"));
    ASSERT_TRUE(program.WaitForCapture());
    // The 3840 x 2160 picture takes seconds to encode: the save is still
    // running when the window closes.
    EXPECT_LT(scratch.Files(L"jp2").size(), monitors.size()) << "the save had ended before the close";
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(program.WaitForExit(120000), 0u);
    ExpectOneFilePerMonitor(L"jp2", false);
}

} // namespace
