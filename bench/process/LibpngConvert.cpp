// libpng_convert INPUT.bmp OUTPUT.png
//
// The reference of the whole-process PNG benchmark (tools/bench-png-process.sh):
// the straightforward program that turns an uncompressed 24- or 32-bit BMP
// into a PNG with libpng at compression level 6 and its default (adaptive)
// filters. Rows go to libpng as they lie in the file; a 32-bit file whose
// every fourth byte is 255 is written as RGB, as our writer does. Exits 0
// on success.

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <png.h>

namespace {

std::uint32_t Get32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

int Fail(const char* message)
{
    std::fprintf(stderr, "libpng_convert: %s\n", message);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return Fail("usage: libpng_convert INPUT.bmp OUTPUT.png");
    std::FILE* in = std::fopen(argv[1], "rb");
    if (!in)
        return Fail("cannot open input");
    std::fseek(in, 0, SEEK_END);
    const long length = std::ftell(in);
    std::fseek(in, 0, SEEK_SET);
    std::vector<std::uint8_t> file(length > 0 ? std::size_t(length) : 0);
    const bool read = !file.empty() && std::fread(file.data(), 1, file.size(), in) == file.size();
    std::fclose(in);
    if (!read || file.size() < 54 || file[0] != 'B' || file[1] != 'M')
        return Fail("not a BMP");
    const std::uint32_t offset = Get32(&file[10]);
    const std::int32_t width = std::int32_t(Get32(&file[18]));
    const std::int32_t storedHeight = std::int32_t(Get32(&file[22]));
    const int bits = file[28] | (file[29] << 8);
    const std::int32_t height = storedHeight < 0 ? -storedHeight : storedHeight;
    if (width < 1 || height < 1 || (bits != 24 && bits != 32) || Get32(&file[30]) != 0)
        return Fail("unsupported BMP");
    const std::size_t stride = (std::size_t(width) * std::size_t(bits / 8) + 3) & ~std::size_t(3);
    if (offset + stride * std::size_t(height) > file.size())
        return Fail("short BMP");

    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    volatile bool opaque = bits == 24;
    if (bits == 32)
    {
        opaque = true;
        for (std::size_t i = offset + 3; i < offset + stride * std::size_t(height) && opaque; i += 4)
            opaque = file[i] == 255;
    }
    for (std::int32_t y = 0; y < height; ++y)
        rows[std::size_t(y)] = &file[offset + stride * std::size_t(storedHeight < 0 ? y : height - 1 - y)];

    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out)
        return Fail("cannot create output");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        std::fclose(out);
        return Fail("libpng failed");
    }
    png_init_io(png, out);
    png_set_compression_level(png, 6);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
                 opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    if (opaque && bits == 32)
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(out) == 0 ? 0 : Fail("cannot write output");
}
