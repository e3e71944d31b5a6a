// Placing a picture on the clipboard, read back as any program reads it.

#include <gtest/gtest.h>

#include <windows.h>

#include "app/ClipboardWriter.h"
#include "app/capture/ClipboardImage.h"

#include <cstring>
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

} // namespace

TEST(ClipboardWriter, PlacesBothFormatsExactlyAsLaidOut)
{
    const Painter::cPicture picture = Fixture();
    ASSERT_EQ(cClipboardWriter::Place(nullptr, picture), 2);
    std::vector<std::uint8_t> dib, dibV5;
    ASSERT_TRUE(cClipboardImage::MakeDib(picture, dib));
    ASSERT_TRUE(cClipboardImage::MakeDibV5(picture, dibV5));
    // The clipboard may round its blocks up; the laid-out bytes come first.
    const std::vector<std::uint8_t> placedDib = ClipboardBytes(CF_DIB);
    const std::vector<std::uint8_t> placedV5 = ClipboardBytes(CF_DIBV5);
    ASSERT_GE(placedDib.size(), dib.size());
    ASSERT_GE(placedV5.size(), dibV5.size());
    EXPECT_EQ(std::memcmp(placedDib.data(), dib.data(), dib.size()), 0);
    EXPECT_EQ(std::memcmp(placedV5.data(), dibV5.data(), dibV5.size()), 0);
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
