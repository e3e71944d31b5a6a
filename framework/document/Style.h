#pragma once

// Style::cStyle: the ordered list of layer styles a graphic layer (or the
// scene) carries, and the kinds of style item. Each item turns its input
// picture into a new, usually larger one; the list runs its enabled items
// in order, each reading the previous one's output.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/core/Geometry.h"
#include "framework/painter/Picture.h"

namespace Brimvale {
class cRecordReader;
class cRecordWriter;
} // namespace Brimvale

namespace Style {

class cStyle
{
public:
    class cItem;
    class cShadow;
    class cGlow;
    class cOutline;
    class cDropShadow;
    class cInnerShadow;
    class cOuterGlow;
    class cInnerGlow;
    class cBevelAndEmboss;
    class cGlassShadow;
    class cFrame;
    class cColorFill;
    class cGradationFillStyle;
    class cTexture;
    class cRound;
    class cBorder;

    // The kind codes items are stored under.
    enum : std::int32_t
    {
        KindOutline = 1,
        KindDropShadow = 2,
        KindInnerShadow = 3,
        KindOuterGlow = 4,
        KindInnerGlow = 5,
        KindBevelAndEmboss = 6,
        KindGlassShadow = 7,
        KindFrame = 8,
        KindColorFill = 9,
        KindGradationFill = 10,
        KindTexture = 11,
        KindRound = 12,
        KindBorder = 13,
    };

    cStyle();
    cStyle(const cStyle& other);
    cStyle& operator=(const cStyle& other);
    cStyle(cStyle&&) noexcept;
    cStyle& operator=(cStyle&&) noexcept;
    ~cStyle();

    bool Enabled() const { return m_enabled != 0; }
    std::uint8_t EnabledByte() const { return m_enabled; }
    void SetEnabled(std::uint8_t enabled) { m_enabled = enabled; }

    std::size_t Count() const { return m_items.size(); }
    bool IsEmpty() const { return m_items.empty(); }
    cItem& Item(std::size_t index) { return *m_items[index]; }
    const cItem& Item(std::size_t index) const { return *m_items[index]; }
    void Add(std::unique_ptr<cItem> item);
    void Clear();

    // The layer rectangle grown by every enabled item in order.
    Container::sRect GetStyledBounds(const Container::sRect& rect) const;
    // Runs the enabled items over the layer picture into output; with none,
    // output becomes a copy of the layer (released for an empty layer).
    // False when an item fails (output released).
    bool RenderStyles(Painter::cPicture& output, const Painter::cPicture& layer) const;
    // Every item's Resize.
    void ResizeStyles(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d);
    // What rendering the enabled items over a layer of this rectangle costs
    // in pixel operations, saturating.
    std::uint64_t EstimateWork(const Container::sRect& rect) const;

    // A new item of a kind code with its defaults; null for an unknown code.
    static std::unique_ptr<cItem> CreateItem(std::int32_t kind);
    // The kind code of an old-form tag; 0 when none matches.
    static std::int32_t KindOfTag(const char* tag);

    // The style-list record: version 1, the enabled flag, a count and each
    // item (kind code, or the old form's tag, and its record).
    bool ReadRecord(Brimvale::cRecordReader& reader);
    void WriteRecord(Brimvale::cRecordWriter& writer) const;

private:
    std::int32_t m_value = 0;
    Painter::cPicture m_cache;
    std::uint8_t m_enabled = 1;
    std::vector<std::unique_ptr<cItem>> m_items;
};

// The interface of every style kind.
class cStyle::cItem
{
public:
    cItem() = default;
    cItem(const cItem&) = default;
    cItem& operator=(const cItem&) = default;
    virtual ~cItem();

    virtual std::unique_ptr<cItem> Clone() const = 0;
    // The rectangle the output covers for an input rectangle.
    virtual Container::sRect GetBounds(const Container::sRect& input) const = 0;
    // Creates output (FORMAT_ARGB32, the size of GetBounds of the input's
    // rectangle) from input. False when it cannot (output released).
    virtual bool Render(Painter::cPicture& output, const Painter::cPicture& input) const = 0;
    virtual std::size_t GetMemorySize() const { return 8; }
    // Scales the item's sizes for a layer scaled by a / c and b / d.
    virtual void Resize(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {}
    virtual std::int32_t KindCode() const = 0;
    // The item's record; reading validates every value the rendering uses.
    virtual bool ReadRecord(Brimvale::cRecordReader& reader) = 0;
    virtual void WriteRecord(Brimvale::cRecordWriter& writer) const = 0;
    // Pixel operations of Render for an input rectangle (by default the
    // output's area once).
    virtual std::uint64_t Work(const Container::sRect& input) const;

    bool Enabled() const { return m_enabled != 0; }
    std::uint8_t EnabledByte() const { return m_enabled; }
    void SetEnabled(std::uint8_t enabled) { m_enabled = enabled; }

protected:
    std::uint8_t m_enabled = 1;
};

} // namespace Style
