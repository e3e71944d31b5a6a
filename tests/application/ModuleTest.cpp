#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/application/Module.h"
#include "framework/painter/Picture.h"
#include "tests/application/TestResources.h"

using Application::cModule;
using Painter::cPicture;

namespace {

// The pixels of a picture, rows top first, as 0xAARRGGBB.
std::vector<uint32_t> PixelsOf(const cPicture& picture)
{
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < picture.Height(); ++y)
        for (int32_t x = 0; x < picture.Width(); ++x)
            pixels.push_back(picture.Pixel(x, y));
    return pixels;
}

cModule& TestModule()
{
    static cModule module(GetModuleHandleW(nullptr));
    return module;
}

void Put16(std::vector<uint8_t>& bytes, size_t at, uint16_t value)
{
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A 40-byte header and room for the pixels of a bitmap of the given shape.
std::vector<uint8_t> MakeBitmap(int32_t width, int32_t height, uint16_t bits, uint32_t pixelBytes)
{
    std::vector<uint8_t> bytes(40 + pixelBytes, 0);
    Put32(bytes, 0, 40);
    Put32(bytes, 4, static_cast<uint32_t>(width));
    Put32(bytes, 8, static_cast<uint32_t>(height));
    Put16(bytes, 12, 1);
    Put16(bytes, 14, bits);
    return bytes;
}

} // namespace

// ---- Bitmap resources ----------------------------------------------------

TEST(ModuleBitmapResource, TwentyFourBitBottomUpIsFlippedAndOpaque)
{
    cPicture picture;
    ASSERT_TRUE(TestModule().LoadBitmapResource(picture, IDB_TEST_RGB24_BOTTOM_UP));
    EXPECT_EQ(picture.Format(), Painter::FORMAT_ARGB32);
    ASSERT_EQ(picture.Width(), 3);
    ASSERT_EQ(picture.Height(), 2);
    EXPECT_EQ(PixelsOf(picture), (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF,  //
                                                         0xFF0A141E, 0xFFFFFFFF, 0xFF000000}));
}

TEST(ModuleBitmapResource, ThirtyTwoBitTopDownIsCopiedWithoutFlipping)
{
    cPicture picture;
    ASSERT_TRUE(TestModule().LoadBitmapResource(picture, IDB_TEST_BGRA32_TOP_DOWN));
    ASSERT_EQ(picture.Width(), 2);
    ASSERT_EQ(picture.Height(), 2);
    // Stored bytes 1..16 in order: blue, green, red, alpha per pixel.
    EXPECT_EQ(PixelsOf(picture), (std::vector<uint32_t>{0x04030201, 0x08070605, 0x0C0B0A09, 0x100F0E0D}));
}

TEST(ModuleBitmapResource, SixteenBitIsReadAsFiveSixFive)
{
    cPicture picture;
    ASSERT_TRUE(TestModule().LoadBitmapResource(picture, IDB_TEST_RGB565));
    ASSERT_EQ(picture.Width(), 3);
    ASSERT_EQ(picture.Height(), 2);
    // Top row 0xF800 0x07E0 0x001F; bottom row 0x8410 (16, 32, 16),
    // 0x0841 (1, 2, 1) and 0xFFFF. Channels scale by 255/31, 255/63, 255/31
    // with truncation: 16 -> 131, 32 -> 129, 1 -> 8, 2 -> 8.
    EXPECT_EQ(PixelsOf(picture), (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF,  //
                                                         0xFF838183, 0xFF080808, 0xFFFFFFFF}));
}

TEST(ModuleBitmapResource, UnsupportedOrDamagedBitmapsAreRejected)
{
    for (int id : {IDB_TEST_PALETTE8, IDB_TEST_TRUNCATED24, IDB_TEST_BITFIELDS16, IDB_TEST_MISSING}) {
        cPicture picture;
        EXPECT_FALSE(TestModule().LoadBitmapResource(picture, id)) << "resource " << id;
        EXPECT_TRUE(picture.IsEmpty()) << "resource " << id;
    }
}

TEST(ModuleBitmapResource, FailureLeavesAnExistingPictureAlone)
{
    cPicture picture;
    ASSERT_TRUE(picture.Create(Painter::FORMAT_ARGB32, 5, 4));
    picture.Fill(0x12345678);
    EXPECT_FALSE(TestModule().LoadBitmapResource(picture, IDB_TEST_TRUNCATED24));
    EXPECT_EQ(picture.Width(), 5);
    EXPECT_EQ(picture.Height(), 4);
    EXPECT_EQ(picture.Pixel(4, 3), 0x12345678u);
}

TEST(ModuleBitmapResource, AnEmptyModuleHasNoResources)
{
    cModule module;
    cPicture picture;
    EXPECT_FALSE(module.LoadBitmapResource(picture, IDB_TEST_RGB24_BOTTOM_UP));
    int parts[4] = {};
    EXPECT_FALSE(module.GetProductVersion(parts));
}

// ---- Bitmap bytes ----------------------------------------------------------

TEST(ModuleReadBitmap, HeaderFieldsOutOfRangeAreRejected)
{
    struct sCase
    {
        const char* what;
        int32_t width;
        int32_t height;
    };
    const sCase cases[] = {
        {"zero width", 0, 1},          {"negative width", -1, 1},     {"width beyond 32767", 32768, 1},
        {"zero height", 1, 0},         {"height INT_MIN", 1, INT_MIN}, {"height beyond 32767", 1, 32768},
        {"height below -32767", 1, -32768},
    };
    for (const sCase& c : cases) {
        // Plenty of pixel bytes for the small cases, so only the field decides.
        auto bytes = MakeBitmap(c.width, c.height, 32, 4096);
        cPicture picture;
        EXPECT_FALSE(cModule::ReadBitmap(bytes.data(), bytes.size(), picture)) << c.what;
        EXPECT_TRUE(picture.IsEmpty()) << c.what;
    }
}

TEST(ModuleReadBitmap, OnlyUncompressedSixteenTwentyFourAndThirtyTwoBitsAreRead)
{
    for (uint16_t bits : {1, 4, 8, 15, 16, 24, 32, 48, 64}) {
        auto bytes = MakeBitmap(2, 2, bits, 64);
        cPicture picture;
        const bool supported = bits == 16 || bits == 24 || bits == 32;
        EXPECT_EQ(cModule::ReadBitmap(bytes.data(), bytes.size(), picture), supported) << bits << " bits";
    }
    for (uint32_t compression : {1u, 2u, 3u, 4u, 5u, 6u}) {
        auto bytes = MakeBitmap(2, 2, 32, 64);
        Put32(bytes, 16, compression);
        cPicture picture;
        EXPECT_FALSE(cModule::ReadBitmap(bytes.data(), bytes.size(), picture)) << "compression " << compression;
    }
}

TEST(ModuleReadBitmap, OnlyTheFortyByteHeaderIsAccepted)
{
    for (uint32_t headerSize : {12u, 39u, 41u, 52u, 56u, 108u, 124u}) {
        auto bytes = MakeBitmap(1, 1, 32, 128);
        Put32(bytes, 0, headerSize);
        cPicture picture;
        EXPECT_FALSE(cModule::ReadBitmap(bytes.data(), bytes.size(), picture)) << headerSize;
    }
}

TEST(ModuleReadBitmap, PixelBytesMustCoverEveryPaddedRow)
{
    // 3 x 3 at 24 bits: rows of 9 bytes padded to 12, 36 bytes in all.
    auto exact = MakeBitmap(3, 3, 24, 36);
    cPicture picture;
    EXPECT_TRUE(cModule::ReadBitmap(exact.data(), exact.size(), picture));
    // One byte short, even though the last row's padding is all that is missing.
    cPicture shorter;
    EXPECT_FALSE(cModule::ReadBitmap(exact.data(), exact.size() - 1, shorter));
    EXPECT_TRUE(shorter.IsEmpty());
    // Header only, and less than a header.
    EXPECT_FALSE(cModule::ReadBitmap(exact.data(), 40, shorter));
    EXPECT_FALSE(cModule::ReadBitmap(exact.data(), 39, shorter));
    EXPECT_FALSE(cModule::ReadBitmap(nullptr, 100, shorter));
}

TEST(ModuleReadBitmap, LargeDimensionsNeedTheirBytes)
{
    // 32767 x 32767 at 32 bits claims 4 GiB of pixels that are not there.
    auto bytes = MakeBitmap(32767, -32767, 32, 1024);
    cPicture picture;
    EXPECT_FALSE(cModule::ReadBitmap(bytes.data(), bytes.size(), picture));
}

TEST(ModuleReadBitmap, AColourTableBeforeTrueColourPixelsIsSkipped)
{
    // A 1 x 1 24-bit bitmap whose header announces two colour-table entries.
    auto bytes = MakeBitmap(1, 1, 24, 8 + 4);
    Put32(bytes, 32, 2);
    const uint8_t pixel[4] = {0x30, 0x20, 0x10, 0};
    std::memset(bytes.data() + 40, 0xEE, 8);
    std::memcpy(bytes.data() + 48, pixel, 4);
    cPicture picture;
    ASSERT_TRUE(cModule::ReadBitmap(bytes.data(), bytes.size(), picture));
    EXPECT_EQ(picture.Pixel(0, 0), 0xFF102030u);
    // The table counts against the size as well.
    cPicture shorter;
    EXPECT_FALSE(cModule::ReadBitmap(bytes.data(), bytes.size() - 1, shorter));
    Put32(bytes, 32, 0x40000000);
    EXPECT_FALSE(cModule::ReadBitmap(bytes.data(), bytes.size(), shorter));
}

TEST(ModuleReadBitmap, RowPaddingIsSkippedInSixteenBitRows)
{
    // 1 x 2 bottom-up: each 2-byte row padded to 4.
    auto bytes = MakeBitmap(1, 2, 16, 8);
    Put16(bytes, 40, 0x001F); // bottom row: blue
    Put16(bytes, 42, 0xFFFF); // padding, must not be read
    Put16(bytes, 44, 0xF800); // top row: red
    cPicture picture;
    ASSERT_TRUE(cModule::ReadBitmap(bytes.data(), bytes.size(), picture));
    EXPECT_EQ(PixelsOf(picture), (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF}));
}

// ---- Version resource -------------------------------------------------------

TEST(ModuleVersion, ProductVersionComesFromTheFixedPart)
{
    // The test executable's version resource: product 1.2.3.4, file 9.8.7.6.
    int parts[4] = {};
    ASSERT_TRUE(TestModule().GetProductVersion(parts));
    EXPECT_EQ(parts[0], 1);
    EXPECT_EQ(parts[1], 2);
    EXPECT_EQ(parts[2], 3);
    EXPECT_EQ(parts[3], 4);
    Container::cWideString text;
    ASSERT_TRUE(TestModule().GetProductVersionText(text));
    EXPECT_TRUE(text == u"1-2-3-4");
}

TEST(ModuleVersion, DamagedVersionBytesAreRejected)
{
    const uint8_t* bytes = nullptr;
    uint32_t size = 0;
    ASSERT_TRUE(TestModule().FindResourceBytes(MAKEINTRESOURCEW(16), 1, bytes, size));
    const std::vector<uint8_t> good(bytes, bytes + size);
    int parts[4] = {-1, -1, -1, -1};
    ASSERT_TRUE(cModule::ReadProductVersion(good.data(), good.size(), parts));

    auto badSignature = good;
    badSignature[40] ^= 0xFF;
    auto badKey = good;
    badKey[6] = 'X';
    auto shortValue = good;
    Put16(shortValue, 2, 40);
    int untouched[4] = {-1, -1, -1, -1};
    EXPECT_FALSE(cModule::ReadProductVersion(badSignature.data(), badSignature.size(), untouched));
    EXPECT_FALSE(cModule::ReadProductVersion(badKey.data(), badKey.size(), untouched));
    EXPECT_FALSE(cModule::ReadProductVersion(shortValue.data(), shortValue.size(), untouched));
    EXPECT_FALSE(cModule::ReadProductVersion(good.data(), 91, untouched));
    EXPECT_EQ(untouched[0], -1);
}

// ---- Ownership ----------------------------------------------------------------

TEST(ModuleOwnership, OnlyALoadedModuleIsFreed)
{
    const wchar_t* name = L"msacm32.dll";
    ASSERT_EQ(GetModuleHandleW(name), nullptr) << "the test needs a DLL nobody else loaded";
    {
        cModule owner;
        ASSERT_TRUE(owner.Load(u"msacm32.dll"));
        EXPECT_TRUE(owner.OwnsHandle());
        EXPECT_EQ(GetModuleHandleW(name), owner.Handle());
        {
            cModule borrower(owner.Handle());
            EXPECT_FALSE(borrower.OwnsHandle());
        }
        // The borrower left it loaded.
        EXPECT_EQ(GetModuleHandleW(name), owner.Handle());
    }
    EXPECT_EQ(GetModuleHandleW(name), nullptr);
}

TEST(ModuleOwnership, FailedLoadKeepsTheModule)
{
    cModule module(GetModuleHandleW(nullptr));
    EXPECT_FALSE(module.Load(u"no-such-module-here.dll"));
    EXPECT_FALSE(module.Load(u""));
    EXPECT_EQ(module.Handle(), GetModuleHandleW(nullptr));
    module.Free();
    EXPECT_FALSE(module.IsLoaded());
}
