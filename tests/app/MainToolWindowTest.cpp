// The tool window on its own: its rows, its status line, and captures over
// monitors handed in by the test.

#include <gtest/gtest.h>

#include <windows.h>

#include "app/CaptureFrame.h"
#include "app/MainToolWindow.h"
#include "app/settings/SettingsRecord.h"
#include "framework/settings/AppLanguage.h"
#include "framework/window/Button.h"
#include "framework/window/Toolkit.h"
#include "resources/ToolWindowResource.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <string>
#include <vector>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

const int kIdleButtons[] = {IDC_NORMAL_CAPTURE, IDC_CAPTURE_FRAME, IDC_CAPTURE_WINDOW,
                            IDC_CAPTURE_FULL_SCREEN, IDC_OPTIONS, IDC_OPEN_SAVE_FOLDER};
const int kFramingButtons[] = {IDC_CAPTURE, IDC_CAPTURE_FRAME_CANCEL};

class MainToolWindowTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        Window::cToolkit::Initialize(GetModuleHandleW(nullptr));
        cAppLanguage::sSources sources;
        Container::cWideString chosen;
        s_language.RegisterIdNames();
        s_language.SelectLanguage(u"English", sources, chosen);
    }
    void SetUp() override
    {
        settings.SaveFilePath = Container::cWideString(std::u16string_view(folder.Path().u16string()));
        settings.SaveFileFormat = u"bmp";
        settings.ConfirmSaving = false;
        settings.CheckedAssociatedProgram = true;
        ASSERT_TRUE(tool.Create(GetModuleHandleW(nullptr), settings, frame));
        ASSERT_TRUE(frame.Create(GetModuleHandleW(nullptr)));
        frame.SetToolWindow(&tool);
    }
    void TearDown() override
    {
        tool.StopWorkers();
        tool.Destroy();
        frame.Destroy();
        Platform::SetFakeTime(nullptr, nullptr);
    }

    bool HasVisibleStyle(int id) const
    {
        return (GetWindowLongPtrW(GetDlgItem(tool.Handle(), id), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    std::wstring Status() const
    {
        wchar_t text[256] = {};
        GetDlgItemTextW(tool.Handle(), IDC_STATUS, text, 256);
        return text;
    }

    static cAppLanguage s_language;
    Testing::cTempFolder folder;
    cSettingsRecord settings;
    cMainToolWindow tool;
    cCaptureFrame frame;
};

cAppLanguage MainToolWindowTest::s_language;

} // namespace

TEST_F(MainToolWindowTest, StartsInTheIdleRowWithTheWelcomeTextItsIconsAndTheAboutItem)
{
    for (int id : kIdleButtons)
        EXPECT_TRUE(HasVisibleStyle(id)) << id;
    for (int id : kFramingButtons)
        EXPECT_FALSE(HasVisibleStyle(id)) << id;
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(tool.Handle(), IDC_CAPTURE_FRAME_CANCEL)));
    EXPECT_EQ(Status(), L"Welcome Quillsnapper");
    EXPECT_EQ(SendDlgItemMessageW(tool.Handle(), IDC_CHECK_CONFIRM_SAVING, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendDlgItemMessageW(tool.Handle(), IDC_CHECK_SEND_TO_ASSOCIATED_PROGRAM, BM_GETCHECK, 0, 0),
              BST_CHECKED);
    EXPECT_NE(SendMessageW(tool.Handle(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(tool.Handle(), WM_GETICON, ICON_SMALL, 0), 0);
    wchar_t caption[64] = {};
    GetWindowTextW(tool.Handle(), caption, 64);
    EXPECT_STREQ(caption, L"Vadrin Quillsnapper");
    wchar_t about[64] = {};
    ASSERT_GT(GetMenuStringW(GetSystemMenu(tool.Handle(), FALSE), ID_ABOUT, about, 64, MF_BYCOMMAND), 0);
    EXPECT_STREQ(about, L"About Quillsnapper...");
    // Every picture button shows its tile.
    for (int id : {IDC_NORMAL_CAPTURE, IDC_CAPTURE, IDC_CAPTURE_FRAME, IDC_CAPTURE_FRAME_CANCEL, IDC_CAPTURE_WINDOW,
                   IDC_CAPTURE_FULL_SCREEN, IDC_OPEN_SAVE_FOLDER, IDC_OPTIONS, IDC_VADRIN})
    {
        auto* button = dynamic_cast<Window::cButton*>(Window::cWindow::FromHandle(GetDlgItem(tool.Handle(), id)));
        ASSERT_NE(button, nullptr) << id;
        EXPECT_FALSE(button->GetImage().IsEmpty()) << id;
    }
}

TEST_F(MainToolWindowTest, FramingRowAndBackToIdle)
{
    tool.BeginFraming();
    EXPECT_TRUE(frame.IsVisible());
    for (int id : kFramingButtons)
        EXPECT_TRUE(HasVisibleStyle(id)) << id;
    for (int id : kIdleButtons)
        EXPECT_FALSE(HasVisibleStyle(id)) << id;
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(tool.Handle(), IDC_CAPTURE_FRAME_CANCEL)));
    EXPECT_EQ(Status(), L"Try the arrow keys for moving.");

    tool.CancelFraming();
    EXPECT_FALSE(frame.IsVisible());
    for (int id : kIdleButtons)
        EXPECT_TRUE(HasVisibleStyle(id)) << id;
    for (int id : kFramingButtons)
        EXPECT_FALSE(HasVisibleStyle(id)) << id;
}

TEST_F(MainToolWindowTest, TheStatusLineIsRewrittenOnlyWhenTheTextChanges)
{
    SetDlgItemTextW(tool.Handle(), IDC_STATUS, L"touched");
    tool.SetStatus(cMainToolWindow::IDS_MSG_WELCOME);
    EXPECT_EQ(Status(), L"touched");
    tool.SetStatus(cMainToolWindow::IDS_MSG_TRY_ENTER);
    EXPECT_EQ(Status(), L"If you want to capture, press Enter key.");
    tool.SetStatus(0);
    EXPECT_EQ(Status(), L"");
    EXPECT_EQ(tool.StatusId(), 0);
}

TEST_F(MainToolWindowTest, FullScreenCaptureSavesOnePicturePerMonitorInTheirOrder)
{
    Platform::sTime time;
    time.year = 2013;
    time.month = 5;
    time.day = 4;
    time.hour = 9;
    time.minute = 7;
    time.second = 3;
    time.milliseconds = 58;
    Platform::SetFakeTime(&time, &time);
    tool.SetMonitorSource([] {
        return std::vector<Container::sRect>{{0, 0, 640, 480}, {640, 0, 1000, 300}};
    });
    tool.CaptureFullScreen();
    EXPECT_TRUE(IsWindowVisible(tool.Handle())) << "back in the idle row";
    tool.StopWorkers();

    const std::filesystem::path first = folder.Path() / "Quillsnapper_2013-05-04_09-07-03_58.bmp";
    const std::filesystem::path second = folder.Path() / "Quillsnapper_2013-05-04_09-07-03_58_2.bmp";
    ASSERT_TRUE(std::filesystem::exists(first));
    ASSERT_TRUE(std::filesystem::exists(second));
    // 54 bytes of headers, then 32-bit or 24-bit rows: the first file is the
    // larger monitor.
    EXPECT_GT(std::filesystem::file_size(first), std::filesystem::file_size(second));
    EXPECT_GE(std::filesystem::file_size(second), 360u * 300u * 3u);
    EXPECT_EQ(Status(), L"The image is copied to the clipboard.");
}

TEST_F(MainToolWindowTest, NothingGrabbedMeansNothingSavedOrAnnounced)
{
    tool.SetMonitorSource([] { return std::vector<Container::sRect>{{10, 10, 10, 400}}; });
    tool.CaptureFullScreen();
    tool.StopWorkers();
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
    EXPECT_EQ(Status(), L"Welcome Quillsnapper");
    EXPECT_EQ(tool.WorkerCount(), 0u);
}
