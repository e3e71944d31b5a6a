// Skinned non-client frames and off-screen painting, read back from the
// window's own device contexts under Wine.
#include <gtest/gtest.h>

#include "WindowTestSupport.h"
#include "framework/window/BufferedPaint.h"
#include "framework/window/FramePainter.h"
#include "framework/window/skin/Skin.h"
#include "framework/window/skin/rules/ColourModel.h"
#include "framework/window/skin/rules/ScrollBarLayout.h"

using namespace WindowTests;
using P = Skin::cPalette;

namespace {

COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetWindowDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

COLORREF ClientPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

std::string Hex(COLORREF c)
{
    char text[16];
    snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(c));
    return text;
}

class FrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureToolkit();
        ASSERT_TRUE(host.Open(400, 300));
        skin = host.GetSkin();
    }
    void TearDown() override { host.Destroy(); }
    void PaintFrame(HWND window)
    {
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
        Pump();
    }
    cHost host;
    Skin::cSkin* skin = nullptr;
};

} // namespace

// A client edge with a vertical bar: the two-pixel skinned edge outside, the
// skin's scroll bar inside it, in the strip the system metrics give.
TEST_F(FrameTest, ClientEdgeAndScrollBarShowTheSkinColours)
{
    cRecorder child;
    ASSERT_TRUE(child.Create(WS_EX_CLIENTEDGE, nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL, 20, 20, 220, 220,
                             host.Handle(), 1));
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 99, 10, 0, 0};
    SetScrollInfo(child.Handle(), SB_VERT, &info, FALSE);
    PaintFrame(child.Handle());

    const HWND w = child.Handle();
    const int width = 200, height = 200;
    // The outer ring of the edge is the outline colour, the inner ring light
    // on the top and left, palette 6 on the bottom and right.
    EXPECT_EQ(Hex(WindowPixel(w, 0, 0)), Hex(skin->ColourRef(P::Outline)));
    EXPECT_EQ(Hex(WindowPixel(w, width - 1, height / 2)), Hex(skin->ColourRef(P::Outline)));
    EXPECT_EQ(Hex(WindowPixel(w, 1, height / 2)), Hex(skin->ColourRef(P::EditBackground)));
    EXPECT_EQ(Hex(WindowPixel(w, width / 2, 1)), Hex(skin->ColourRef(P::EditBackground)));
    EXPECT_EQ(Hex(WindowPixel(w, width / 2, height - 2)), Hex(skin->ColourRef(P::EdgeLight)));

    // The bar: the right strip inside the edge, SM_CXVSCROLL wide.
    const int cxv = GetSystemMetrics(SM_CXVSCROLL);
    const Container::sRect strip{width - 2 - cxv, 2, width - 2, height - 2};
    const Skin::cScrollBarLayout layout({0, 0, strip.Width(), strip.Height()}, {0, 99, 10, 0, 0}, true, false,
                                        GetSystemMetrics(SM_CYVSCROLL), GetSystemMetrics(SM_CYVTHUMB));
    ASSERT_FALSE(layout.ThumbRect().IsEmpty());
    const auto at = [&](const Container::sRect& part, int dx, int dy) {
        return Hex(WindowPixel(w, strip.left + part.left + dx, strip.top + part.top + dy));
    };
    EXPECT_EQ(at(layout.FirstArrowRect(), 0, 0), Hex(skin->ColourRef(P::ButtonFace)));
    EXPECT_EQ(at(layout.SecondArrowRect(), 0, 0), Hex(skin->ColourRef(P::ButtonFace)));
    EXPECT_EQ(at(layout.ThumbRect(), 1, 1), Hex(GDI::ToColorRef(Skin::AddLightness(skin->Colour(P::HotFill), 25))));
    EXPECT_EQ(at(layout.SecondPageRect(), 1, 1), Hex(skin->ColourRef(P::DialogFace)));
    // An arrow glyph in the text colour in the first arrow's middle.
    const Container::sRect& arrow = layout.FirstArrowRect();
    EXPECT_EQ(at(arrow, arrow.Width() / 2, arrow.Height() / 2), Hex(skin->ColourRef(P::Text)));
}

TEST_F(FrameTest, StaticEdgeAndBothBarsWithTheirCorner)
{
    cRecorder child;
    ASSERT_TRUE(child.Create(WS_EX_STATICEDGE, nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 10, 10, 170,
                             130, host.Handle(), 1));
    // Page larger than the range: the bars cannot scroll (and stay shown).
    SCROLLINFO info{sizeof(info), SIF_ALL | SIF_DISABLENOSCROLL, 0, 10, 20, 0, 0};
    SetScrollInfo(child.Handle(), SB_VERT, &info, FALSE);
    SetScrollInfo(child.Handle(), SB_HORZ, &info, FALSE);
    PaintFrame(child.Handle());
    const HWND w = child.Handle();
    const int width = 160, height = 120;
    EXPECT_EQ(Hex(WindowPixel(w, 0, 0)), Hex(skin->ColourRef(P::Outline)));
    EXPECT_EQ(Hex(WindowPixel(w, width - 1, height - 1)), Hex(skin->ColourRef(P::Outline)));
    const int cxv = GetSystemMetrics(SM_CXVSCROLL), cyh = GetSystemMetrics(SM_CYHSCROLL);
    // The corner square between the bars.
    EXPECT_EQ(Hex(WindowPixel(w, width - 1 - cxv / 2, height - 1 - cyh / 2)), Hex(skin->ColourRef(P::ButtonFace)));
    // A bar that cannot scroll shows only the face, and its arrows in the
    // disabled colour.
    EXPECT_EQ(Hex(WindowPixel(w, width - 1 - cxv + 1, 2)), Hex(skin->ColourRef(P::DialogFace)));
    const int arrowLength = GetSystemMetrics(SM_CYVSCROLL);
    EXPECT_EQ(Hex(WindowPixel(w, width - 1 - cxv + cxv / 2, 1 + arrowLength / 2)),
              Hex(skin->ColourRef(P::DisabledText)));
}

// Windows with a caption, a border or the popup style keep the system frame.
TEST_F(FrameTest, CaptionedAndBorderedWindowsKeepTheSystemFrame)
{
    struct sCase
    {
        DWORD exStyle, style;
        bool system;
    };
    const sCase cases[] = {
        {0, WS_CHILD | WS_CAPTION, true},           {0, WS_CHILD | WS_BORDER, true},
        {0, WS_POPUP, true},                        {WS_EX_APPWINDOW, WS_CHILD, true},
        {WS_EX_CLIENTEDGE, WS_CHILD, false},        {0, WS_CHILD | WS_VSCROLL, false},
    };
    for (const sCase& c : cases)
    {
        cRecorder window;
        ASSERT_TRUE(window.Create(c.exStyle, nullptr, c.style, 0, 0, 50, 50, (c.style & WS_CHILD) ? host.Handle() : nullptr, 0));
        EXPECT_EQ(Window::cFramePainter::IsSystemFrame(window.Handle()), c.system) << std::hex << c.style;
        EXPECT_EQ(Window::cFramePainter::Paint(window, reinterpret_cast<HRGN>(1)), !c.system);
        window.Destroy();
    }
}

// A window focused draws its client edge in the focus colour.
TEST_F(FrameTest, FocusedClientEdgeUsesTheFocusColour)
{
    struct cFocusable : cRecorder
    {
        void OnSetFocus(cWindow* previous) override
        {
            cRecorder::OnSetFocus(previous);
            Redraw(false);
        }
    };
    cFocusable child;
    ASSERT_TRUE(child.Create(WS_EX_CLIENTEDGE, nullptr, WS_CHILD | WS_VISIBLE, 20, 20, 120, 80, host.Handle(), 1));
    SetForegroundWindow(host.Handle());
    SetFocus(child.Handle());
    if (GetFocus() != child.Handle())
        GTEST_SKIP() << "the window manager kept the focus elsewhere";
    PaintFrame(child.Handle());
    EXPECT_EQ(Hex(WindowPixel(child.Handle(), 0, 0)), Hex(skin->ColourRef(P::Focus)));
    EXPECT_EQ(Hex(WindowPixel(child.Handle(), 1, 30)), Hex(skin->ColourRef(P::Focus)));
}

// The painting convention: a control draws off-screen through the skin and
// copies the result in one piece; erasing is suppressed.
TEST_F(FrameTest, OffscreenPaintReachesTheWindow)
{
    struct cGroup : cRecorder
    {
        int erases = 0;
        bool OnEraseBackground(GDI::cDC&) override
        {
            ++erases;
            return true;
        }
        bool OnPaint() override
        {
            Window::cBufferedPaint paint(Handle());
            if (paint.Ready())
                GetSkin()->DrawGroupBox(paint.Buffer(), paint.ClientRect(), 0, u"Options");
            return true;
        }
    };
    cGroup group;
    ASSERT_TRUE(group.Create(0, u"Options", WS_CHILD | WS_VISIBLE, 10, 10, 210, 110, host.Handle(), 1));
    RedrawWindow(group.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    EXPECT_GE(group.erases, 1);
    // Background, then the frame: its left edge below the caption's middle.
    EXPECT_EQ(Hex(ClientPixel(group.Handle(), 100, 60)), Hex(skin->ColourRef(P::DialogFace)));
    EXPECT_EQ(Hex(ClientPixel(group.Handle(), 0, 60)), Hex(skin->ColourRef(P::Outline)));
    EXPECT_EQ(Hex(ClientPixel(group.Handle(), 199, 99)), Hex(skin->ColourRef(P::Outline)));
    // The caption cuts the frame: the top line is the face where the text stands.
    const int top = [&] {
        for (int y = 0; y < 40; ++y)
            if (ClientPixel(group.Handle(), 150, y) == skin->ColourRef(P::Outline))
                return y;
        return -1;
    }();
    ASSERT_GT(top, 0);
    EXPECT_NE(Hex(ClientPixel(group.Handle(), 12, top)), Hex(skin->ColourRef(P::Outline)));
}

// The window edge: two three-dimensional rings; a modal frame adds one more
// inside it.
TEST_F(FrameTest, WindowEdgeAndModalFrameRings)
{
    cRecorder child;
    ASSERT_TRUE(child.Create(WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME, nullptr, WS_CHILD | WS_VISIBLE, 20, 20, 120, 100,
                             host.Handle(), 1));
    PaintFrame(child.Handle());
    const HWND w = child.Handle();
    RECT client{};
    GetClientRect(w, &client);
    if (client.right > 100 - 6 || client.bottom > 80 - 6)
        GTEST_SKIP() << "the system gives this frame less than 3 pixels";
    struct sCase
    {
        int x, y, entry;
    };
    const sCase cases[] = {
        {0, 40, P::EdgeLight}, {99, 40, P::Outline},       // outer ring
        {1, 40, P::Light},     {98, 40, P::DarkOutline},   // inner ring
        {2, 40, P::EdgeLight}, {97, 40, P::Outline},       // the modal frame
        {50, 0, P::EdgeLight}, {50, 79, P::Outline},
    };
    for (const sCase& c : cases)
        EXPECT_EQ(Hex(WindowPixel(w, c.x, c.y)), Hex(skin->ColourRef(c.entry))) << c.x << "," << c.y;
}
