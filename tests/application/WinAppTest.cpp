#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "framework/application/WinApp.h"

using Application::cWinApp;
using Container::cWideString;

namespace {

constexpr UINT WM_TEST = WM_APP + 1;
// wParam of the test messages that the application consumes.
constexpr WPARAM Consumed = 1;

// Removes whatever earlier tests left in this thread's queue.
void DrainQueue()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// A message-only window that records the wParam of every WM_TEST it gets.
class cRecordingWindow
{
public:
    cRecordingWindow()
    {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &cRecordingWindow::Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QsRecordingWindow";
        RegisterClassExW(&windowClass); // a second registration fails harmlessly
        m_window = CreateWindowExW(0, L"QsRecordingWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~cRecordingWindow() { DestroyWindow(m_window); }

    HWND Handle() const { return m_window; }
    std::vector<WPARAM> received;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_TEST) {
            auto* self = reinterpret_cast<cRecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (self != nullptr)
                self->received.push_back(wParam);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
};

// Counts the life-cycle calls; InitInstance does what the test sets up.
class cTestApp : public cWinApp
{
public:
    bool initResult = true;
    int quitCode = -100;        // posted as WM_QUIT by InitInstance unless -100
    int initCalls = 0;
    int exitCalls = 0;
    int loopCalls = 0;
    std::vector<WPARAM> offered; // wParam of each WM_TEST pre-translated

    bool InitInstance(const char16_t*, int) override
    {
        ++initCalls;
        if (quitCode != -100)
            PostQuitMessage(quitCode);
        return initResult;
    }
    int ExitInstance() override
    {
        ++exitCalls;
        return 55; // not the exit code of Run
    }
    int MessageLoop() override
    {
        ++loopCalls;
        return cWinApp::MessageLoop();
    }
    bool PreTranslateMessage(MSG* message) override
    {
        if (message->message != WM_TEST)
            return false;
        offered.push_back(message->wParam);
        return message->wParam == Consumed;
    }
};

} // namespace

TEST(WinApp, ConstructingPublishesTheCurrentApplication)
{
    EXPECT_EQ(cWinApp::GetApp(), nullptr);
    {
        cTestApp app;
        EXPECT_EQ(cWinApp::GetApp(), &app);
    }
    EXPECT_EQ(cWinApp::GetApp(), nullptr);
}

TEST(WinApp, RunAnswersTheCodeOfWmQuit)
{
    DrainQueue();
    cTestApp app;
    app.quitCode = 7;
    EXPECT_EQ(app.Run(u"", SW_SHOWNORMAL), 7);
    EXPECT_EQ(app.initCalls, 1);
    EXPECT_EQ(app.loopCalls, 1);
    EXPECT_EQ(app.exitCalls, 1);
}

TEST(WinApp, FailedInitInstanceAnswersMinusOneAfterOneExitInstance)
{
    DrainQueue();
    cTestApp app;
    app.initResult = false;
    EXPECT_EQ(app.Run(u"/any --switch file.png", SW_SHOWNORMAL), -1);
    EXPECT_EQ(app.initCalls, 1);
    EXPECT_EQ(app.loopCalls, 0);
    EXPECT_EQ(app.exitCalls, 1);
}

TEST(WinApp, BaseInitInstanceFailsTheRun)
{
    DrainQueue();
    cWinApp app;
    EXPECT_EQ(app.Run(nullptr, SW_SHOWNORMAL), -1);
    EXPECT_EQ(app.ExitInstance(), 0);
    MSG message{};
    EXPECT_FALSE(app.PreTranslateMessage(&message));
}

TEST(WinApp, MessageLoopDispatchesOnlyWhatPreTranslationLeaves)
{
    DrainQueue();
    cRecordingWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    cTestApp app;
    PostMessageW(window.Handle(), WM_TEST, 2, 0);
    PostMessageW(window.Handle(), WM_TEST, Consumed, 0);
    PostMessageW(window.Handle(), WM_TEST, 3, 0);
    PostQuitMessage(12);
    EXPECT_EQ(app.MessageLoop(), 12);
    EXPECT_EQ(app.offered, (std::vector<WPARAM>{2, Consumed, 3}));
    EXPECT_EQ(window.received, (std::vector<WPARAM>{2, 3}));
}

TEST(WinApp, MessageLoopReachesThreadMessagesThroughPreTranslation)
{
    // Messages posted to the thread (no window) are offered too.
    DrainQueue();
    cTestApp app;
    PostThreadMessageW(GetCurrentThreadId(), WM_TEST, 4, 0);
    PostQuitMessage(0);
    EXPECT_EQ(app.MessageLoop(), 0);
    EXPECT_EQ(app.offered, (std::vector<WPARAM>{4}));
}

TEST(WinApp, PumpMessagesAnswersTrueOnAnEmptyQueue)
{
    DrainQueue();
    cTestApp app;
    int exitCode = 99;
    EXPECT_TRUE(app.PumpMessages(exitCode));
    EXPECT_EQ(exitCode, 99);
}

TEST(WinApp, PumpMessagesDispatchesWaitingMessagesAndReturns)
{
    DrainQueue();
    cRecordingWindow window;
    cTestApp app;
    PostMessageW(window.Handle(), WM_TEST, Consumed, 0);
    PostMessageW(window.Handle(), WM_TEST, 5, 0);
    int exitCode = 99;
    EXPECT_TRUE(app.PumpMessages(exitCode));
    EXPECT_EQ(exitCode, 99);
    EXPECT_EQ(app.offered, (std::vector<WPARAM>{Consumed, 5}));
    EXPECT_EQ(window.received, (std::vector<WPARAM>{5}));
    // Nothing is left behind.
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
}

TEST(WinApp, PumpMessagesStopsAtWmQuitWithItsCode)
{
    DrainQueue();
    cRecordingWindow window;
    cTestApp app;
    PostMessageW(window.Handle(), WM_TEST, 6, 0);
    PostQuitMessage(3);
    int exitCode = 99;
    EXPECT_FALSE(app.PumpMessages(exitCode));
    EXPECT_EQ(exitCode, 3);
    EXPECT_EQ(window.received, (std::vector<WPARAM>{6}));
    // WM_QUIT was taken: the next pump finds an empty queue.
    exitCode = 99;
    EXPECT_TRUE(app.PumpMessages(exitCode));
    EXPECT_EQ(exitCode, 99);
}

TEST(WinApp, SetModuleRecordsPathAndFolder)
{
    cWinApp app;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(app.SetModule(instance));
    EXPECT_EQ(app.Instance(), instance);
    EXPECT_FALSE(app.Module().OwnsHandle());

    wchar_t expected[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, expected, MAX_PATH), 0u);
    const std::u16string path(reinterpret_cast<const char16_t*>(expected));
    EXPECT_EQ(std::u16string(app.ModulePath().View()), path);

    const std::u16string folder(app.ModuleFolder().View());
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), u'\\');
    EXPECT_NE(folder.back(), u'/');
    const std::u16string rest = path.substr(folder.size());
    EXPECT_EQ(path.compare(0, folder.size(), folder), 0);
    EXPECT_TRUE(rest == u"\\qs_application_tests.exe" || rest == u"/qs_application_tests.exe")
        << std::string(rest.begin(), rest.end());
}

TEST(WinApp, NamesAreKept)
{
    cWinApp app;
    EXPECT_TRUE(app.CompanyName().IsEmpty());
    app.SetCompanyName(u"Vadrin");
    app.SetAppName(u"Quillsnapper");
    EXPECT_TRUE(app.CompanyName() == u"Vadrin");
    EXPECT_TRUE(app.AppName() == u"Quillsnapper");
}

TEST(WinApp, AppMessageBoxShowsTheTextUnderTheApplicationName)
{
    cWinApp app;
    app.SetAppName(u"Qs message box test");

    // Another thread finds the box by its caption, reads its text and
    // closes it as the OK button would.
    std::atomic<bool> found{false};
    std::wstring text;
    std::thread closer([&] {
        for (int attempt = 0; attempt < 200 && !found; ++attempt) {
            HWND box = FindWindowW(L"#32770", L"Qs message box test");
            if (box != nullptr && IsWindowVisible(box)) {
                wchar_t buffer[256] = {};
                GetDlgItemTextW(box, 0xFFFF, buffer, 256);
                text = buffer;
                found = true;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    const int answer = app.AppMessageBox(nullptr, cWideString(u"Grammar error in line 3"));
    closer.join();
    ASSERT_TRUE(found);
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(text, L"Grammar error in line 3");
}
