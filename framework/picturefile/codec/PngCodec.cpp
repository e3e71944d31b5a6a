#include "framework/picturefile/codec/PngCodec.h"

#include <csetjmp>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include <libdeflate.h>
#include <png.h>

#include "framework/picturefile/codec/DeflateJoin.h"

namespace PictureFile {

namespace {

const std::uint8_t Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Pictures of at least this many pixels are compressed on two threads.
constexpr std::size_t ParallelPixels = 1u << 20;
// Rows are filtered and compressed in bands of about this many bytes.
constexpr std::size_t BandBytes = std::size_t(1) << 20;
// IDAT chunks are cut at this size.
constexpr std::size_t IdatChunkSize = 1u << 20;

bool WriteChunk(cByteSink& sink, const char type[4], const std::uint8_t* data, std::size_t size)
{
    std::uint32_t crc = libdeflate_crc32(0, type, 4);
    if (size)
        crc = libdeflate_crc32(crc, data, size);
    sink.PutU32BE(std::uint32_t(size));
    sink.Write(type, 4);
    sink.Write(data, size);
    return sink.PutU32BE(crc);
}

// Subtracts b from a in each of the four bytes, without borrows between them.
inline std::uint32_t SubtractBytes(std::uint32_t a, std::uint32_t b)
{
    return ((a | 0x80808080u) - (b & 0x7F7F7F7Fu)) ^ ((a ^ ~b) & 0x80808080u);
}

// Stores value as four little-endian bytes (every target of the program
// is little-endian).
inline void StoreWord(std::uint8_t* out, std::uint32_t value)
{
    std::memcpy(out, &value, 4);
}

// 0xAARRGGBB to the bytes R, G, B, (A) of a PNG pixel.
inline std::uint32_t ToRgba(std::uint32_t c)
{
    return ((c >> 16) & 0xFFu) | (c & 0xFF00FF00u) | ((c & 0xFFu) << 16);
}
inline std::uint32_t ToRgb(std::uint32_t c)
{
    return ((c >> 16) & 0xFFu) | (c & 0xFF00u) | ((c & 0xFFu) << 16);
}

class cDeflateCompressor
{
public:
    explicit cDeflateCompressor(int level) : m_compressor(libdeflate_alloc_compressor(level)) {}
    ~cDeflateCompressor()
    {
        if (m_compressor)
            libdeflate_free_compressor(m_compressor);
    }
    cDeflateCompressor(const cDeflateCompressor&) = delete;
    cDeflateCompressor& operator=(const cDeflateCompressor&) = delete;
    libdeflate_compressor* Get() const { return m_compressor; }

private:
    libdeflate_compressor* m_compressor;
};

// ---- libpng glue -------------------------------------------------------

void SilentError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void SilentWarning(png_structp, png_const_charp) {}

struct sMemorySource
{
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count)
{
    auto* source = static_cast<sMemorySource*>(png_get_io_ptr(png));
    if (count > source->size - source->position)
        png_error(png, "truncated");
    std::memcpy(out, source->data + source->position, count);
    source->position += count;
}

void WriteToSink(png_structp png, png_bytep data, png_size_t count)
{
    auto* sink = static_cast<cByteSink*>(png_get_io_ptr(png));
    if (!sink->Write(data, count))
        png_error(png, "write failed");
}

void FlushSink(png_structp) {}

constexpr png_alloc_size_t MaxAncillaryChunkBytes = png_alloc_size_t(8) << 20;

struct sReadState
{
    cCodecImage* image;
    std::uint64_t maxPixels;
    bool hasAlpha;
};

// Everything libpng may leave through longjmp happens in here; the objects
// it touches live in the caller.
bool ReadPng(png_structp png, png_infop info, sReadState& state)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_user_limits(png, std::uint32_t(MaxPictureSide), std::uint32_t(MaxPictureSide));
    // A chunk header may claim gigabytes for a text or profile chunk that we
    // do not even use; libpng would allocate that much before finding the
    // data missing. Ancillary chunks larger than this are skipped, and so
    // are ancillary chunks beyond the first thousand.
    png_set_chunk_malloc_max(png, MaxAncillaryChunkBytes);
    png_set_chunk_cache_max(png, 1000);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int colourType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    state.hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS);

    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (bitDepth == 16)
        png_set_scale_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != png_size_t(width) * 4)
        return false;

    if (!state.image->Create(int(width), int(height), state.maxPixels))
        return false;
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, reinterpret_cast<png_bytep>(state.image->Row(int(y))), nullptr);
    png_read_end(png, nullptr);
    return true;
}

struct sWriteState
{
    const sPixelView* view;
    bool opaque;
};

bool WritePngInterlaced(png_structp png, png_infop info, const sWriteState& state)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    const sPixelView& view = *state.view;
    png_set_IHDR(png, info, png_uint_32(view.width), png_uint_32(view.height), 8,
                 state.opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_ADAM7,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    if (state.opaque)
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < view.height; ++y)
            png_write_row(png, reinterpret_cast<png_const_bytep>(view.Row(y)));
    png_write_end(png, info);
    return true;
}

} // namespace

bool cPngCodec::HasSignature(const std::uint8_t* data, std::size_t size)
{
    return data && size >= 8 && std::memcmp(data, Signature, 8) == 0;
}

bool cPngCodec::Encode(const sPixelView& view, cByteSink& sink, bool interlace, int level)
{
    if (!view.IsValid())
        return false;
    try
    {
        return interlace ? EncodeInterlaced(view, sink) : EncodeFast(view, sink, level);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}

namespace {

// What one band of rows became: its raw deflate stream and what joining
// needs to know about it.
struct sBand
{
    std::vector<std::uint8_t> deflated;
    cDeflateJoin::sLastBlock last;
    std::uint32_t adler = 1;
    std::uint64_t length = 0;    // filtered bytes
};

// Filters rows [first, last) of the view into out: each row becomes its
// filter byte and the difference to the row above (Up); the top row of the
// picture is stored as it is (None).
void FilterRows(const sPixelView& view, bool opaque, int first, int last, std::uint8_t* out)
{
    const int lastPixel = view.width - 1;
    for (int y = first; y < last; ++y)
    {
        const std::uint32_t* row = view.Row(y);
        const std::uint32_t* above = y > 0 ? view.Row(y - 1) : nullptr;
        *out++ = above ? 2 : 0;
        // One loop per case, so that each stays branch-free. RGB pixels
        // are stored as words whose fourth byte the next pixel overwrites;
        // the last one of a row is stored byte by byte, so that nothing is
        // written past the row.
        if (opaque && above)
            for (int x = 0; x < lastPixel; ++x, out += 3)
                StoreWord(out, ToRgb(SubtractBytes(row[x], above[x])));
        else if (opaque)
            for (int x = 0; x < lastPixel; ++x, out += 3)
                StoreWord(out, ToRgb(row[x]));
        else if (above)
            for (int x = 0; x < lastPixel; ++x, out += 4)
                StoreWord(out, ToRgba(SubtractBytes(row[x], above[x])));
        else
            for (int x = 0; x < lastPixel; ++x, out += 4)
                StoreWord(out, ToRgba(row[x]));
        const std::uint32_t pixel = ToRgba(above ? SubtractBytes(row[lastPixel], above[lastPixel]) : row[lastPixel]);
        out[0] = std::uint8_t(pixel);
        out[1] = std::uint8_t(pixel >> 8);
        out[2] = std::uint8_t(pixel >> 16);
        if (!opaque)
            out[3] = std::uint8_t(pixel >> 24);
        out += opaque ? 3 : 4;
    }
}

} // namespace

bool cPngCodec::EncodeFast(const sPixelView& view, cByteSink& sink, int level)
{
    const bool opaque = view.IsOpaque();
    const std::size_t channels = opaque ? 3 : 4;
    const std::size_t filteredRow = std::size_t(view.width) * channels + 1;

    // The rows go through the filter and the compressor in bands of about
    // BandBytes, each band compressed on its own into a raw deflate stream
    // (the next free worker takes the next band), and the streams are
    // joined into the one zlib stream of the file. No buffer holds the
    // whole filtered picture: each worker reuses one band's worth of
    // filtered rows and of compressor output.
    const int bandRows = int(std::max<std::size_t>(1, BandBytes / filteredRow));
    const int bandCount = (view.height + bandRows - 1) / bandRows;
    std::vector<sBand> bands(static_cast<std::size_t>(bandCount));
    std::atomic<int> nextBand{0};
    std::atomic<bool> failed{false};

    const auto work = [&]() {
        try
        {
            cDeflateCompressor compressor(level);
            if (!compressor.Get())
            {
                failed = true;
                return;
            }
            const std::size_t inputSize = filteredRow * std::size_t(bandRows);
            std::unique_ptr<std::uint8_t[]> filtered(new std::uint8_t[inputSize]);
            const std::size_t bound = libdeflate_deflate_compress_bound(compressor.Get(), inputSize);
            std::unique_ptr<std::uint8_t[]> output(new std::uint8_t[bound]);
            for (int index = nextBand++; index < bandCount && !failed; index = nextBand++)
            {
                const int first = index * bandRows;
                const int last = std::min(view.height, first + bandRows);
                const std::size_t length = filteredRow * std::size_t(last - first);
                FilterRows(view, opaque, first, last, filtered.get());
                const std::size_t size =
                    libdeflate_deflate_compress(compressor.Get(), filtered.get(), length, output.get(), bound);
                sBand& band = bands[std::size_t(index)];
                band.adler = libdeflate_adler32(1, filtered.get(), length);
                band.length = length;
                // Where the last block starts (to clear its final mark) and
                // where it ends, the padding bits after it excluded.
                if (size == 0 || !cDeflateJoin::FindLastBlock(output.get(), size, band.last))
                {
                    failed = true;
                    return;
                }
                band.deflated.assign(output.get(), output.get() + size);
            }
        }
        catch (...)
        {
            // Nothing may leave a worker: the helper thread must be joined.
            failed = true;
        }
    };
    // Large pictures get a second worker; one that cannot be started
    // leaves the work to this thread.
    std::thread helper;
    if (bandCount > 1 && std::size_t(view.width) * std::size_t(view.height) >= ParallelPixels)
    {
        try
        {
            helper = std::thread(work);
        }
        catch (const std::system_error&)
        {
        }
    }
    work();
    if (helper.joinable())
        helper.join();
    if (failed)
        return false;

    cDeflateJoin joined;
    std::uint32_t adler = 1;
    for (int i = 0; i < bandCount; ++i)
    {
        sBand& band = bands[std::size_t(i)];
        // The last band's stream is taken whole: its final block stays final.
        joined.Append(band.deflated.data(), band.last, i + 1 == bandCount);
        adler = i == 0 ? band.adler : cDeflateJoin::CombineAdler32(adler, band.adler, band.length);
        std::vector<std::uint8_t>().swap(band.deflated);
    }

    std::uint8_t header[13];
    const auto put32 = [](std::uint8_t* p, std::uint32_t v) {
        p[0] = std::uint8_t(v >> 24);
        p[1] = std::uint8_t(v >> 16);
        p[2] = std::uint8_t(v >> 8);
        p[3] = std::uint8_t(v);
    };
    put32(header, std::uint32_t(view.width));
    put32(header + 4, std::uint32_t(view.height));
    header[8] = 8;                   // bit depth
    header[9] = opaque ? 2 : 6;      // RGB or RGBA
    header[10] = 0;                  // deflate
    header[11] = 0;                  // adaptive filtering
    header[12] = 0;                  // not interlaced
    sink.Write(Signature, sizeof Signature);
    WriteChunk(sink, "IHDR", header, sizeof header);

    // The zlib stream: its two-byte header (deflate, 32 KiB window), the
    // joined deflate data and the Adler-32 of the filtered rows, cut into
    // IDAT chunks.
    std::vector<std::uint8_t> stream;
    stream.reserve(joined.Bytes().size() + 6);
    stream.push_back(0x78);
    stream.push_back(0x9C);
    stream.insert(stream.end(), joined.Bytes().begin(), joined.Bytes().end());
    for (int shift = 24; shift >= 0; shift -= 8)
        stream.push_back(std::uint8_t(adler >> shift));
    for (std::size_t offset = 0; offset < stream.size(); offset += IdatChunkSize)
    {
        const std::size_t size = std::min(IdatChunkSize, stream.size() - offset);
        if (!WriteChunk(sink, "IDAT", stream.data() + offset, size))
            return false;
    }
    WriteChunk(sink, "IEND", nullptr, 0);
    return !sink.Failed();
}

bool cPngCodec::EncodeInterlaced(const sPixelView& view, cByteSink& sink)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, SilentError, SilentWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info)
    {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    png_set_write_fn(png, &sink, WriteToSink, FlushSink);
    sWriteState state{&view, view.IsOpaque()};
    const bool written = WritePngInterlaced(png, info, state);
    png_destroy_write_struct(&png, &info);
    return written && !sink.Failed();
}

namespace {

std::uint32_t Get32BE(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]);
}

// Deflate turns one byte of input into at most about 1032 bytes of output
// (a 258-byte match costs two bits at best): a file's rows cannot hold
// more bytes than that many times its IDAT data, plus a little for the
// zlib header and short streams.
constexpr std::uint64_t MaxInflateRatio = 1032;
constexpr std::uint64_t InflateSlack = 1024;

// Checks the chunk layout before libpng sees the file. Every chunk must
// fit in the data that is there: libpng allocates a chunk's buffer from its
// declared length before it reads the data, so a length of gigabytes in a
// small file would be allocated first and found missing afterwards. And
// the picture IHDR declares must be one the IDAT data can encode and the
// pixel budget allows, so that a small file cannot make the reader
// allocate a huge picture.
bool ChunksFitInData(const std::uint8_t* data, std::size_t size, std::uint64_t maxPixels)
{
    // IHDR comes first: length 13, then width, height, depth, colour type.
    if (size < 8 + 12 + 13 || Get32BE(data + 8) != 13 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    const std::uint32_t width = Get32BE(data + 16), height = Get32BE(data + 20);
    const unsigned depth = data[24], colourType = data[25];
    const unsigned channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
    if (width < 1 || height < 1 || width > std::uint32_t(MaxPictureSide) || height > std::uint32_t(MaxPictureSide) ||
        depth < 1 || depth > 16 || !FitsPixelBudget(width, height, maxPixels))
        return false;
    // Each row is its filter byte and its samples (interlaced files hold
    // a few more filter bytes than that).
    const std::uint64_t rowBytes = 1 + (std::uint64_t(width) * channels * depth + 7) / 8;

    std::uint64_t idatBytes = 0;
    std::size_t offset = 8;
    while (offset < size)
    {
        if (size - offset < 12)
            return false;
        const std::uint32_t length = Get32BE(data + offset);
        if (length > size - offset - 12)
            return false;
        if (std::memcmp(data + offset + 4, "IDAT", 4) == 0)
            idatBytes += length;
        if (std::memcmp(data + offset + 4, "IEND", 4) == 0)
            return rowBytes * height <= idatBytes * MaxInflateRatio + InflateSlack;
        offset += 12 + std::size_t(length);
    }
    return false;
}

} // namespace

bool cPngCodec::Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image, std::uint64_t maxPixels)
{
    if (!HasSignature(data, size) || !ChunksFitInData(data, size, maxPixels))
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, SilentError, SilentWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info)
    {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    sMemorySource source{data, size, 0};
    png_set_read_fn(png, &source, ReadFromMemory);

    cCodecImage result;
    sReadState state{&result, maxPixels, false};
    bool read = false;
    try
    {
        read = ReadPng(png, info, state);
    }
    catch (const std::bad_alloc&)
    {
        read = false;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (!read)
        return false;
    result.SetHasAlpha(state.hasAlpha);
    image = std::move(result);
    return true;
}

} // namespace PictureFile
