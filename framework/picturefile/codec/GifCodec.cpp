#include "framework/picturefile/codec/GifCodec.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include <gif_lib.h>

namespace PictureFile {

namespace {

int WriteToSink(GifFileType* gif, const GifByteType* data, int count)
{
    auto* sink = static_cast<cByteSink*>(gif->UserData);
    return count >= 0 && sink->Write(data, std::size_t(count)) ? count : 0;
}

struct sMemorySource
{
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int count)
{
    auto* source = static_cast<sMemorySource*>(gif->UserData);
    if (count <= 0)
        return 0;
    const std::size_t available = source->size - source->position;
    const std::size_t n = std::min(available, std::size_t(count));
    std::memcpy(out, source->data + source->position, n);
    source->position += n;
    return int(n);
}

class cGifWriter
{
public:
    explicit cGifWriter(cByteSink& sink)
    {
        int error = 0;
        m_gif = EGifOpen(&sink, WriteToSink, &error);
    }
    ~cGifWriter()
    {
        if (m_gif)
        {
            int error = 0;
            EGifCloseFile(m_gif, &error);
        }
    }
    cGifWriter(const cGifWriter&) = delete;
    cGifWriter& operator=(const cGifWriter&) = delete;

    GifFileType* Get() const { return m_gif; }
    // Writes the trailer and frees the writer; true when that worked.
    bool Close()
    {
        int error = 0;
        const int result = EGifCloseFile(m_gif, &error);
        m_gif = nullptr;
        return result == GIF_OK;
    }

private:
    GifFileType* m_gif = nullptr;
};

class cGifReader
{
public:
    explicit cGifReader(sMemorySource& source)
    {
        int error = 0;
        m_gif = DGifOpen(&source, ReadFromMemory, &error);
    }
    ~cGifReader()
    {
        if (m_gif)
        {
            int error = 0;
            DGifCloseFile(m_gif, &error);
        }
    }
    cGifReader(const cGifReader&) = delete;
    cGifReader& operator=(const cGifReader&) = delete;
    GifFileType* Get() const { return m_gif; }

private:
    GifFileType* m_gif = nullptr;
};

struct sColourMap
{
    ColorMapObject* map;
    explicit sColourMap(int count, const GifColorType* colours) : map(GifMakeMapObject(count, colours)) {}
    ~sColourMap()
    {
        if (map)
            GifFreeMapObject(map);
    }
    sColourMap(const sColourMap&) = delete;
    sColourMap& operator=(const sColourMap&) = delete;
};

} // namespace

bool cGifCodec::Encode(const sIndexedImage& image, cByteSink& sink)
{
    if (image.width < 1 || image.height < 1 || image.width > 65535 || image.height > 65535 || image.bits < 1 ||
        image.bits > 8 || image.colourCount < 1 || image.colourCount > (1 << image.bits) ||
        image.palette.size() < std::size_t(image.colourCount) ||
        image.indices.size() != std::size_t(image.width) * std::size_t(image.height) ||
        image.transparentIndex >= image.colourCount)
        return false;

    // The smallest table that holds every entry in use.
    int bits = 1;
    while ((1 << bits) < image.colourCount)
        ++bits;
    GifColorType colours[256] = {};
    for (int i = 0; i < image.colourCount; ++i)
    {
        colours[i].Red = RedOf(image.palette[i]);
        colours[i].Green = GreenOf(image.palette[i]);
        colours[i].Blue = BlueOf(image.palette[i]);
    }
    for (std::uint8_t index : image.indices)
        if (index >= image.colourCount)
            return false;

    sColourMap map(1 << bits, colours);
    if (!map.map)
        return false;
    cGifWriter writer(sink);
    GifFileType* gif = writer.Get();
    if (!gif)
        return false;
    EGifSetGifVersion(gif, image.transparentIndex >= 0);
    if (EGifPutScreenDesc(gif, image.width, image.height, bits, 0, map.map) != GIF_OK)
        return false;
    if (image.transparentIndex >= 0)
    {
        GraphicsControlBlock control = {};
        control.DisposalMode = DISPOSAL_UNSPECIFIED;
        control.UserInputFlag = false;
        control.DelayTime = 0;
        control.TransparentColor = image.transparentIndex;
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) != GIF_OK)
            return false;
    }
    if (EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) != GIF_OK)
        return false;
    std::vector<GifPixelType> line(static_cast<std::size_t>(image.width));
    for (int y = 0; y < image.height; ++y)
    {
        std::memcpy(line.data(), image.indices.data() + std::size_t(y) * std::size_t(image.width), line.size());
        if (EGifPutLine(gif, line.data(), image.width) != GIF_OK)
            return false;
    }
    return writer.Close() && !sink.Failed();
}

bool cGifCodec::Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image, std::uint64_t maxPixels)
{
    if (!data || size < 13 || std::memcmp(data, "GIF", 3) != 0)
        return false;
    try
    {
        sMemorySource source{data, size, 0};
        cGifReader reader(source);
        GifFileType* gif = reader.Get();
        if (!gif)
            return false;

        int transparentIndex = -1;
        for (;;)
        {
            GifRecordType record;
            if (DGifGetRecordType(gif, &record) != GIF_OK)
                return false;
            if (record == TERMINATE_RECORD_TYPE)
                return false;    // no frame
            if (record == EXTENSION_RECORD_TYPE)
            {
                int code = 0;
                GifByteType* block = nullptr;
                if (DGifGetExtension(gif, &code, &block) != GIF_OK)
                    return false;
                if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
                {
                    GraphicsControlBlock control;
                    if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
                        transparentIndex = control.TransparentColor;
                }
                while (block)
                    if (DGifGetExtensionNext(gif, &block) != GIF_OK)
                        return false;
                continue;
            }
            if (record != IMAGE_DESC_RECORD_TYPE)
                continue;
            if (DGifGetImageDesc(gif) != GIF_OK)
                return false;
            break;
        }

        const int width = gif->Image.Width;
        const int height = gif->Image.Height;
        if (width < 1 || height < 1 || width > MaxPictureSide || height > MaxPictureSide)
            return false;
        // One LZW code of at least 3 bits stands for at most 4096 pixels.
        const std::uint64_t remaining = size - source.position;
        if (std::uint64_t(width) * std::uint64_t(height) > remaining * 8 / 3 * 4096 + 4096)
            return false;

        const ColorMapObject* map = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
        std::uint32_t palette[256];
        for (int i = 0; i < 256; ++i)
        {
            if (map && i < map->ColorCount)
                palette[i] = MakeColour(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
            else
                palette[i] = map ? MakeColour(0, 0, 0) : MakeColour(i, i, i);
        }
        bool hasAlpha = false;
        if (transparentIndex >= 0 && transparentIndex < 256)
        {
            palette[transparentIndex] &= 0x00FFFFFFu;
            hasAlpha = true;
        }

        cCodecImage result;
        if (!result.Create(width, height, maxPixels))
            return false;
        std::vector<GifPixelType> line(static_cast<std::size_t>(width));
        const auto readRow = [&](int y) {
            if (DGifGetLine(gif, line.data(), width) != GIF_OK)
                return false;
            std::uint32_t* out = result.Row(y);
            for (int x = 0; x < width; ++x)
                out[x] = palette[line[x]];
            return true;
        };
        if (gif->Image.Interlace)
        {
            static const int start[4] = {0, 4, 2, 1};
            static const int step[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int y = start[pass]; y < height; y += step[pass])
                    if (!readRow(y))
                        return false;
        }
        else
        {
            for (int y = 0; y < height; ++y)
                if (!readRow(y))
                    return false;
        }
        result.SetHasAlpha(hasAlpha);
        image = std::move(result);
        return true;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}

} // namespace PictureFile
