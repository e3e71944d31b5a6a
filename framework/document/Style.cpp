#include "framework/document/Style.h"

#include <cstring>
#include <new>

#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"
#include "framework/document/StyleBevelAndEmboss.h"
#include "framework/document/StyleBorder.h"
#include "framework/document/StyleColorFill.h"
#include "framework/document/StyleDropShadow.h"
#include "framework/document/StyleFrame.h"
#include "framework/document/StyleGlassShadow.h"
#include "framework/document/StyleGradationFill.h"
#include "framework/document/StyleInnerGlow.h"
#include "framework/document/StyleInnerShadow.h"
#include "framework/document/StyleOuterGlow.h"
#include "framework/document/StyleOutline.h"
#include "framework/document/StylePixels.h"
#include "framework/document/StyleRound.h"
#include "framework/document/StyleTexture.h"

namespace Style {

namespace {

struct sTag
{
    const char* tag;
    std::int32_t kind;
};

constexpr sTag kTags[] = {
    {"Outline", cStyle::KindOutline},         {"DShadow", cStyle::KindDropShadow},
    {"IShadow", cStyle::KindInnerShadow},     {"InnerSha", cStyle::KindInnerShadow},
    {"OGlow", cStyle::KindOuterGlow},         {"IGlow", cStyle::KindInnerGlow},
    {"Bevel", cStyle::KindBevelAndEmboss},    {"GShadow", cStyle::KindGlassShadow},
    {"Frame", cStyle::KindFrame},             {"CFill", cStyle::KindColorFill},
    {"GFill", cStyle::KindGradationFill},     {"Texture", cStyle::KindTexture},
    {"Round", cStyle::KindRound},             {"Border", cStyle::KindBorder},
};

// The least bytes an item record takes (version and enabled flag).
constexpr std::size_t kLeastItemBytes = 3;

} // namespace

cStyle::cItem::~cItem() = default;

std::uint64_t cStyle::cItem::Work(const Container::sRect& input) const
{
    return PassWork(GetBounds(input), 0, 0);
}

cStyle::cStyle() = default;

cStyle::cStyle(const cStyle& other) : m_value(other.m_value), m_enabled(other.m_enabled)
{
    m_items.reserve(other.m_items.size());
    for (const auto& item : other.m_items)
        m_items.push_back(item->Clone());
}

cStyle& cStyle::operator=(const cStyle& other)
{
    if (this != &other)
    {
        cStyle copy(other);
        *this = std::move(copy);
    }
    return *this;
}

cStyle::cStyle(cStyle&&) noexcept = default;
cStyle& cStyle::operator=(cStyle&&) noexcept = default;
cStyle::~cStyle() = default;

void cStyle::Add(std::unique_ptr<cItem> item)
{
    if (item)
        m_items.push_back(std::move(item));
}

void cStyle::Clear()
{
    m_items.clear();
    m_cache.Release();
}

Container::sRect cStyle::GetStyledBounds(const Container::sRect& rect) const
{
    if (rect.IsEmpty())
        return rect;
    Container::sRect bounds = rect;
    for (const auto& item : m_items)
        if (item->Enabled())
            bounds = item->GetBounds(bounds);
    return bounds;
}

bool cStyle::RenderStyles(Painter::cPicture& output, const Painter::cPicture& layer) const
{
    std::vector<const cItem*> enabled;
    for (const auto& item : m_items)
        if (item->Enabled())
            enabled.push_back(item.get());
    if (enabled.empty())
    {
        if (layer.IsEmpty())
        {
            output.Release();
            return true;
        }
        return output.CopyFrom(layer);
    }
    if (layer.IsEmpty())
    {
        output.Release();
        return false;
    }
    Painter::cPicture temporary[2];
    const Painter::cPicture* input = &layer;
    for (std::size_t i = 0; i < enabled.size(); ++i)
    {
        Painter::cPicture& target = i + 1 == enabled.size() ? output : temporary[i % 2];
        if (!enabled[i]->Render(target, *input))
        {
            output.Release();
            return false;
        }
        input = &target;
    }
    return true;
}

void cStyle::ResizeStyles(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d)
{
    for (const auto& item : m_items)
        item->Resize(a, b, c, d);
}

std::uint64_t cStyle::EstimateWork(const Container::sRect& rect) const
{
    std::uint64_t work = 0;
    Container::sRect bounds = rect;
    for (const auto& item : m_items)
    {
        if (!item->Enabled())
            continue;
        const std::uint64_t step = item->Work(bounds);
        work = work > UINT64_MAX - step ? UINT64_MAX : work + step;
        bounds = item->GetBounds(bounds);
    }
    return work;
}

std::unique_ptr<cStyle::cItem> cStyle::CreateItem(std::int32_t kind)
{
    try
    {
        switch (kind)
        {
        case KindOutline: return std::make_unique<cOutline>();
        case KindDropShadow: return std::make_unique<cDropShadow>();
        case KindInnerShadow: return std::make_unique<cInnerShadow>();
        case KindOuterGlow: return std::make_unique<cOuterGlow>();
        case KindInnerGlow: return std::make_unique<cInnerGlow>();
        case KindBevelAndEmboss: return std::make_unique<cBevelAndEmboss>();
        case KindGlassShadow: return std::make_unique<cGlassShadow>();
        case KindFrame: return std::make_unique<cFrame>();
        case KindColorFill: return std::make_unique<cColorFill>();
        case KindGradationFill: return std::make_unique<cGradationFillStyle>();
        case KindTexture: return std::make_unique<cTexture>();
        case KindRound: return std::make_unique<cRound>();
        case KindBorder: return std::make_unique<cBorder>();
        default: return nullptr;
        }
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

std::int32_t cStyle::KindOfTag(const char* tag)
{
    for (const sTag& entry : kTags)
        if (std::strcmp(entry.tag, tag) == 0)
            return entry.kind;
    return 0;
}

bool cStyle::ReadRecord(Brimvale::cRecordReader& reader)
{
    std::int16_t version = 0;
    std::uint8_t enabled = 0;
    std::int32_t count = 0;
    if (!reader.Version(version, 1) || !reader.U8(enabled) || !reader.Count(count, kLeastItemBytes))
        return false;
    std::vector<std::unique_ptr<cItem>> items;
    for (std::int32_t i = 0; i < count; ++i)
    {
        std::int32_t kind = 0;
        if (reader.OldForm())
        {
            char tag[9];
            if (!reader.PeekTag(tag))
                return false;
            kind = KindOfTag(tag);
        }
        else if (!reader.I32(kind))
        {
            return false;
        }
        std::unique_ptr<cItem> item = CreateItem(kind);
        if (!item || !item->ReadRecord(reader))
            return false;
        items.push_back(std::move(item));
    }
    m_enabled = enabled;
    m_items = std::move(items);
    m_cache.Release();
    return true;
}

void cStyle::WriteRecord(Brimvale::cRecordWriter& writer) const
{
    writer.Version(1);
    writer.U8(m_enabled);
    writer.I32(static_cast<std::int32_t>(m_items.size()));
    for (const auto& item : m_items)
    {
        writer.I32(item->KindCode());
        item->WriteRecord(writer);
    }
}

} // namespace Style
