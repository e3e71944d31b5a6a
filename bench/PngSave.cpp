// Saving a 3840 x 2160 screen picture as PNG with the default options
// (our fast writer: Up filter + libdeflate) against libpng at levels 1, 6
// and 9 (RGBA, adaptive filters) and ImageMagick's convert (a process on a
// PAM of the same pixels; the process start is measured separately as
// "convert 1x1"). Also JPEG 2000: our lossless writer against opj_compress
// with the same parameters on a 1920 x 1080 picture. Sizes in bytes are
// reported as the counter "bytes".

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <png.h>

#include "framework/painter/Picture.h"
#include "framework/picturefile/CodecFile.h"
#include "framework/picturefile/codec/ByteSink.h"
#include "framework/picturefile/codec/Jpeg2000Codec.h"
#include "framework/picturefile/codec/PngCodec.h"
#include "bench/support/DesktopPicture.h"

namespace {

namespace fs = std::filesystem;

const Painter::cPicture& Desktop()
{
    static const Painter::cPicture picture = Bench::MakeDesktop(3840, 2160);
    return picture;
}

PictureFile::sPixelView ViewOf(const Painter::cPicture& picture)
{
    PictureFile::sPixelView view;
    view.bits = picture.Bits();
    view.width = picture.Width();
    view.height = picture.Height();
    view.stride = picture.Stride();
    return view;
}

fs::path Scratch()
{
    static const fs::path folder = [] {
        fs::path p = fs::temp_directory_path() / ("qs-bench-png-" + std::to_string(::getpid()));
        fs::create_directories(p);
        return p;
    }();
    return folder;
}

void BM_CodecFileSavePng(benchmark::State& state)
{
    const Painter::cPicture& picture = Desktop();
    const fs::path path = Scratch() / "codec.png";
    PictureFile::cCodecFile file(PictureFile::cCodecFile::TypePng);
    for (auto _ : state)
        if (!file.Save(picture, path.u16string().c_str()))
            state.SkipWithError("save failed");
    state.counters["bytes"] = double(fs::file_size(path));
}

void BM_FastPngLevel(benchmark::State& state)
{
    const PictureFile::sPixelView view = ViewOf(Desktop());
    std::size_t bytes = 0;
    for (auto _ : state)
    {
        PictureFile::cMemorySink sink;
        if (!PictureFile::cPngCodec::Encode(view, sink, false, int(state.range(0))))
            state.SkipWithError("encode failed");
        bytes = sink.Bytes().size();
    }
    state.counters["bytes"] = double(bytes);
}

void WriteToVector(png_structp png, png_bytep data, png_size_t size)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void BM_LibpngRgba(benchmark::State& state)
{
    const Painter::cPicture& picture = Desktop();
    std::vector<png_bytep> rows(std::size_t(picture.Height()));
    for (int y = 0; y < picture.Height(); ++y)
        rows[std::size_t(y)] = const_cast<png_bytep>(picture.Row(y));
    std::size_t bytes = 0;
    for (auto _ : state)
    {
        std::vector<std::uint8_t> out;
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        if (setjmp(png_jmpbuf(png)))
        {
            png_destroy_write_struct(&png, &info);
            state.SkipWithError("libpng failed");
            break;
        }
        png_set_write_fn(png, &out, WriteToVector, nullptr);
        png_set_compression_level(png, int(state.range(0)));
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
        png_set_IHDR(png, info, png_uint_32(picture.Width()), png_uint_32(picture.Height()), 8,
                     PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        png_set_bgr(png);
        png_write_image(png, rows.data());
        png_write_end(png, info);
        png_destroy_write_struct(&png, &info);
        bytes = out.size();
    }
    state.counters["bytes"] = double(bytes);
}

void WritePam(const fs::path& path, const Painter::cPicture& picture, bool alpha)
{
    std::ofstream out(path, std::ios::binary);
    out << "P7\nWIDTH " << picture.Width() << "\nHEIGHT " << picture.Height() << "\nDEPTH " << (alpha ? 4 : 3)
        << "\nMAXVAL 255\nTUPLTYPE " << (alpha ? "RGB_ALPHA" : "RGB") << "\nENDHDR\n";
    std::vector<char> row;
    for (int y = 0; y < picture.Height(); ++y)
    {
        row.clear();
        for (int x = 0; x < picture.Width(); ++x)
        {
            const std::uint32_t p = picture.Pixel(x, y);
            row.push_back(char(p >> 16));
            row.push_back(char(p >> 8));
            row.push_back(char(p));
            if (alpha)
                row.push_back(char(p >> 24));
        }
        out.write(row.data(), std::streamsize(row.size()));
    }
}

void RunProcess(benchmark::State& state, const std::string& command, const fs::path& output)
{
    if (std::system("command -v convert >/dev/null 2>&1 && command -v opj_compress >/dev/null 2>&1") != 0)
    {
        state.SkipWithError("tool missing");
        return;
    }
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0)
        {
            state.SkipWithError(("failed: " + command).c_str());
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::error_code error;
    state.counters["bytes"] = double(fs::file_size(output, error));
}

void BM_ConvertPng(benchmark::State& state)
{
    const fs::path in = Scratch() / "desktop.pam", out = Scratch() / "convert.png";
    if (!fs::exists(in))
        WritePam(in, Desktop(), false);
    RunProcess(state, "convert '" + in.string() + "' '" + out.string() + "'", out);
}

void BM_ConvertProcessStart(benchmark::State& state)
{
    const fs::path in = Scratch() / "one.pam", out = Scratch() / "one.png";
    Painter::cPicture one;
    one.Create(Painter::FORMAT_ARGB32, 1, 1);
    one.Fill(0xFF102030u);
    WritePam(in, one, false);
    RunProcess(state, "convert '" + in.string() + "' '" + out.string() + "'", out);
}

// ---- JPEG 2000 ------------------------------------------------------------

const Painter::cPicture& SmallDesktop()
{
    static const Painter::cPicture picture = Bench::MakeDesktop(1920, 1080);
    return picture;
}

void BM_CodecJp2Save(benchmark::State& state)
{
    const PictureFile::sPixelView view = ViewOf(SmallDesktop());
    std::size_t bytes = 0;
    for (auto _ : state)
    {
        PictureFile::cMemorySink sink;
        if (!PictureFile::cJpeg2000Codec::Encode(view, sink, true))
            state.SkipWithError("encode failed");
        bytes = sink.Bytes().size();
    }
    state.counters["bytes"] = double(bytes);
}

void BM_OpjCompress(benchmark::State& state)
{
    const fs::path in = Scratch() / "small.ppm", out = Scratch() / "opj.jp2";
    if (!fs::exists(in))
    {
        const Painter::cPicture& picture = SmallDesktop();
        std::ofstream file(in, std::ios::binary);
        file << "P6\n" << picture.Width() << " " << picture.Height() << "\n255\n";
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
            {
                const std::uint32_t p = picture.Pixel(x, y);
                const char rgb[3] = {char(p >> 16), char(p >> 8), char(p)};
                file.write(rgb, 3);
            }
    }
    // Lossless 5/3 wavelet, one layer, 6 resolutions, colour transform: the
    // defaults of both.
    RunProcess(state, "opj_compress -i '" + in.string() + "' -o '" + out.string() + "' -n 6 >/dev/null 2>&1", out);
}

} // namespace

BENCHMARK(BM_CodecFileSavePng)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FastPngLevel)->Arg(1)->Arg(2)->Arg(3)->Arg(4)->Arg(5)->Arg(6)->Arg(7)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibpngRgba)->Arg(1)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertPng)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertProcessStart)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodecJp2Save)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpjCompress)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
