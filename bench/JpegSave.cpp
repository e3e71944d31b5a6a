// Saving a 3840 x 2160 screenshot-like picture as JPEG with the default
// options (quality 100, progressive with optimised tables, 4:2:0), side
// by side with libjpeg-turbo driven directly with the same parameters and
// with the cjpeg program on a PPM of the same pixels.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "framework/painter/Picture.h"
#include "framework/picturefile/JpegFile.h"

namespace {

constexpr int Width = 3840;
constexpr int Height = 2160;

// Flat window backgrounds, title bars with gradients, text-like strokes
// and a photo-like region: what screen captures hold.
const Painter::cPicture& Screenshot()
{
    static const Painter::cPicture picture = [] {
        Painter::cPicture p;
        p.Create(Painter::FORMAT_ARGB32, Width, Height);
        std::uint32_t seed = 12345;
        for (int y = 0; y < Height; ++y)
        {
            std::uint32_t* row = p.Row32(y);
            for (int x = 0; x < Width; ++x)
            {
                std::uint32_t v = 0xFFF0F0F0u;                       // desktop
                const int wx = x % 1280, wy = y % 720;
                if (wy < 32)
                    v = 0xFF000000u | std::uint32_t(0x20 + wx / 10) << 16 | 0x3060u << 0;    // title bar
                else if (wx > 40 && wx < 1200 && wy > 60 && wy < 680)
                {
                    v = 0xFFFFFFFFu;                                   // document
                    if ((wy % 18) < 12 && ((wx / 7) * 31 + wy / 18) % 5 != 0 && ((wx * 13 + wy * 7) % 11) < 4)
                        v = 0xFF202020u;                               // text strokes
                }
                if (x > 2600 && y > 1300)
                {
                    seed = seed * 1103515245u + 12345u;
                    const std::uint32_t n = (seed >> 16) & 15;
                    v = 0xFF000000u | std::uint32_t((x / 5 + n) & 255) << 16 | std::uint32_t((y / 4 + n) & 255) << 8 |
                        std::uint32_t(((x + y) / 9) & 255);          // photo
                }
                row[x] = v;
            }
        }
        return p;
    }();
    return picture;
}

std::filesystem::path TempFile(const char* name)
{
    return std::filesystem::temp_directory_path() / name;
}

void OurSave(benchmark::State& state)
{
    const Painter::cPicture& picture = Screenshot();
    const std::filesystem::path path = TempFile("qs-bench-jpegsave.jpg");
    const std::u16string name = path.u16string();
    PictureFile::cJpegFile file;
    for (auto _ : state)
        if (!file.Save(picture, Container::cWideString(std::u16string_view(name))))
            state.SkipWithError("save failed");
    state.counters["bytes"] = double(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}

// libjpeg-turbo with the same parameters, RGB rows in, bytes to memory.
void LibjpegDirect(benchmark::State& state)
{
    const Painter::cPicture& picture = Screenshot();
    std::vector<std::uint8_t> rgb(std::size_t(Width) * 3);
    unsigned long size = 0;
    for (auto _ : state)
    {
        jpeg_compress_struct info;
        jpeg_error_mgr errors;
        info.err = jpeg_std_error(&errors);
        jpeg_create_compress(&info);
        unsigned char* out = nullptr;
        size = 0;
        jpeg_mem_dest(&info, &out, &size);
        info.image_width = Width;
        info.image_height = Height;
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, 100, FALSE);
        jpeg_simple_progression(&info);
        info.optimize_coding = TRUE;
        info.comp_info[0].h_samp_factor = 2;
        info.comp_info[0].v_samp_factor = 2;
        jpeg_start_compress(&info, TRUE);
        while (info.next_scanline < info.image_height)
        {
            const std::uint8_t* source = picture.Row(int(info.next_scanline));
            for (int x = 0; x < Width; ++x)
            {
                rgb[3 * x] = source[4 * x + 2];
                rgb[3 * x + 1] = source[4 * x + 1];
                rgb[3 * x + 2] = source[4 * x];
            }
            JSAMPROW row = rgb.data();
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
        jpeg_destroy_compress(&info);
        std::free(out);
    }
    state.counters["bytes"] = double(size);
}

// The cjpeg program on a PPM of the same pixels (process start included).
void CjpegProcess(benchmark::State& state)
{
    if (std::system("command -v cjpeg >/dev/null 2>&1") != 0)
    {
        state.SkipWithError("cjpeg is not installed");
        return;
    }
    const Painter::cPicture& picture = Screenshot();
    const std::filesystem::path ppm = TempFile("qs-bench-jpegsave.ppm");
    const std::filesystem::path jpg = TempFile("qs-bench-jpegsave-cjpeg.jpg");
    {
        std::ofstream out(ppm, std::ios::binary);
        out << "P6\n" << Width << " " << Height << "\n255\n";
        std::vector<char> row(std::size_t(Width) * 3);
        for (int y = 0; y < Height; ++y)
        {
            const std::uint8_t* source = picture.Row(y);
            for (int x = 0; x < Width; ++x)
            {
                row[3 * x] = char(source[4 * x + 2]);
                row[3 * x + 1] = char(source[4 * x + 1]);
                row[3 * x + 2] = char(source[4 * x]);
            }
            out.write(row.data(), std::streamsize(row.size()));
        }
    }
    const std::string command = "cjpeg -quality 100 -progressive -optimize -sample 2x2 -outfile '" + jpg.string() +
                                "' '" + ppm.string() + "'";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("cjpeg failed");
    state.counters["bytes"] = double(std::filesystem::file_size(jpg));
    std::filesystem::remove(ppm);
    std::filesystem::remove(jpg);
}

} // namespace

BENCHMARK(OurSave)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(LibjpegDirect)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(CjpegProcess)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

BENCHMARK_MAIN();
