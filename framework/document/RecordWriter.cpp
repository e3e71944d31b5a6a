#include "framework/document/RecordWriter.h"

#include <cstring>
#include <new>

#include "framework/painter/Picture.h"

namespace Brimvale {

void cRecordWriter::F32(float value)
{
    std::uint32_t raw = 0;
    std::memcpy(&raw, &value, sizeof raw);
    U32(raw);
}

void cRecordWriter::WString(const Container::cWideString& text)
{
    I32(static_cast<std::int32_t>(text.Length()));
    for (std::size_t i = 0; i < text.Length(); ++i)
        U16(static_cast<std::uint16_t>(text[i]));
}

void cRecordWriter::BString(const Container::cByteString& text)
{
    I32(static_cast<std::int32_t>(text.Length()));
    Bytes(text.Text(), text.Length());
}

void cRecordWriter::EncodePlane(const std::uint8_t* plane, std::size_t size, std::vector<std::uint8_t>& out)
{
    // A state machine over the plane: n bytes pending since start, r the
    // reference byte, and whether the pending bytes are a run or a literal.
    enum class eState { Start, Run, Literal };
    eState state = eState::Start;
    std::size_t n = 0;
    std::size_t start = 0;
    std::uint8_t r = 0;
    auto emitRun = [&] {
        out.push_back(static_cast<std::uint8_t>(n - 2));
        out.push_back(r);
    };
    auto emitLiteral = [&](std::size_t from) {
        out.push_back(static_cast<std::uint8_t>(-static_cast<int>(n)));
        out.insert(out.end(), plane + from, plane + from + n);
    };
    for (std::size_t i = 0; i < size; ++i)
    {
        const std::uint8_t b = plane[i];
        if (n == 0)
        {
            r = b;
            n = 1;
            start = i;
            state = eState::Start;
        }
        else if (n == 1)
        {
            // The reference stays the first byte either way.
            state = b == r ? eState::Run : eState::Literal;
            n = 2;
        }
        else if (state == eState::Run)
        {
            if (b == r && n < 129)
            {
                ++n;
                continue;
            }
            emitRun();
            r = b;
            n = 1;
            start = i;
            state = eState::Start;
        }
        else
        {
            if (b != r && n < 128)
            {
                ++n;
                r = b;
                continue;
            }
            emitLiteral(start);
            r = b;
            n = 1;
            start = i;
            state = eState::Start;
        }
    }
    if (n == 0)
        return;
    if (state == eState::Run)
        emitRun();
    else
        emitLiteral(size - n);
}

void cRecordWriter::Picture(const Painter::cPicture& picture)
{
    const Painter::cPicture* source = &picture;
    Painter::cPicture converted;
    const bool is32 = picture.Format() == Painter::FORMAT_ARGB32 || picture.Format() == Painter::FORMAT_RGB32;
    if (!picture.IsEmpty() && !is32)
    {
        if (!converted.CopyFrom(picture))
        {
            m_failed = true;
            return;
        }
        source = &converted;
    }
    Version(2);
    I32(source->IsEmpty() ? 0 : source->Width());
    I32(source->IsEmpty() ? 0 : source->Height());
    I32(source->IsEmpty() && !is32 ? std::int32_t(Painter::FORMAT_ARGB32) : source->Format());
    U8(1);
    if (source->IsEmpty())
        return;
    const std::size_t width = static_cast<std::size_t>(source->Width());
    const std::size_t height = static_cast<std::size_t>(source->Height());
    std::vector<std::uint8_t> plane;
    std::vector<std::uint8_t> code;
    try
    {
        plane.resize(width * height);
        code.reserve(plane.size() * 2);
    }
    catch (const std::bad_alloc&)
    {
        m_failed = true;
        return;
    }
    for (int shift = 0; shift < 32; shift += 8)
    {
        for (std::size_t y = 0; y < height; ++y)
        {
            const std::uint32_t* row = source->Row32(static_cast<std::int32_t>(y));
            for (std::size_t x = 0; x < width; ++x)
                plane[y * width + x] = static_cast<std::uint8_t>(row[x] >> shift);
        }
        code.clear();
        EncodePlane(plane.data(), plane.size(), code);
        I32(static_cast<std::int32_t>(code.size()));
        Bytes(code.data(), code.size());
    }
}

} // namespace Brimvale
