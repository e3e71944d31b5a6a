#include "framework/picturefile/codec/Jpeg2000Codec.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include <openjpeg.h>

namespace PictureFile {

namespace {

void Silent(const char*, void*) {}

// ---- memory streams ----------------------------------------------------

struct sOutput
{
    std::vector<std::uint8_t> bytes;
    std::size_t position = 0;
};

OPJ_SIZE_T WriteOutput(void* buffer, OPJ_SIZE_T count, void* user)
{
    auto* out = static_cast<sOutput*>(user);
    try
    {
        if (out->bytes.size() < out->position + count)
            out->bytes.resize(out->position + count);
    }
    catch (const std::bad_alloc&)
    {
        return OPJ_SIZE_T(-1);
    }
    std::memcpy(out->bytes.data() + out->position, buffer, count);
    out->position += count;
    return count;
}

OPJ_OFF_T SkipOutput(OPJ_OFF_T count, void* user)
{
    auto* out = static_cast<sOutput*>(user);
    if (count < 0 && std::size_t(-count) > out->position)
        return -1;
    out->position = std::size_t(OPJ_OFF_T(out->position) + count);
    return count;
}

OPJ_BOOL SeekOutput(OPJ_OFF_T position, void* user)
{
    auto* out = static_cast<sOutput*>(user);
    if (position < 0)
        return OPJ_FALSE;
    out->position = std::size_t(position);
    return OPJ_TRUE;
}

struct sInput
{
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
};

OPJ_SIZE_T ReadInput(void* buffer, OPJ_SIZE_T count, void* user)
{
    auto* in = static_cast<sInput*>(user);
    if (in->position >= in->size)
        return OPJ_SIZE_T(-1);
    const std::size_t n = std::min<std::size_t>(count, in->size - in->position);
    std::memcpy(buffer, in->data + in->position, n);
    in->position += n;
    return n;
}

OPJ_OFF_T SkipInput(OPJ_OFF_T count, void* user)
{
    auto* in = static_cast<sInput*>(user);
    if (count < 0)
    {
        if (std::uint64_t(-count) > in->position)
            return -1;
        in->position -= std::size_t(-count);
        return count;
    }
    const std::size_t n = std::min<std::uint64_t>(std::uint64_t(count), in->size - in->position);
    in->position += n;
    return OPJ_OFF_T(n);
}

OPJ_BOOL SeekInput(OPJ_OFF_T position, void* user)
{
    auto* in = static_cast<sInput*>(user);
    if (position < 0 || std::uint64_t(position) > in->size)
        return OPJ_FALSE;
    in->position = std::size_t(position);
    return OPJ_TRUE;
}

// ---- owners ------------------------------------------------------------

struct sCodec
{
    opj_codec_t* codec;
    explicit sCodec(opj_codec_t* c) : codec(c)
    {
        if (codec)
        {
            opj_set_info_handler(codec, Silent, nullptr);
            opj_set_warning_handler(codec, Silent, nullptr);
            opj_set_error_handler(codec, Silent, nullptr);
        }
    }
    ~sCodec()
    {
        if (codec)
            opj_destroy_codec(codec);
    }
    sCodec(const sCodec&) = delete;
    sCodec& operator=(const sCodec&) = delete;
};

struct sStream
{
    opj_stream_t* stream;
    explicit sStream(opj_stream_t* s) : stream(s) {}
    ~sStream()
    {
        if (stream)
            opj_stream_destroy(stream);
    }
    sStream(const sStream&) = delete;
    sStream& operator=(const sStream&) = delete;
};

struct sImage
{
    opj_image_t* image = nullptr;
    ~sImage()
    {
        if (image)
            opj_image_destroy(image);
    }
};

const std::uint8_t Jp2Signature[12] = {0, 0, 0, 12, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
const std::uint8_t CodeStreamSignature[4] = {0xFF, 0x4F, 0xFF, 0x51};

} // namespace

int cJpeg2000Codec::ResolutionsFor(int width, int height)
{
    const int side = std::min(width, height);
    int resolutions = 1;
    while (resolutions < 6 && (1 << resolutions) <= side)
        ++resolutions;
    return resolutions;
}

bool cJpeg2000Codec::Encode(const sPixelView& view, cByteSink& sink, bool jp2)
{
    if (!view.IsValid())
        return false;
    try
    {
        const bool alpha = !view.IsOpaque();
        const int components = alpha ? 4 : 3;
        opj_image_cmptparm_t parameters[4];
        std::memset(parameters, 0, sizeof parameters);
        for (int c = 0; c < components; ++c)
        {
            parameters[c].dx = 1;
            parameters[c].dy = 1;
            parameters[c].w = OPJ_UINT32(view.width);
            parameters[c].h = OPJ_UINT32(view.height);
            parameters[c].prec = 8;
            parameters[c].sgnd = 0;
        }
        sImage image;
        image.image = opj_image_create(OPJ_UINT32(components), parameters, OPJ_CLRSPC_SRGB);
        if (!image.image)
            return false;
        image.image->x0 = 0;
        image.image->y0 = 0;
        image.image->x1 = OPJ_UINT32(view.width);
        image.image->y1 = OPJ_UINT32(view.height);
        if (alpha)
            image.image->comps[3].alpha = 1;
        for (int y = 0; y < view.height; ++y)
        {
            const std::uint32_t* row = view.Row(y);
            const std::size_t base = std::size_t(y) * std::size_t(view.width);
            for (int x = 0; x < view.width; ++x)
            {
                image.image->comps[0].data[base + x] = RedOf(row[x]);
                image.image->comps[1].data[base + x] = GreenOf(row[x]);
                image.image->comps[2].data[base + x] = BlueOf(row[x]);
                if (alpha)
                    image.image->comps[3].data[base + x] = AlphaOf(row[x]);
            }
        }

        opj_cparameters_t settings;
        opj_set_default_encoder_parameters(&settings);
        settings.tcp_numlayers = 1;
        settings.tcp_rates[0] = 0;    // lossless
        settings.cp_disto_alloc = 1;
        settings.irreversible = 0;
        settings.tcp_mct = 1;
        settings.numresolution = ResolutionsFor(view.width, view.height);

        sCodec codec(opj_create_compress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
        if (!codec.codec || !opj_setup_encoder(codec.codec, &settings, image.image))
            return false;

        sOutput output;
        sStream stream(opj_stream_create(1u << 20, OPJ_FALSE));
        if (!stream.stream)
            return false;
        opj_stream_set_user_data(stream.stream, &output, nullptr);
        opj_stream_set_write_function(stream.stream, WriteOutput);
        opj_stream_set_skip_function(stream.stream, SkipOutput);
        opj_stream_set_seek_function(stream.stream, SeekOutput);
        if (!opj_start_compress(codec.codec, image.image, stream.stream) || !opj_encode(codec.codec, stream.stream) ||
            !opj_end_compress(codec.codec, stream.stream))
            return false;
        return sink.Write(output.bytes.data(), output.bytes.size()) && !sink.Failed();
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}

namespace {

// A code stream whose packets are all empty decodes into a flat picture of
// any size, so JPEG 2000 has no hard bound like deflate's. Real files stay
// below this many pixels per byte: our lossless writer needs 470 bytes for
// a blank 3840 x 2160 capture and 520 for a blank 4096 x 4096 picture (up
// to 32,300 pixels a byte); the bound leaves four times that. Beyond it a
// file of a few hundred bytes could make the decoder allocate its sample
// planes (four bytes per sample) for a gigapixel picture.
constexpr std::uint64_t MaxPixelsPerByte = 131072;

} // namespace

bool cJpeg2000Codec::Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image, std::uint64_t maxPixels)
{
    if (!data)
        return false;
    OPJ_CODEC_FORMAT format;
    if (size >= sizeof Jp2Signature && std::memcmp(data, Jp2Signature, sizeof Jp2Signature) == 0)
        format = OPJ_CODEC_JP2;
    else if (size >= sizeof CodeStreamSignature && std::memcmp(data, CodeStreamSignature, 4) == 0)
        format = OPJ_CODEC_J2K;
    else
        return false;

    try
    {
        sCodec codec(opj_create_decompress(format));
        if (!codec.codec)
            return false;
        opj_dparameters_t settings;
        opj_set_default_decoder_parameters(&settings);
        if (!opj_setup_decoder(codec.codec, &settings))
            return false;

        sInput input{data, size, 0};
        sStream stream(opj_stream_create(1u << 16, OPJ_TRUE));
        if (!stream.stream)
            return false;
        opj_stream_set_user_data(stream.stream, &input, nullptr);
        opj_stream_set_user_data_length(stream.stream, size);
        opj_stream_set_read_function(stream.stream, ReadInput);
        opj_stream_set_skip_function(stream.stream, SkipInput);
        opj_stream_set_seek_function(stream.stream, SeekInput);

        sImage decoded;
        if (!opj_read_header(stream.stream, codec.codec, &decoded.image) || !decoded.image)
            return false;
        opj_image_t* header = decoded.image;
        if (header->x1 <= header->x0 || header->y1 <= header->y0 || header->numcomps < 1)
            return false;
        const std::uint64_t width = std::uint64_t(header->x1) - header->x0;
        const std::uint64_t height = std::uint64_t(header->y1) - header->y0;
        if (width > std::uint64_t(MaxPictureSide) || height > std::uint64_t(MaxPictureSide) ||
            !FitsPixelBudget(std::int64_t(width), std::int64_t(height), maxPixels) ||
            width * height > std::uint64_t(size) * MaxPixelsPerByte)
            return false;
        for (OPJ_UINT32 c = 0; c < header->numcomps && c < 4; ++c)
            if (header->comps[c].dx == 0 || header->comps[c].dy == 0 || header->comps[c].prec < 1 ||
                header->comps[c].prec > 16)
                return false;

        if (!opj_decode(codec.codec, stream.stream, decoded.image) || !opj_end_decompress(codec.codec, stream.stream))
            return false;
        opj_image_t* picture = decoded.image;
        const OPJ_UINT32 count = std::min<OPJ_UINT32>(picture->numcomps, 4);
        for (OPJ_UINT32 c = 0; c < count; ++c)
            if (!picture->comps[c].data || picture->comps[c].w == 0 || picture->comps[c].h == 0)
                return false;

        cCodecImage result;
        if (!result.Create(int(width), int(height), maxPixels))
            return false;
        const bool colour = count >= 3;
        const bool alpha = count == 4 || count == 2;
        const auto sample = [&](OPJ_UINT32 c, std::uint64_t x, std::uint64_t y) -> unsigned {
            const opj_image_comp_t& comp = picture->comps[c];
            // Map the image grid onto the component's (possibly smaller) grid.
            std::uint64_t cx = (x + picture->x0) / comp.dx;
            std::uint64_t cy = (y + picture->y0) / comp.dy;
            cx = cx > comp.x0 ? cx - comp.x0 : 0;
            cy = cy > comp.y0 ? cy - comp.y0 : 0;
            cx = std::min<std::uint64_t>(cx, comp.w - 1);
            cy = std::min<std::uint64_t>(cy, comp.h - 1);
            std::int64_t value = comp.data[cy * comp.w + cx];
            if (comp.sgnd)
                value += std::int64_t(1) << (comp.prec - 1);
            const std::int64_t top = (std::int64_t(1) << comp.prec) - 1;
            value = std::clamp<std::int64_t>(value, 0, top);
            return unsigned((value * 255 + top / 2) / top);
        };
        bool anyAlpha = false;
        for (std::uint64_t y = 0; y < height; ++y)
        {
            std::uint32_t* out = result.Row(int(y));
            for (std::uint64_t x = 0; x < width; ++x)
            {
                const unsigned r = sample(0, x, y);
                const unsigned g = colour ? sample(1, x, y) : r;
                const unsigned b = colour ? sample(2, x, y) : r;
                const unsigned a = alpha ? sample(count - 1, x, y) : 255;
                anyAlpha |= a != 255;
                out[x] = MakeColour(r, g, b, a);
            }
        }
        result.SetHasAlpha(alpha && anyAlpha);
        image = std::move(result);
        return true;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}

} // namespace PictureFile
