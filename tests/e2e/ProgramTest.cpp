#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "framework/application/Module.h"
#include "framework/document/BVPictureFileFactory.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/e2e/ProgramWithPattern.h"

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

using namespace E2e;

namespace {

// The controls of the idle row and of the framing row.
const int kIdleButtons[] = {1005, 1006, 3001, 3002, 3056, 3050};
const int kFramingButtons[] = {140, 3046};

// Every saved picture is one monitor's exact pixels.
void ExpectMonitorPictures(const cScratch& scratch, const std::wstring& extension)
{
    const std::vector<RECT> monitors = Monitors();
    const std::vector<std::wstring> files = scratch.Files(extension);
    ASSERT_EQ(files.size(), monitors.size());
    for (const std::wstring& name : files) {
        Painter::cPicture picture;
        ASSERT_TRUE(LoadPicture(scratch.Folder() + L"\\" + name, picture)) << Narrow(name);
        bool matched = false;
        std::string where;
        for (const RECT& monitor : monitors)
            if (picture.Width() == monitor.right - monitor.left && picture.Height() == monitor.bottom - monitor.top &&
                PatternMismatches(picture, monitor.left, monitor.top, where) == 0)
                matched = true;
        EXPECT_TRUE(matched) << Narrow(name) << " " << picture.Width() << " x " << picture.Height() << " " << where;
    }
}

} // namespace

TEST(Program, FirstStartShowsTheIdleRowWithoutTakingTheFocusAndWritesEverySettingAtExit)
{
    cScratch scratch; // no settings file
    cPatternWindow pattern;
    ASSERT_TRUE(pattern.Show());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == pattern.Handle(); }, 10000));

    cProgram program;
    // Arguments are accepted and ignored.
    ASSERT_TRUE(program.Start(L"/unknown --switch C:\\some\\file.png")) << GetLastError();
    HWND tool = program.WaitForToolWindow();
    ASSERT_NE(tool, nullptr) << "no tool window";
    EXPECT_TRUE(WaitUntil([&] { return program.StatusText() == L"Welcome Quillsnapper"; }, 5000))
        << Narrow(program.StatusText());
    for (int id : kIdleButtons)
        EXPECT_TRUE(program.IsControlVisible(id)) << id;
    for (int id : kFramingButtons)
        EXPECT_FALSE(program.IsControlVisible(id)) << id;
    EXPECT_NE(GetWindowLongPtrW(tool, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    // The program in front keeps the focus.
    EXPECT_EQ(GetForegroundWindow(), pattern.Handle());

    ASSERT_TRUE(program.Close());
    EXPECT_EQ(program.WaitForExit(60000), 0u);
    const std::wstring settings = cScratch::ReadSettings();
    for (const wchar_t* key : {L"CheckedSaveFile = true", L"CheckedCopyClipboard = true",
                               L"CheckedAssociatedProgram = false", L"SaveFileFormat = \"png\"", L"SaveFilePath = \"",
                               L"CheckedSameFileName = false", L"AssociatedProgramIndex = ", L"AssociatedProgramPath = ",
                               L"AssociatedProgramPathForUser = ", L"DefaultLanguage = \"English\"",
                               L"CheckedAssistance = false", L"ConfirmSaving = false"})
        EXPECT_NE(settings.find(key), std::wstring::npos) << Narrow(key) << "\n" << Narrow(settings);
    EXPECT_NE(settings.find(L"Desktop"), std::wstring::npos) << "the save folder is the desktop";
}

TEST_F(ProgramWithPattern, PrintScreenSavesEachMonitorsExactPixelsAndPutsBothFormatsOnTheClipboard)
{
    StartProgram({});
    ASSERT_TRUE(Xdotool(L"key Print"));
    ASSERT_TRUE(scratch.WaitForFiles(L"png", Monitors().size()));
    ASSERT_TRUE(program.WaitIdle());
    ExpectMonitorPictures(scratch, L"png");

    const std::wregex name(L"Quillsnapper_\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d_\\d{1,3}(_\\d+)?\\.png");
    for (const std::wstring& file : scratch.Files(L"png"))
        EXPECT_TRUE(std::regex_match(file, name)) << Narrow(file);

    EXPECT_TRUE(WaitUntil([&] { return program.StatusText() == L"The image is copied to the clipboard."; }, 5000))
        << Narrow(program.StatusText());
    // The last monitor's picture, as another program reads it.
    sClipboard clipboard;
    ASSERT_TRUE(ReadClipboard(clipboard));
    const RECT last = Monitors().back();
    std::string where;
    ASSERT_GE(clipboard.dib.size(), 40u);
    EXPECT_EQ(clipboard.dib[0], 40);
    EXPECT_EQ(clipboard.dib[14], 24);
    EXPECT_EQ(DibPatternMismatches(clipboard.dib, last.left, last.top, where), 0) << where;
    ASSERT_GE(clipboard.dibV5.size(), 124u);
    EXPECT_EQ(clipboard.dibV5[0], 124);
    EXPECT_EQ(clipboard.dibV5[14], 32);
    EXPECT_EQ(DibPatternMismatches(clipboard.dibV5, last.left, last.top, where), 0) << where;
}

TEST_F(ProgramWithPattern, TheLastCaptureStaysOnTheClipboardAfterTheProgramEnds)
{
    // Nobody reads the clipboard while the program runs: what it offered
    // there is written out when it ends. An earlier test's capture must not
    // be what is found.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    sClipboard before;
    ReadClipboard(before);
    ASSERT_TRUE(before.dib.empty() && before.dibV5.empty());
    StartProgram({});
    ASSERT_TRUE(Xdotool(L"key Print"));
    ASSERT_TRUE(scratch.WaitForFiles(L"png", Monitors().size()));
    ASSERT_TRUE(program.WaitIdle());
    EXPECT_TRUE(WaitUntil([&] { return program.StatusText() == L"The image is copied to the clipboard."; }, 5000));
    ASSERT_TRUE(program.Close());
    ASSERT_EQ(program.WaitForExit(30000), 0u);

    sClipboard clipboard;
    ASSERT_TRUE(ReadClipboard(clipboard));
    const RECT last = Monitors().back();
    std::string where;
    EXPECT_EQ(DibPatternMismatches(clipboard.dib, last.left, last.top, where), 0) << where;
    EXPECT_EQ(DibPatternMismatches(clipboard.dibV5, last.left, last.top, where), 0) << where;
}

TEST_F(ProgramWithPattern, KeyFOverTheToolWindowCapturesTheFullScreen)
{
    StartProgram({L"SaveFileFormat = \"bmp\""});
    ASSERT_TRUE(program.PointAtStatusLine());
    ASSERT_TRUE(Xdotool(L"key f"));
    ASSERT_TRUE(scratch.WaitForFiles(L"bmp", Monitors().size()));
    ASSERT_TRUE(program.WaitIdle());
    ExpectMonitorPictures(scratch, L"bmp");
}

TEST_F(ProgramWithPattern, HeldPrintScreenCapturesOncePerPress)
{
    StartProgram({});
    // Held for a second: the key repeats about ten times.
    ASSERT_TRUE(Xdotool(L"keydown Print sleep 1 keyup Print"));
    ASSERT_TRUE(scratch.WaitForFiles(L"png", 1));
    ASSERT_TRUE(program.WaitIdle());
    // A second press captures again; anything the held key caused as well
    // would be saved before it.
    ASSERT_TRUE(Xdotool(L"key Print"));
    ASSERT_TRUE(scratch.WaitForFiles(L"png", 2));
    ASSERT_TRUE(program.WaitIdle());
    EXPECT_EQ(scratch.Files(L"png").size(), 2u);
}

TEST_F(ProgramWithPattern, AltPrintScreenCapturesTheWindowUnderThePointer)
{
    StartProgram({});
    RECT area{500, 300, 1037, 711};
    cPatternWindow window;
    ASSERT_TRUE(window.Show(&area));
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(window.Handle(), &rect));
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

TEST_F(ProgramWithPattern, ConfirmSavingAsksForEachNameAndSavesInTheFormatOfTheNameTyped)
{
    // The capture hands the foreground to the pattern's program before the
    // save dialog opens: the keys reach the dialog through the pointer.
    cManagedWindows managed;
    StartProgram({L"ConfirmSaving = true"});
    EXPECT_EQ(IsDlgButtonChecked(program.ToolWindow(), 3051), BST_CHECKED);

    // Cancelled: nothing is saved.
    ASSERT_TRUE(Xdotool(L"key Print"));
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no save dialog";
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(dialog, &rect));
    const std::wstring overDialog = MouseMoveTo((rect.left + rect.right) / 2, rect.top + 40);
    ASSERT_TRUE(Xdotool(overDialog + L" key Escape"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 20000));

    // A name typed with another extension: saved in that format.
    ASSERT_TRUE(Xdotool(L"key Print"));
    dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no second save dialog";
    ASSERT_TRUE(GetWindowRect(dialog, &rect));
    ASSERT_TRUE(Xdotool(MouseMoveTo((rect.left + rect.right) / 2, rect.top + 40) + L" key ctrl+a type typed.bmp"));
    ASSERT_TRUE(Xdotool(L"key Return"));
    ASSERT_TRUE(scratch.WaitForFiles(L"bmp", 1, 30000));
    EXPECT_TRUE(WaitUntil([&] { return program.StatusText() == L"The image is saved."; }, 10000))
        << Narrow(program.StatusText());
    EXPECT_TRUE(scratch.Files(L"png").empty()) << "the cancelled picture was saved";
    const std::vector<std::wstring> files = scratch.Files(L"bmp");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], L"typed.bmp");
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(scratch.Folder() + L"\\typed.bmp", bytes));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    ExpectMonitorPictures(scratch, L"bmp");
}

TEST_F(ProgramWithPattern, ClosingDuringABackgroundSaveStillWritesTheFileAndEndsWithZero)
{
    // JPEG-2000 is the slowest writer: the save is still running when the
    // window closes.
    StartProgram({L"SaveFileFormat = \"jp2\""});
    ASSERT_TRUE(Xdotool(L"key Print"));
    ASSERT_TRUE(program.WaitForCapture());
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(program.WaitForExit(120000), 0u);
    ASSERT_EQ(scratch.Files(L"jp2").size(), Monitors().size());
    for (const std::wstring& name : scratch.Files(L"jp2")) {
        Painter::cPicture picture;
        ASSERT_TRUE(LoadPicture(scratch.Folder() + L"\\" + name, picture)) << Narrow(name);
        EXPECT_EQ(picture.Width(), Monitors()[0].right - Monitors()[0].left);
    }
}

TEST_F(ProgramWithPattern, EndOfSessionWritesTheSettingsAndPendingPictures)
{
    StartProgram({L"SaveFileFormat = \"tga\""});
    ASSERT_TRUE(Xdotool(L"key Print"));
    ASSERT_TRUE(program.WaitForCapture());
    // The settings file given had only two values; at log-off the program
    // writes all of them while it still runs.
    SendMessageTimeoutW(program.ToolWindow(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 60000, nullptr);
    EXPECT_TRUE(program.IsRunning());
    EXPECT_EQ(scratch.Files(L"tga").size(), Monitors().size());
    const std::wstring settings = cScratch::ReadSettings();
    EXPECT_NE(settings.find(L"DefaultLanguage = \"English\""), std::wstring::npos) << Narrow(settings);
    EXPECT_NE(settings.find(L"SaveFileFormat = \"tga\""), std::wstring::npos);
}

TEST_F(ProgramWithPattern, ForeignSavedNotificationsAreIgnored)
{
    StartProgram({});
    // WM_USER + 1 from another process, with an address that means nothing
    // there: the program reads nothing through it.
    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutW(program.ToolWindow(), WM_USER + 1, 0, 0x12345678, SMTO_NORMAL, 10000, &result), 0);
    EXPECT_EQ(result, 1u);
    ASSERT_NE(SendMessageTimeoutW(program.ToolWindow(), WM_USER + 1, 7, -1, SMTO_NORMAL, 10000, &result), 0);
    EXPECT_TRUE(program.IsRunning());
    // And it still captures.
    ASSERT_TRUE(Xdotool(L"key Print"));
    EXPECT_TRUE(scratch.WaitForFiles(L"png", Monitors().size()));
}

// Every format with a writer: a capture writes it, and it decodes at the
// screen's size (the lossless true-colour ones with the screen's pixels).
class ProgramFormats : public ProgramWithPattern, public testing::WithParamInterface<const wchar_t*>
{
};

TEST_P(ProgramFormats, CaptureIsWrittenInTheFormatAndDecodesAtTheScreensSize)
{
    const std::wstring format = GetParam();
    StartProgram({L"SaveFileFormat = \"" + format + L"\""});
    ASSERT_TRUE(Xdotool(L"key Print"));
    ASSERT_TRUE(scratch.WaitForFiles(format, Monitors().size()));
    ASSERT_TRUE(program.WaitIdle());
    const RECT monitor = Monitors()[0];
    for (const std::wstring& name : scratch.Files(format)) {
        Painter::cPicture picture;
        ASSERT_TRUE(LoadPicture(scratch.Folder() + L"\\" + name, picture)) << Narrow(name);
        EXPECT_EQ(picture.Width(), monitor.right - monitor.left);
        EXPECT_EQ(picture.Height(), monitor.bottom - monitor.top);
    }
    if (format == L"png" || format == L"bmp" || format == L"tga" || format == L"pnm" || format == L"ras")
        ExpectMonitorPictures(scratch, format);
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, ProgramFormats,
                         testing::Values(L"png", L"bmp", L"gif", L"ico", L"jpg", L"jpc", L"jp2", L"pcx", L"pgx",
                                         L"pnm", L"ras", L"ska", L"tga"),
                         [](const testing::TestParamInfo<const wchar_t*>& info) { return Narrow(info.param); });

TEST(Program, ASecondStartBringsTheRunningCopyForwardAndEndsWithZero)
{
    cScratch scratch;
    ASSERT_TRUE(scratch.WriteSettings({}));
    cProgram first;
    ASSERT_TRUE(first.Start());
    ASSERT_NE(first.WaitForToolWindow(), nullptr);
    cProgram second;
    ASSERT_TRUE(second.Start());
    EXPECT_EQ(second.WaitForExit(30000), 0u);
    EXPECT_TRUE(first.IsRunning());
    ASSERT_TRUE(first.Close());
    EXPECT_EQ(first.WaitForExit(60000), 0u);
}

TEST(Program, AnUnreadableSettingsFileIsKeptAsBackupAndReplacedByAValidOne)
{
    cScratch scratch;
    ASSERT_TRUE(scratch.WriteSettings({}));
    // A million opening braces.
    const std::string braces(1000000, '{');
    {
        FILE* file = _wfopen(cScratch::SettingsFile().c_str(), L"wb");
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(fwrite(braces.data(), 1, braces.size(), file), braces.size());
        fclose(file);
    }
    cProgram program;
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForToolWindow(), nullptr);
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(program.WaitForExit(60000), 0u);
    const std::wstring settings = cScratch::ReadSettings();
    EXPECT_NE(settings.find(L"Program = {"), std::wstring::npos) << Narrow(settings.substr(0, 200));
    EXPECT_NE(settings.find(L"ConfirmSaving = false"), std::wstring::npos);
    std::vector<std::uint8_t> backup;
    ASSERT_TRUE(ReadFileBytes(cScratch::SettingsFile() + L".bak", backup));
    EXPECT_EQ(backup.size(), braces.size());
}

TEST(Program, CarriesItsVersionIconAndManifest)
{
    Application::cModule program;
    const std::wstring path = ProgramPath();
    ASSERT_TRUE(program.Load(reinterpret_cast<const char16_t*>(path.c_str()), true));

    Container::cWideString version;
    ASSERT_TRUE(program.GetProductVersionText(version));
    EXPECT_TRUE(version == u"1-0-0-0") << std::string(version.View().begin(), version.View().end());

    // Icon group 100 (type 14) with 16, 32, 48 and 256 (stored as 0) pixel images.
    const uint8_t* bytes = nullptr;
    uint32_t size = 0;
    ASSERT_TRUE(program.FindResourceBytes(MAKEINTRESOURCEW(14), 100, bytes, size));
    ASSERT_GE(size, 6u);
    const int count = bytes[4] | (bytes[5] << 8);
    ASSERT_EQ(size, 6u + 14u * count);
    std::string sizes;
    for (int i = 0; i < count; ++i)
        sizes += std::to_string(bytes[6 + 14 * i]) + " ";
    EXPECT_EQ(sizes, "16 32 48 0 ");
    // Each size decodes to an icon of that size.
    for (int side : {16, 32, 48, 256}) {
        HICON icon = static_cast<HICON>(LoadImageW(program.Handle(), MAKEINTRESOURCEW(100), IMAGE_ICON, side, side, 0));
        ASSERT_NE(icon, nullptr) << side;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        ASSERT_NE(GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap), 0);
        EXPECT_EQ(bitmap.bmWidth, side);
        EXPECT_EQ(bitmap.bmHeight, side);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }

    // The manifest (type 24, id 1) asks for per-monitor DPI awareness,
    // common controls 6 and no elevation.
    ASSERT_TRUE(program.FindResourceBytes(MAKEINTRESOURCEW(24), 1, bytes, size));
    const std::string manifest(reinterpret_cast<const char*>(bytes), size);
    EXPECT_NE(manifest.find("permonitorv2,permonitor"), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}
