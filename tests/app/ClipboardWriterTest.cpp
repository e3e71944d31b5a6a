// Placing a picture on the clipboard, read back as any program reads it.

#include <gtest/gtest.h>

#include <windows.h>

#include "app/ClipboardWriter.h"
#include "app/capture/ClipboardImage.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {

std::vector<std::uint8_t> ClipboardBytes(UINT format)
{
    std::vector<std::uint8_t> bytes;
    if (!OpenClipboard(nullptr))
        return bytes;
    if (HANDLE data = GetClipboardData(format)) {
        if (const auto* memory = static_cast<const std::uint8_t*>(GlobalLock(data))) {
            bytes.assign(memory, memory + GlobalSize(data));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return bytes;
}

Painter::cPicture Fixture()
{
    Painter::cPicture picture;
    EXPECT_TRUE(picture.Create(Painter::FORMAT_ARGB32, 5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            picture.SetPixel(x, y, (static_cast<std::uint32_t>(x * 60) << 24) | (x * 40 << 16) | (y * 90 << 8) | 7);
    return picture;
}

// The clipboard may round its blocks up; the laid-out bytes come first.
void ExpectOnClipboard(const Painter::cPicture& picture)
{
    std::vector<std::uint8_t> dib, dibV5;
    ASSERT_TRUE(cClipboardImage::MakeDib(picture, dib));
    ASSERT_TRUE(cClipboardImage::MakeDibV5(picture, dibV5));
    const std::vector<std::uint8_t> placedDib = ClipboardBytes(CF_DIB);
    const std::vector<std::uint8_t> placedV5 = ClipboardBytes(CF_DIBV5);
    ASSERT_GE(placedDib.size(), dib.size());
    ASSERT_GE(placedV5.size(), dibV5.size());
    EXPECT_EQ(std::memcmp(placedDib.data(), dib.data(), dib.size()), 0);
    EXPECT_EQ(std::memcmp(placedV5.data(), dibV5.data(), dibV5.size()), 0);
}

} // namespace

TEST(ClipboardWriter, PlacesBothFormatsExactlyAsLaidOut)
{
    const Painter::cPicture picture = Fixture();
    ASSERT_EQ(cClipboardWriter::Place(nullptr, picture), 2);
    ExpectOnClipboard(picture);
}

TEST(ClipboardWriter, AnEmptyPictureLeavesTheClipboardAlone)
{
    ASSERT_EQ(cClipboardWriter::Place(nullptr, Fixture()), 2);
    const DWORD sequence = GetClipboardSequenceNumber();
    Painter::cPicture empty;
    EXPECT_EQ(cClipboardWriter::Place(nullptr, empty), 0);
    EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
    EXPECT_FALSE(ClipboardBytes(CF_DIB).empty());
}

namespace {

// A hidden window that passes the clipboard's requests to a writer, as the
// tool window does.
class cOwnerWindow
{
public:
    cOwnerWindow()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QsClipboardOwnerTest";
        RegisterClassW(&windowClass);
        m_window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                   windowClass.hInstance, nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~cOwnerWindow()
    {
        if (m_window != nullptr)
            DestroyWindow(m_window);
    }
    HWND Handle() const { return m_window; }
    cClipboardWriter writer;
    int renderRequests = 0;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<cOwnerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr) {
            switch (message) {
            case WM_RENDERFORMAT:
                ++self->renderRequests;
                self->writer.RenderFormat(static_cast<UINT>(wParam));
                return 0;
            case WM_RENDERALLFORMATS:
                self->writer.RenderAll();
                return 0;
            case WM_DESTROYCLIPBOARD:
                self->writer.Release();
                return 0;
            default:
                break;
            }
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    HWND m_window = nullptr;
};

} // namespace

TEST(ClipboardWriter, AnOfferIsWrittenWhenAskedForAndOnceOnly)
{
    cOwnerWindow owner;
    ASSERT_NE(owner.Handle(), nullptr);
    const auto picture = std::make_shared<const Painter::cPicture>(Fixture());
    ASSERT_EQ(owner.writer.Offer(owner.Handle(), picture), 2);
    EXPECT_TRUE(owner.writer.HasOffer());
    EXPECT_EQ(owner.renderRequests, 0) << "nothing is written before it is asked for";
    ExpectOnClipboard(*picture);
    EXPECT_EQ(owner.renderRequests, 2);
    // Read again: the blocks are the clipboard's now.
    ExpectOnClipboard(*picture);
    EXPECT_EQ(owner.renderRequests, 2);
}

TEST(ClipboardWriter, AnOfferOutlivesItsOwnerAndIsLetGoWhenTheClipboardMovesOn)
{
    const Painter::cPicture expected = Fixture();
    {
        cOwnerWindow owner;
        ASSERT_EQ(owner.writer.Offer(owner.Handle(), std::make_shared<const Painter::cPicture>(Fixture())), 2);
        // Written before the owner goes, as the program does at exit.
        EXPECT_EQ(owner.writer.RenderAll(), 2);
        EXPECT_FALSE(owner.writer.HasOffer());
    }
    ExpectOnClipboard(expected);

    // Another program empties the clipboard: the offer's picture is let go,
    // and a late request writes nothing.
    cOwnerWindow owner;
    ASSERT_EQ(owner.writer.Offer(owner.Handle(), std::make_shared<const Painter::cPicture>(Fixture())), 2);
    ASSERT_EQ(cClipboardWriter::Place(nullptr, Fixture()), 2);
    EXPECT_FALSE(owner.writer.HasOffer());
    EXPECT_FALSE(owner.writer.RenderFormat(CF_DIB));
    EXPECT_EQ(owner.writer.RenderAll(), 0);

    // Nothing to offer: the clipboard is left alone.
    const DWORD sequence = GetClipboardSequenceNumber();
    EXPECT_EQ(owner.writer.Offer(owner.Handle(), std::make_shared<const Painter::cPicture>()), 0);
    EXPECT_EQ(owner.writer.Offer(owner.Handle(), nullptr), 0);
    EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
}
