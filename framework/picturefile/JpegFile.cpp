#include "framework/picturefile/JpegFile.h"

#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "framework/core/File.h"
#include "framework/core/SafeSave.h"
#include "framework/painter/Picture.h"
#include "framework/picturefile/ExifInfo.h"
#include "framework/picturefile/PixelBudget.h"

// The libjpeg calls below report fatal errors by jumping back to the
// setjmp in RunDecode/RunEncode. Those functions and every callback that
// libjpeg calls hold no object with a destructor: whatever needs one lives
// in the caller, allocated before the jump target is set, and is released
// after it returns.

namespace PictureFile {

namespace {

constexpr std::size_t BufferSize = 64 * 1024;
// A file with more scans than this is refused; real progressive files
// have about ten.
constexpr int MaxScans = 1000;
const std::uint8_t ExifMark[6] = {'E', 'x', 'i', 'f', 0, 0};

struct sErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void ErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<sErrorManager*>(info->err)->jump, 1);
}

void OutputMessage(j_common_ptr) {}
void EmitMessage(j_common_ptr, int) {}

void InstallErrorManager(sErrorManager& manager)
{
    jpeg_std_error(&manager.base);
    manager.base.error_exit = ErrorExit;
    manager.base.output_message = OutputMessage;
    manager.base.emit_message = EmitMessage;
}

void LimitScans(j_common_ptr info)
{
    if (info->is_decompressor)
    {
        auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
        if (decompress->input_scan_number > MaxScans)
            ERREXIT(info, JERR_BAD_SCAN_SCRIPT);
    }
}

// ---- Sources ---------------------------------------------------------------

// Reads from an open Storage::cFile, or from a block of memory when file is null.
struct sSource
{
    jpeg_source_mgr base;
    Storage::cFile* file;
    const std::uint8_t* memory;
    std::size_t memorySize;
    std::uint64_t totalBytes;    // of the whole file or block
    JOCTET* buffer;
    bool started;
};

const JOCTET FakeEnd[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr info)
{
    reinterpret_cast<sSource*>(info->src)->started = false;
}

boolean FillInputBuffer(j_decompress_ptr info)
{
    sSource* source = reinterpret_cast<sSource*>(info->src);
    std::size_t got = 0;
    if (source->file)
    {
        got = source->file->Read(source->buffer, 1, BufferSize);
        source->base.next_input_byte = source->buffer;
    }
    else if (!source->started)
    {
        got = source->memorySize;
        source->base.next_input_byte = source->memory;
    }
    if (got == 0)
    {
        if (!source->started)
            ERREXIT(info, JERR_INPUT_EMPTY);
        // A truncated file ends as if its end marker were there.
        WARNMS(info, JWRN_JPEG_EOF);
        source->base.next_input_byte = FakeEnd;
        got = sizeof(FakeEnd);
    }
    source->base.bytes_in_buffer = got;
    source->started = true;
    return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count)
{
    sSource* source = reinterpret_cast<sSource*>(info->src);
    if (count <= 0)
        return;
    while (count > static_cast<long>(source->base.bytes_in_buffer))
    {
        count -= static_cast<long>(source->base.bytes_in_buffer);
        FillInputBuffer(info);
    }
    source->base.next_input_byte += count;
    source->base.bytes_in_buffer -= static_cast<std::size_t>(count);
}

void TermSource(j_decompress_ptr) {}

void InstallSource(j_decompress_ptr info, sSource* source)
{
    source->base.init_source = InitSource;
    source->base.fill_input_buffer = FillInputBuffer;
    source->base.skip_input_data = SkipInputData;
    source->base.resync_to_restart = jpeg_resync_to_restart;
    source->base.term_source = TermSource;
    source->base.bytes_in_buffer = 0;
    source->base.next_input_byte = nullptr;
    if (source->file)
        source->buffer = static_cast<JOCTET*>(
            (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, BufferSize));
    info->src = &source->base;
}

// ---- Destination -----------------------------------------------------------

struct sDestination
{
    jpeg_destination_mgr base;
    Storage::cFile* file;
    JOCTET* buffer;
};

void InitDestination(j_compress_ptr info)
{
    sDestination* destination = reinterpret_cast<sDestination*>(info->dest);
    destination->base.next_output_byte = destination->buffer;
    destination->base.free_in_buffer = BufferSize;
}

boolean EmptyOutputBuffer(j_compress_ptr info)
{
    sDestination* destination = reinterpret_cast<sDestination*>(info->dest);
    if (destination->file->Write(destination->buffer, 1, BufferSize) != BufferSize)
        ERREXIT(info, JERR_FILE_WRITE);
    destination->base.next_output_byte = destination->buffer;
    destination->base.free_in_buffer = BufferSize;
    return TRUE;
}

void TermDestination(j_compress_ptr info)
{
    sDestination* destination = reinterpret_cast<sDestination*>(info->dest);
    const std::size_t pending = BufferSize - destination->base.free_in_buffer;
    if (pending > 0 && destination->file->Write(destination->buffer, 1, pending) != pending)
        ERREXIT(info, JERR_FILE_WRITE);
}

// ---- Decoding --------------------------------------------------------------

struct sDecodeJob
{
    sSource source;
    Painter::cPicture* picture;         // null: header only
    std::unique_ptr<cExifInfo>* exif;   // receives the metadata, if any
    int width;
    int height;
};

void CollectMetadata(j_decompress_ptr info, sDecodeJob* job)
{
    bool exifTaken = false;
    for (jpeg_saved_marker_ptr marker = info->marker_list; marker; marker = marker->next)
    {
        const bool exifSegment = marker->marker == JPEG_APP0 + 1 && marker->data_length + 2 > 15
                                 && std::memcmp(marker->data, ExifMark, sizeof(ExifMark)) == 0;
        const bool commentSegment = marker->marker == JPEG_COM && marker->data_length > 0;
        if ((!exifSegment || exifTaken) && !commentSegment)
            continue;
        if (!*job->exif)
        {
            job->exif->reset(new (std::nothrow) cExifInfo());
            if (!*job->exif)
                return;
        }
        if (exifSegment)
        {
            exifTaken = true;
            (*job->exif)->Parse(marker->data + sizeof(ExifMark), marker->data_length - sizeof(ExifMark));
        }
        else
        {
            (*job->exif)->comment.Assign(reinterpret_cast<const char*>(marker->data), marker->data_length);
        }
    }
}

void ConvertRow(const JSAMPLE* samples, int components, std::uint8_t* target, JDIMENSION width)
{
    switch (components)
    {
    case 1:
        for (JDIMENSION x = 0; x < width; ++x, target += 3)
            target[0] = target[1] = target[2] = samples[x];
        break;
    case 3:
        for (JDIMENSION x = 0; x < width; ++x, target += 3, samples += 3)
        {
            target[0] = samples[2];
            target[1] = samples[1];
            target[2] = samples[0];
        }
        break;
    case 4:
        // CMYK as stored by the common writers (inverted): each colour is
        // the ink value scaled by the black value.
        for (JDIMENSION x = 0; x < width; ++x, target += 3, samples += 4)
        {
            const unsigned k = samples[3];
            target[0] = std::uint8_t(samples[2] * k / 255);
            target[1] = std::uint8_t(samples[1] * k / 255);
            target[2] = std::uint8_t(samples[0] * k / 255);
        }
        break;
    default:
        break;
    }
}

// Whether a file of `bytes` bytes can hold the frame it declares. A
// Huffman-coded scan spends at least one bit on every 8 x 8 block of the
// components it codes, and the first scan of a progressive file must carry
// the DC coefficients (a file that starts with an AC scan is malformed), so
// the blocks of the first scan cannot outnumber the file's bits. Without
// this, a truncated file of a few hundred bytes would decode, as grey, into
// a picture of gigabytes. Arithmetic-coded files are bounded by the pixel
// budget alone.
bool FitsData(const jpeg_decompress_struct* info, std::uint64_t bytes)
{
    if (info->arith_code)
        return true;
    if (info->progressive_mode && info->Ss != 0)
        return false;
    std::uint64_t blocks = 0;
    for (int c = 0; c < info->comps_in_scan; ++c)
    {
        const jpeg_component_info* component = info->cur_comp_info[c];
        blocks += std::uint64_t(component->width_in_blocks) * component->height_in_blocks;
    }
    return blocks <= bytes * 8;
}

// libjpeg's own memory (the coefficients of a progressive file, about six
// bytes per pixel at most) is held to what a picture within the pixel
// budget needs; larger requests fail instead of being allocated.
long DecoderMemoryLimit()
{
    const std::uint64_t bytes = PixelBudget() * 6 + (std::uint64_t(16) << 20);
    return bytes > std::uint64_t(LONG_MAX) ? LONG_MAX : long(bytes);
}

bool RunDecode(jpeg_decompress_struct* info, sErrorManager* errors, sDecodeJob* job)
{
    if (setjmp(errors->jump))
    {
        jpeg_destroy_decompress(info);
        return false;
    }
    jpeg_create_decompress(info);
    info->mem->max_memory_to_use = DecoderMemoryLimit();
    InstallSource(info, &job->source);
    jpeg_progress_mgr progress{};
    progress.progress_monitor = LimitScans;
    info->progress = &progress;
    if (job->exif)
    {
        jpeg_save_markers(info, JPEG_APP0 + 1, 0xFFFF);
        jpeg_save_markers(info, JPEG_COM, 0xFFFF);
    }
    jpeg_read_header(info, TRUE);
    job->width = static_cast<int>(info->image_width);
    job->height = static_cast<int>(info->image_height);
    if (!job->picture)
    {
        jpeg_destroy_decompress(info);
        return true;
    }
    if (info->image_width > JDIMENSION(Painter::kMaxPictureSize)
        || info->image_height > JDIMENSION(Painter::kMaxPictureSize)
        || !FitsPixelBudget(info->image_width, info->image_height) || !FitsData(info, job->source.totalBytes))
    {
        jpeg_destroy_decompress(info);
        return false;
    }
    if (job->exif)
        CollectMetadata(info, job);

    switch (info->jpeg_color_space)
    {
    case JCS_GRAYSCALE: info->out_color_space = JCS_GRAYSCALE; break;
    case JCS_CMYK:
    case JCS_YCCK: info->out_color_space = JCS_CMYK; break;
    default: info->out_color_space = JCS_RGB; break;
    }
    jpeg_start_decompress(info);
    const int components = info->output_components;
    if (!job->picture->Create(Painter::FORMAT_RGB24, static_cast<std::int32_t>(info->output_width),
                              static_cast<std::int32_t>(info->output_height)))
    {
        jpeg_destroy_decompress(info);
        return false;
    }
    // One scanline of every output component, from libjpeg's own pool.
    JSAMPARRAY row = (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE,
                                                info->output_width * JDIMENSION(components), 1);
    while (info->output_scanline < info->output_height)
    {
        const JDIMENSION y = info->output_scanline;
        if (jpeg_read_scanlines(info, row, 1) != 1)
            break;
        ConvertRow(row[0], components, job->picture->Row(static_cast<std::int32_t>(y)), info->output_width);
    }
    jpeg_finish_decompress(info);
    jpeg_destroy_decompress(info);
    return true;
}

// Runs a decode with everything that needs destroying owned here.
bool Decode(Painter::cPicture* target, sPictureInfo* infoOut, Storage::cFile* file, const void* data,
            std::size_t size)
{
    try
    {
        Painter::cPicture picture;
        std::unique_ptr<cExifInfo> exif;
        auto decompress = std::make_unique<jpeg_decompress_struct>();
        auto errors = std::make_unique<sErrorManager>();
        auto job = std::make_unique<sDecodeJob>();
        std::memset(decompress.get(), 0, sizeof(jpeg_decompress_struct));
        std::memset(job.get(), 0, sizeof(sDecodeJob));
        InstallErrorManager(*errors);
        decompress->err = &errors->base;
        job->source.file = file;
        job->source.memory = static_cast<const std::uint8_t*>(data);
        job->source.memorySize = size;
        job->source.totalBytes = file ? std::uint64_t(file->Length() < 0 ? 0 : file->Length()) : size;
        job->picture = target ? &picture : nullptr;
        job->exif = target ? &exif : nullptr;

        if (!RunDecode(decompress.get(), errors.get(), job.get()))
            return false;
        if (infoOut)
        {
            infoOut->width = job->width;
            infoOut->height = job->height;
            infoOut->format = Painter::FORMAT_RGB24;
        }
        if (target)
        {
            if (exif)
                exif->Layout(false);
            cExifInfo::AttachTo(picture, std::move(exif));
            *target = std::move(picture);
        }
        return true;
    }
    catch (const std::exception&)
    {
        return false;
    }
}

// ---- Encoding --------------------------------------------------------------

struct sEncodeJob
{
    sDestination destination;
    const Painter::cPicture* picture;
    const sSaveOptions* options;
    const std::vector<std::uint8_t>* exifSegment;   // "Exif\0\0" + TIFF structure, or empty
    const Container::cByteString* comment;          // may be null
};

bool RunEncode(jpeg_compress_struct* info, sErrorManager* errors, sEncodeJob* job)
{
    if (setjmp(errors->jump))
    {
        jpeg_destroy_compress(info);
        return false;
    }
    jpeg_create_compress(info);
    job->destination.buffer = static_cast<JOCTET*>(
        (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, BufferSize));
    job->destination.base.init_destination = InitDestination;
    job->destination.base.empty_output_buffer = EmptyOutputBuffer;
    job->destination.base.term_destination = TermDestination;
    info->dest = &job->destination.base;

    const Painter::cPicture& picture = *job->picture;
    const sSaveOptions& options = *job->options;
    info->image_width = JDIMENSION(picture.Width());
    info->image_height = JDIMENSION(picture.Height());
    // The rows go in as they lie in memory: B, G, R (and a fourth byte
    // that is not used).
    const bool fourBytes = picture.BitsPerPixel() == 32;
    info->input_components = fourBytes ? 4 : 3;
    info->in_color_space = fourBytes ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_set_defaults(info);
    const int quality = options.o3 < 0 ? 0 : (options.o3 > 100 ? 100 : options.o3);
    jpeg_set_quality(info, quality, options.o6 == 0 ? TRUE : FALSE);
    if (options.o6 == 2)
        jpeg_simple_progression(info);
    if (options.o6 != 0)
        info->optimize_coding = TRUE;
    switch (options.o7)
    {
    case 1: info->comp_info[0].h_samp_factor = 2; info->comp_info[0].v_samp_factor = 1; break;
    case 2: info->comp_info[0].h_samp_factor = 1; info->comp_info[0].v_samp_factor = 1; break;
    default: info->comp_info[0].h_samp_factor = 2; info->comp_info[0].v_samp_factor = 2; break;
    }
    for (int i = 1; i < info->num_components; ++i)
    {
        info->comp_info[i].h_samp_factor = 1;
        info->comp_info[i].v_samp_factor = 1;
    }
    jpeg_start_compress(info, TRUE);

    if (!job->exifSegment->empty())
        jpeg_write_marker(info, JPEG_APP0 + 1, job->exifSegment->data(), unsigned(job->exifSegment->size()));
    if (job->comment && !job->comment->IsEmpty())
    {
        if (job->comment->Length() > 65533)
            ERREXIT(info, JERR_BAD_LENGTH);
        jpeg_write_marker(info, JPEG_COM, reinterpret_cast<const JOCTET*>(job->comment->Data()),
                          unsigned(job->comment->Length()));
    }

    while (info->next_scanline < info->image_height)
    {
        JSAMPROW row = const_cast<JSAMPROW>(picture.Row(static_cast<std::int32_t>(info->next_scanline)));
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    jpeg_destroy_compress(info);
    return true;
}

} // namespace

bool cJpegFile::GetInfo(sPictureInfo& info, const Container::cWideString& path)
{
    Storage::cFile file;
    if (!file.Open(path, "rb"))
        return false;
    return Decode(nullptr, &info, &file, nullptr, 0);
}

bool cJpegFile::Load(Painter::cPicture& picture, const Container::cWideString& path)
{
    Storage::cFile file;
    if (!file.Open(path, "rb"))
        return false;
    return Decode(&picture, nullptr, &file, nullptr, 0);
}

bool cJpegFile::LoadFromMemory(Painter::cPicture& picture, const void* data, std::size_t size)
{
    if (!data || size == 0)
        return false;
    return Decode(&picture, nullptr, nullptr, data, size);
}

bool cJpegFile::Save(const Painter::cPicture& picture, const Container::cWideString& path)
{
    if (picture.IsEmpty())
        return false;
    const int bits = picture.BitsPerPixel();
    if (bits != 24 && bits != 32)
        return false;
    try
    {
        std::vector<std::uint8_t> exifSegment;
        const cExifInfo* exif = picture.Exif();
        if (exif && exif->HasExif())
        {
            std::vector<std::uint8_t> structure;
            if (!exif->Serialize(structure))
                return false;
            exifSegment.assign(ExifMark, ExifMark + sizeof(ExifMark));
            exifSegment.insert(exifSegment.end(), structure.begin(), structure.end());
        }
        if (exif && exif->comment.Length() > 65533)
            return false;

        auto compress = std::make_unique<jpeg_compress_struct>();
        auto errors = std::make_unique<sErrorManager>();
        auto job = std::make_unique<sEncodeJob>();
        return WriteFileSafely(path, [&](Storage::cFile& file) {
            std::memset(compress.get(), 0, sizeof(jpeg_compress_struct));
            std::memset(job.get(), 0, sizeof(sEncodeJob));
            InstallErrorManager(*errors);
            compress->err = &errors->base;
            job->destination.file = &file;
            job->picture = &picture;
            job->options = &m_saveOptions;
            job->exifSegment = &exifSegment;
            job->comment = exif ? &exif->comment : nullptr;
            return RunEncode(compress.get(), errors.get(), job.get());
        });
    }
    catch (const std::exception&)
    {
        return false;
    }
}

} // namespace PictureFile
