// End-to-end tests of the capture modes: the capture frame with its keys,
// handles and magnifiers, window picking and drag-select.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/gdi/GrabScreen.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/e2e/ScreenPattern.h"

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

using namespace E2e;

namespace {

const int kIdleButtons[] = {1005, 1006, 3001, 3002, 3056, 3050};
const int kFramingButtons[] = {140, 3046};
const int kBorder = 8;

std::string Describe(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

std::wstring Number(long value)
{
    return std::to_wstring(value);
}

// The program's visible top-level windows of a class.
std::vector<HWND> ProgramWindows(DWORD processId, const wchar_t* className)
{
    struct sSearch
    {
        DWORD processId;
        const wchar_t* className;
        std::vector<HWND> found;
    } search{processId, className, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<sSearch*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (owner == s->processId && IsWindowVisible(window) && std::wstring(name) == s->className)
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class CaptureModes : public testing::Test
{
protected:
    void StartProgram(const std::vector<std::wstring>& settings)
    {
        ASSERT_TRUE(scratch.WriteSettings(settings));
        managedWindows = cManagedWindows::Held();
        ASSERT_TRUE(pattern.Show());
        ASSERT_TRUE(program.Start());
        ASSERT_NE(program.WaitForToolWindow(), nullptr);
    }
    void TearDown() override
    {
        if (program.IsRunning()) {
            program.Close();
            EXPECT_EQ(program.WaitForExit(60000), 0u);
        }
    }

    // The pointer over the status line, clicked: keys then reach the tool
    // window (unmanaged windows get them once the click has put them in
    // front; managed ones get them under the pointer, whichever program Wine
    // made the foreground after a capture).
    bool PointAtStatusLine()
    {
        RECT status{};
        if (!GetWindowRect(GetDlgItem(program.ToolWindow(), 160), &status))
            return false;
        // Managed, the click does not bring it back in front after a
        // capture, and need not.
        return Xdotool(L"mousemove " + Number((status.left + status.right) / 2) + L" " +
                       Number((status.top + status.bottom) / 2) + L" click 1") &&
               (WaitUntil([&] { return GetForegroundWindow() == program.ToolWindow(); }, managedWindows ? 0 : 3000) ||
                IsWindowVisible(program.ToolWindow()));
    }
    bool ClickControl(int id)
    {
        RECT rect{};
        if (!GetWindowRect(GetDlgItem(program.ToolWindow(), id), &rect))
            return false;
        return Xdotool(L"mousemove " + Number((rect.left + rect.right) / 2) + L" " + Number((rect.top + rect.bottom) / 2) +
                       L" click 1");
    }
    HWND Frame()
    {
        for (HWND window : ProgramWindows(program.ProcessId(), L"#32770"))
            if (window != program.ToolWindow())
                return window;
        return nullptr;
    }
    HWND WaitForFrame()
    {
        HWND frame = nullptr;
        WaitUntil([&] { return (frame = Frame()) != nullptr; }, 10000);
        return frame;
    }
    bool WaitForRect(HWND window, const RECT& wanted, DWORD timeoutMs = 5000)
    {
        return WaitUntil([&] { return SameRect(WindowRect(window), wanted); }, timeoutMs, 20);
    }
    bool WaitForStatus(const std::wstring& text)
    {
        return WaitUntil([&] { return program.StatusText() == text; }, 5000, 20);
    }
    bool WaitForFiles(std::size_t count, DWORD timeoutMs = 60000)
    {
        return WaitUntil([&] { return scratch.Files(L"png").size() >= count; }, timeoutMs);
    }
    // The one saved picture, matched against the screen pattern at rect.
    void ExpectSavedPattern(const RECT& rect)
    {
        ASSERT_TRUE(WaitForFiles(1));
        const std::vector<std::wstring> files = scratch.Files(L"png");
        ASSERT_EQ(files.size(), 1u);
        Painter::cPicture picture;
        ASSERT_TRUE(LoadPicture(scratch.Folder() + L"\\" + files[0], picture));
        EXPECT_EQ(picture.Width(), rect.right - rect.left);
        EXPECT_EQ(picture.Height(), rect.bottom - rect.top);
        std::string where;
        EXPECT_EQ(PatternMismatches(picture, rect.left, rect.top, where), 0) << where << " at " << Describe(rect);
    }
    // Nothing was saved: a full-screen capture made afterwards is the only one.
    void ExpectNothingSaved()
    {
        ASSERT_TRUE(program.WaitIdle());
        ASSERT_TRUE(PointAtStatusLine());
        ASSERT_TRUE(Xdotool(L"key f"));
        const std::size_t monitors = Monitors().size();
        ASSERT_TRUE(WaitForFiles(monitors));
        ASSERT_TRUE(program.WaitIdle());
        EXPECT_EQ(scratch.Files(L"png").size(), monitors);
    }

    cScratch scratch;
    cPatternWindow pattern;
    cProgram program;
    bool managedWindows = false;
};

} // namespace

TEST_F(CaptureModes, ArrowKeysMoveAndResizeTheFrameWithHintsAndEnterCapturesItsInside)
{
    StartProgram({});
    ASSERT_TRUE(PointAtStatusLine());
    ASSERT_TRUE(Xdotool(L"key r"));
    HWND frame = WaitForFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(WaitForStatus(L"Try the arrow keys for moving.")) << Narrow(program.StatusText());
    for (int id : kFramingButtons)
        EXPECT_TRUE(program.IsControlVisible(id)) << id;
    for (int id : kIdleButtons)
        EXPECT_FALSE(program.IsControlVisible(id)) << id;
    RECT rect = WindowRect(frame);

    struct sStep
    {
        const wchar_t* keys;
        int dl, dt, dr, db;
        const wchar_t* hint;
    };
    const sStep steps[] = {
        {L"Right", 1, 0, 1, 0, L"with the Shift key to move 10 pixels"},
        {L"Down", 0, 1, 0, 1, L"with the Shift key to move 10 pixels"},
        {L"shift+Left", -10, 0, -10, 0, L"with the Ctrl key to resize"},
        {L"shift+Up", 0, -10, 0, -10, L"with the Ctrl key to resize"},
        {L"ctrl+Right", 0, 0, 1, 0, L"If you want to capture, press Enter key."},
        {L"ctrl+Up", 0, 0, 0, -1, L"If you want to capture, press Enter key."},
        {L"ctrl+shift+Down", 0, 0, 0, 10, L"If you want to capture, press Enter key."},
        {L"Left", -1, 0, -1, 0, L"with the Shift key to move 10 pixels"},
    };
    for (const sStep& step : steps) {
        const RECT wanted{rect.left + step.dl, rect.top + step.dt, rect.right + step.dr, rect.bottom + step.db};
        ASSERT_TRUE(Xdotool(std::wstring(L"key ") + step.keys));
        EXPECT_TRUE(WaitForRect(frame, wanted)) << Narrow(step.keys) << " " << Describe(WindowRect(frame));
        EXPECT_TRUE(WaitForStatus(step.hint)) << Narrow(step.keys) << " " << Narrow(program.StatusText());
        rect = WindowRect(frame);
    }

    // Ctrl+arrows shrink it down to 32 x 32 and no further.
    ASSERT_TRUE(Xdotool(L"key --repeat 50 ctrl+shift+Left"));
    ASSERT_TRUE(Xdotool(L"key --repeat 30 ctrl+shift+Up"));
    EXPECT_TRUE(WaitForRect(frame, {rect.left, rect.top, rect.left + 32, rect.top + 32}, 10000))
        << Describe(WindowRect(frame));
    // Grown again to a size of our choosing.
    ASSERT_TRUE(Xdotool(L"key --repeat 17 ctrl+shift+Right"));
    ASSERT_TRUE(Xdotool(L"key --repeat 9 ctrl+shift+Down"));
    rect = {rect.left, rect.top, rect.left + 202, rect.top + 122};
    ASSERT_TRUE(WaitForRect(frame, rect, 10000)) << Describe(WindowRect(frame));

    ASSERT_TRUE(Xdotool(L"key Return"));
    ExpectSavedPattern({rect.left + kBorder, rect.top + kBorder, rect.right - kBorder, rect.bottom - kBorder});
    ASSERT_TRUE(program.WaitIdle());
    EXPECT_FALSE(IsWindowVisible(frame));
    for (int id : kIdleButtons)
        EXPECT_TRUE(program.IsControlVisible(id)) << id;
}

TEST_F(CaptureModes, EscapeLeavesFramingAndEnterWithoutAFrameCapturesNothing)
{
    StartProgram({});
    ASSERT_TRUE(PointAtStatusLine());
    ASSERT_TRUE(Xdotool(L"key r"));
    HWND frame = WaitForFrame();
    ASSERT_NE(frame, nullptr);
    const RECT shown = WindowRect(frame);
    ASSERT_TRUE(Xdotool(L"key Right"));
    const RECT moved{shown.left + 1, shown.top, shown.right + 1, shown.bottom};
    ASSERT_TRUE(WaitForRect(frame, moved)) << Describe(WindowRect(frame));
    ASSERT_TRUE(Xdotool(L"key Escape"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(frame); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return program.IsControlVisible(1006); }, 5000));
    for (int id : kFramingButtons)
        EXPECT_FALSE(program.IsControlVisible(id)) << id;
    ASSERT_TRUE(Xdotool(L"key Return"));
    // Shown again where it was left.
    ASSERT_TRUE(Xdotool(L"key r"));
    ASSERT_EQ(WaitForFrame(), frame);
    EXPECT_TRUE(SameRect(WindowRect(frame), moved)) << Describe(WindowRect(frame));
    ASSERT_TRUE(Xdotool(L"key Escape"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(frame); }, 5000));
    ExpectNothingSaved();
}

TEST_F(CaptureModes, DragsOnTheBorderResizeTheFrameDownToItsMinimumAndWithinTheScreen)
{
    StartProgram({});
    ASSERT_TRUE(PointAtStatusLine());
    ASSERT_TRUE(Xdotool(L"key r"));
    HWND frame = WaitForFrame();
    ASSERT_NE(frame, nullptr);
    // A press on the painted border, moves in two steps, the release; the
    // frame follows the pointer: an edge ends b + 1 beyond it on the right
    // and bottom, b before it on the left and top.
    auto drag = [&](int x, int y, int toX, int toY, const RECT& wanted) {
        const bool reached = Xdotool(L"mousemove " + Number(x) + L" " + Number(y) + L" mousedown 1") &&
                             Xdotool(L"mousemove " + Number((x + toX) / 2) + L" " + Number((y + toY) / 2)) &&
                             Xdotool(L"mousemove " + Number(toX) + L" " + Number(toY)) && WaitForRect(frame, wanted, 20000);
        return Xdotool(L"mouseup 1") && reached;
    };
    RECT rect = WindowRect(frame);
    // The right border.
    int x = rect.right - 4, y = (rect.top + rect.bottom) / 2;
    EXPECT_TRUE(drag(x, y, x + 60, y + 10, {rect.left, rect.top, x + 60 + kBorder + 1, rect.bottom}))
        << Describe(WindowRect(frame));
    // The bottom-left corner.
    rect = WindowRect(frame);
    x = rect.left + 3, y = rect.bottom - 3;
    EXPECT_TRUE(drag(x, y, x - 40, y + 30, {x - 40 - kBorder, rect.top, rect.right, y + 30 + kBorder + 1}))
        << Describe(WindowRect(frame));
    // The top-left corner far past the bottom-right one: 32 x 32 is the least.
    rect = WindowRect(frame);
    x = rect.left + 3, y = rect.top + 3;
    EXPECT_TRUE(drag(x, y, rect.right + 50, rect.bottom + 50, {rect.right - 32, rect.bottom - 32, rect.right, rect.bottom}))
        << Describe(WindowRect(frame));
    // The top border to the screen's top edge: only the border leaves it.
    rect = WindowRect(frame);
    x = (rect.left + rect.right) / 2, y = rect.top + 3;
    EXPECT_TRUE(drag(x, y, x, 0, {rect.left, -kBorder, rect.right, rect.bottom})) << Describe(WindowRect(frame));

    // Enter captures the inside, which now reaches the screen's top edge.
    rect = WindowRect(frame);
    ASSERT_TRUE(PointAtStatusLine());
    ASSERT_TRUE(Xdotool(L"key Return"));
    ExpectSavedPattern({rect.left + kBorder, rect.top + kBorder, rect.right - kBorder, rect.bottom - kBorder});
}

TEST_F(CaptureModes, WithZoomAssistanceFourMagnifiersShowTheCornersEnlarged)
{
    StartProgram({L"CheckedAssistance = true"});
    ASSERT_TRUE(PointAtStatusLine());
    ASSERT_TRUE(Xdotool(L"key r"));
    HWND frame = WaitForFrame();
    ASSERT_NE(frame, nullptr);
    const DWORD id = program.ProcessId();

    auto check = [&](const RECT& frameRect) {
        const std::vector<HWND> magnifiers = ProgramWindows(id, L"CornerWindow");
        if (magnifiers.size() != 4)
            return testing::AssertionFailure() << magnifiers.size() << " magnifiers";
        const RECT inside{frameRect.left + kBorder, frameRect.top + kBorder, frameRect.right - kBorder,
                          frameRect.bottom - kBorder};
        // Each corner's magnifier and the square it shows.
        const RECT places[4] = {{frameRect.left - 80, frameRect.top - 80, frameRect.left, frameRect.top},
                                {frameRect.left - 80, frameRect.bottom, frameRect.left, frameRect.bottom + 80},
                                {frameRect.right, frameRect.top - 80, frameRect.right + 80, frameRect.top},
                                {frameRect.right, frameRect.bottom, frameRect.right + 80, frameRect.bottom + 80}};
        const POINT squares[4] = {{inside.left, inside.top},
                                  {inside.left, inside.bottom - 25},
                                  {inside.right - 25, inside.top},
                                  {inside.right - 25, inside.bottom - 25}};
        for (int corner = 0; corner < 4; ++corner) {
            bool found = false;
            for (HWND magnifier : magnifiers)
                found = found || SameRect(WindowRect(magnifier), places[corner]);
            if (!found)
                return testing::AssertionFailure() << "no magnifier at " << Describe(places[corner]);
            Painter::cPicture shown;
            const RECT& p = places[corner];
            if (!GDI::GrabScreen({p.left, p.top, p.right, p.bottom}, shown))
                return testing::AssertionFailure() << "no grab";
            for (int y = 0; y < 80; ++y)
                for (int x = 0; x < 80; ++x) {
                    const bool border = x < 3 || y < 3 || x >= 77 || y >= 77;
                    const std::uint32_t expected =
                        border ? 0xFF0000u
                               : PatternPixel(squares[corner].x + (x - 3) * 25 / 74, squares[corner].y + (y - 3) * 25 / 74);
                    if ((shown.Pixel(x, y) & 0xFFFFFFu) != expected)
                        return testing::AssertionFailure() << "corner " << corner << " pixel " << x << ", " << y;
                }
        }
        return testing::AssertionSuccess();
    };
    RECT rect = WindowRect(frame);
    testing::AssertionResult shown = testing::AssertionFailure();
    EXPECT_TRUE(WaitUntil([&] { return bool(shown = check(rect)); }, 5000)) << shown.message();
    // One step with an arrow key: all four follow within a moment.
    ASSERT_TRUE(Xdotool(L"key Right"));
    rect.left += 1;
    rect.right += 1;
    ASSERT_TRUE(WaitForRect(frame, rect));
    EXPECT_TRUE(WaitUntil([&] { return bool(shown = check(rect)); }, 5000)) << shown.message();
    // Leaving framing takes them away.
    ASSERT_TRUE(Xdotool(L"key Escape"));
    EXPECT_TRUE(WaitUntil([&] { return ProgramWindows(id, L"CornerWindow").empty(); }, 5000));
}

TEST_F(CaptureModes, WithoutZoomAssistanceNoMagnifierIsShown)
{
    StartProgram({});
    ASSERT_TRUE(PointAtStatusLine());
    ASSERT_TRUE(Xdotool(L"key r key Right key ctrl+Down"));
    HWND frame = WaitForFrame();
    ASSERT_NE(frame, nullptr);
    // The hint of the last key: all three have been handled.
    ASSERT_TRUE(WaitForStatus(L"If you want to capture, press Enter key.")) << Narrow(program.StatusText());
    // The frame follows the keys; the magnifiers never appear.
    const RECT rect = WindowRect(frame);
    ASSERT_TRUE(Xdotool(L"key Down"));
    ASSERT_TRUE(WaitForRect(frame, {rect.left, rect.top + 1, rect.right, rect.bottom + 1}));
    EXPECT_TRUE(ProgramWindows(program.ProcessId(), L"CornerWindow").empty());
}

TEST_F(CaptureModes, WindowPickOutlinesThePointedWindowAndAClickCapturesExactlyIt)
{
    // The mode hides the tool window, which hands the foreground to the
    // pattern's program, and focuses a window of its own that cannot take
    // it back: keys reach that one through the pointer only.
    cManagedWindows managed;
    StartProgram({});
    const RECT target{300, 400, 640, 610};
    cPatternWindow small;
    ASSERT_TRUE(small.Show(&target));
    ASSERT_TRUE(PointAtStatusLine());
    ASSERT_TRUE(Xdotool(L"key w"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(program.ToolWindow()); }, 10000));
    const int x = 450, y = 500;
    ASSERT_TRUE(Xdotool(L"mousemove " + Number(x) + L" " + Number(y)));
    const DWORD id = program.ProcessId();
    // The outline sits on the window's edge, the click catcher under the pointer.
    EXPECT_TRUE(WaitUntil(
        [&] {
            const std::vector<HWND> marks = ProgramWindows(id, L"MarkWindow");
            return marks.size() == 1 && SameRect(WindowRect(marks[0]), target);
        },
        5000));
    EXPECT_TRUE(WaitUntil(
        [&] {
            const std::vector<HWND> catchers = ProgramWindows(id, L"ClickWindow");
            return catchers.size() == 1 && SameRect(WindowRect(catchers[0]), {x - 10, y - 10, x + 10, y + 10});
        },
        5000));
    ASSERT_TRUE(Xdotool(L"click 1"));
    ExpectSavedPattern(target);
    ASSERT_TRUE(program.WaitIdle());
    EXPECT_TRUE(ProgramWindows(id, L"MarkWindow").empty());
    EXPECT_TRUE(ProgramWindows(id, L"ClickWindow").empty());
    // The click did not reach the window underneath: it is still there.
    EXPECT_TRUE(IsWindow(small.Handle()));
}

TEST_F(CaptureModes, EscapeOrEnterBeforeAnythingIsPickedEndsWindowPickWithoutACapture)
{
    // The mode hides the tool window, which hands the foreground to the
    // pattern's program, and focuses a window of its own that cannot take
    // it back: keys reach that one through the pointer only.
    cManagedWindows managed;
    StartProgram({});
    for (const wchar_t* key : {L"Escape", L"Return"}) {
        ASSERT_TRUE(PointAtStatusLine());
        ASSERT_TRUE(Xdotool(L"key w"));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(program.ToolWindow()); }, 10000));
        ASSERT_TRUE(Xdotool(std::wstring(L"key ") + key));
        EXPECT_TRUE(program.WaitIdle()) << Narrow(key);
        EXPECT_TRUE(ProgramWindows(program.ProcessId(), L"ClickWindow").empty()) << Narrow(key);
    }
    ExpectNothingSaved();
}

class DragSelect : public CaptureModes, public testing::WithParamInterface<int>
{
};

TEST_P(DragSelect, SavesExactlyTheDraggedRectangleOfTheFrozenScreen)
{
    StartProgram({});
    ASSERT_TRUE(PointAtStatusLine());
    ASSERT_TRUE(ClickControl(1005));
    const DWORD id = program.ProcessId();
    const RECT monitor = Monitors().front();
    ASSERT_TRUE(WaitUntil(
        [&] {
            const std::vector<HWND> overlays = ProgramWindows(id, L"NormalCaptureWindow");
            return overlays.size() == 1 && SameRect(WindowRect(overlays[0]), monitor);
        },
        10000));
    // The four directions of a drag over the same rectangle.
    const RECT selected{410, 210, 510, 260};
    const POINT corners[4] = {{410, 210}, {510, 260}, {510, 210}, {410, 260}};
    const POINT from = corners[GetParam()];
    const POINT to{selected.left + selected.right - from.x, selected.top + selected.bottom - from.y};
    ASSERT_TRUE(Xdotool(L"mousemove " + Number(from.x) + L" " + Number(from.y) + L" mousedown 1"));
    ASSERT_TRUE(Xdotool(L"mousemove " + Number((from.x + to.x) / 2) + L" " + Number((from.y + to.y) / 2)));
    ASSERT_TRUE(Xdotool(L"mousemove " + Number(to.x) + L" " + Number(to.y)));
    // The rubber band shows the selection.
    EXPECT_TRUE(WaitUntil(
        [&] {
            const std::vector<HWND> bands = ProgramWindows(id, L"MarkWindow");
            return bands.size() == 1 && SameRect(WindowRect(bands[0]), selected);
        },
        5000));
    ASSERT_TRUE(Xdotool(L"mouseup 1"));
    ExpectSavedPattern(selected);
    ASSERT_TRUE(program.WaitIdle());
    EXPECT_TRUE(ProgramWindows(id, L"NormalCaptureWindow").empty());
}

INSTANTIATE_TEST_SUITE_P(EveryDirection, DragSelect, testing::Values(0, 1, 2, 3));

TEST_F(CaptureModes, DragSelectEndsWithoutSavingOnASingleClickOrEscape)
{
    // The mode hides the tool window, which hands the foreground to the
    // pattern's program, and focuses a window of its own that cannot take
    // it back: keys reach that one through the pointer only.
    cManagedWindows managed;
    StartProgram({});
    const DWORD id = program.ProcessId();
    for (const wchar_t* ending : {L"click 1", L"key Escape", L"key Return"}) {
        ASSERT_TRUE(PointAtStatusLine());
        ASSERT_TRUE(ClickControl(1005));
        ASSERT_TRUE(WaitUntil([&] { return ProgramWindows(id, L"NormalCaptureWindow").size() == 1; }, 10000));
        ASSERT_TRUE(Xdotool(L"mousemove 700 500 " + std::wstring(ending)));
        EXPECT_TRUE(program.WaitIdle()) << Narrow(ending);
        EXPECT_TRUE(ProgramWindows(id, L"NormalCaptureWindow").empty()) << Narrow(ending);
    }
    ExpectNothingSaved();
}
