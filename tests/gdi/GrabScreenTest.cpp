#include <gtest/gtest.h>

#include <windows.h>

#include "framework/gdi/GrabScreen.h"
#include "framework/painter/Picture.h"

using Container::sRect;

namespace {

// A topmost popup at the screen's top left painting four solid blocks:
// red, green / blue, white, each BlockWidth x BlockHeight.
constexpr int BlockWidth = 60, BlockHeight = 30;
constexpr COLORREF Blocks[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255)};
constexpr std::uint32_t BlockPixels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};

LRESULT CALLBACK BlockProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
    {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        for (int i = 0; i < 4; ++i)
        {
            RECT r{(i % 2) * BlockWidth, (i / 2) * BlockHeight, (i % 2 + 1) * BlockWidth, (i / 2 + 1) * BlockHeight};
            HBRUSH brush = CreateSolidBrush(Blocks[i]);
            FillRect(dc, &r, brush);
            DeleteObject(brush);
        }
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    return DefWindowProcW(window, message, wParam, lParam);
}

void Pump(int milliseconds)
{
    const DWORD end = GetTickCount() + DWORD(milliseconds);
    do
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    } while (GetTickCount() < end);
}

class GrabScreenTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = BlockProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QsGrabBlocks";
        RegisterClassW(&windowClass);
        s_window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"QsGrabBlocks", L"", WS_POPUP | WS_VISIBLE,
                                   X, Y, 2 * BlockWidth, 2 * BlockHeight, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(s_window, nullptr);
        UpdateWindow(s_window);
        GdiFlush();
        Pump(300);
        InvalidateRect(s_window, nullptr, TRUE);
        UpdateWindow(s_window);
        GdiFlush();
        Pump(200);
    }
    static void TearDownTestSuite()
    {
        DestroyWindow(s_window);
        s_window = nullptr;
    }

    // The block colour expected at screen point (x, y) inside the window.
    static std::uint32_t Expected(int x, int y)
    {
        const int column = (x - X) / BlockWidth, row = (y - Y) / BlockHeight;
        return BlockPixels[row * 2 + column];
    }

    static constexpr int X = 0, Y = 0;
    static HWND s_window;
};

HWND GrabScreenTest::s_window = nullptr;

} // namespace

TEST_F(GrabScreenTest, CopiesTheScreenExactly)
{
    Painter::cPicture picture;
    const Container::sRect rect(X + 10, Y + 5, X + 110, Y + 55);
    ASSERT_TRUE(GDI::GrabScreen(rect, picture));
    ASSERT_EQ(picture.Width(), 100);
    ASSERT_EQ(picture.Height(), 50);
    EXPECT_EQ(picture.Format(), Painter::FORMAT_ARGB32);
    int wrong = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            if (picture.Pixel(x, y) != Expected(rect.left + x, rect.top + y))
            {
                if (wrong++ < 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << picture.Pixel(x, y);
            }
    EXPECT_EQ(wrong, 0);
}

TEST_F(GrabScreenTest, PartlyOffScreenIsBlackOutsideAndOpaque)
{
    Painter::cPicture picture;
    ASSERT_TRUE(GDI::GrabScreen(Container::sRect(X - 20, Y - 10, X + 60, Y + 40), picture));
    ASSERT_EQ(picture.Width(), 80);
    ASSERT_EQ(picture.Height(), 50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 80; ++x)
        {
            const std::uint32_t pixel = picture.Pixel(x, y);
            ASSERT_EQ(pixel >> 24, 255u) << x << "," << y;
            if (x < 20 || y < 10)
                ASSERT_EQ(pixel, 0xFF000000u) << x << "," << y;
            else
                ASSERT_EQ(pixel, Expected(X - 20 + x, Y - 10 + y)) << x << "," << y;
        }

    // Past the right and bottom edges as well.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_TRUE(GDI::GrabScreen(Container::sRect(width - 4, height - 4, width + 4, height + 4), picture));
    ASSERT_EQ(picture.Width(), 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
        {
            EXPECT_EQ(picture.Pixel(x, y) >> 24, 255u);
            if (x >= 4 || y >= 4)
            {
                EXPECT_EQ(picture.Pixel(x, y), 0xFF000000u) << x << "," << y;
            }
        }
}

TEST_F(GrabScreenTest, RectangleWithoutAreaFails)
{
    const Container::sRect empty[] = {Container::sRect(10, 10, 10, 50), Container::sRect(10, 10, 50, 10), Container::sRect(50, 50, 10, 10),
                           Container::sRect(0, 0, 40000, 10)};
    for (const Container::sRect& rect : empty)
    {
        Painter::cPicture picture;
        EXPECT_FALSE(GDI::GrabScreen(rect, picture));
        EXPECT_TRUE(picture.IsEmpty());
    }
    // A picture that already holds something keeps it.
    Painter::cPicture kept;
    ASSERT_TRUE(kept.Create(Painter::FORMAT_ARGB32, 2, 2));
    kept.Fill(0x12345678);
    EXPECT_FALSE(GDI::GrabScreen(Container::sRect(5, 5, 5, 5), kept));
    EXPECT_EQ(kept.Width(), 2);
    EXPECT_EQ(kept.Pixel(1, 1), 0x12345678u);
}
