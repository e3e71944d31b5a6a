#include "framework/document/BVFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <numbers>

#include "framework/core/File.h"
#include "framework/document/BVBackground.h"
#include "framework/document/BVGroup.h"
#include "framework/document/BVImage.h"
#include "framework/document/BVPath.h"
#include "framework/document/BVScene.h"
#include "framework/document/BVStockShape.h"
#include "framework/document/BVText.h"
#include "framework/document/DocumentLimits.h"
#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"
#include "framework/painter/BlendModes.h"
#include "framework/picturefile/ExifInfo.h"
#include "framework/picturefile/PictureFile.h"
#include "framework/picturefile/PixelBudget.h"
#include "framework/core/SafeSave.h"

namespace Brimvale {

namespace {

constexpr std::uint8_t kMagic[4] = {'t', 'b', 'v', 0};
constexpr std::size_t kHeaderBytes = 8;

// ---- Reading ---------------------------------------------------------------

bool ReadObject(cRecordReader& reader, cBVObject& object)
{
    std::int16_t version = 0;
    Container::cWideString name;
    std::int32_t x = 0, y = 0;
    float rotation = 0, scaleX = 1, scaleY = 1, skewX = 0, skewY = 0, pivotX = 0, pivotY = 0;
    cBVObject::sStoredState state;
    std::uint8_t visible = 1;
    if (!reader.Version(version, 8) || !reader.WString(name) || !reader.I32(x) || !reader.I32(y))
        return false;
    if (version >= 2 && version <= 4)
    {
        std::uint8_t extraPosition[8];
        if (!reader.Bytes(extraPosition, sizeof extraPosition))
            return false;
    }
    if (version == 3 || version == 4)
    {
        std::int32_t degrees = 0;
        if (!reader.I32(degrees))
            return false;
        rotation = static_cast<float>(double(degrees % 360) * std::numbers::pi / 180.0);
    }
    if (version >= 5 && (!reader.F32(rotation) || !reader.F32(scaleX) || !reader.F32(scaleY)))
        return false;
    if (version >= 8 && (!reader.F32(skewX) || !reader.F32(skewY) || !reader.F32(pivotX) || !reader.F32(pivotY)))
        return false;
    if (!reader.U8(visible))
        return false;
    if (version >= 1 && (!reader.U8(state.secondFlag) || !reader.I32(state.stateValue)))
        return false;
    if (!reader.I16(state.linkValue) || !reader.U8(state.stateBytes[0]) || !reader.U8(state.stateBytes[1]))
        return false;
    object.SetName(name);
    object.SetVisible(visible);
    object.State() = state;
    object.SetTransformFields(Container::sPoint{x, y}, rotation, scaleX, scaleY, skewX, skewY, pivotX, pivotY);
    object.UpdateMatrix();
    return true;
}

bool ReadMask(cRecordReader& reader, cBVLayerMask& mask)
{
    std::int16_t version = 0, pictureVersion = 0;
    std::uint8_t fill = 0;
    if (!reader.Version(version, 0) || !reader.Version(pictureVersion, 0) || !ReadObject(reader, mask) ||
        !reader.Picture(*mask.GetPicture()) || !reader.U8(fill))
        return false;
    mask.SetFillValue(fill);
    return true;
}

bool ReadGraphic(cRecordReader& reader, cBVGraphic& graphic)
{
    std::int16_t version = 0, pictureVersion = 0;
    std::uint8_t opacity = 0, mode = 0, hasMask = 0;
    if (!reader.Version(version, 1) || !reader.Version(pictureVersion, 0) || !ReadObject(reader, graphic) ||
        !reader.U8(opacity) || !reader.U8(mode) || !graphic.Styles().ReadRecord(reader) || !reader.U8(hasMask))
        return false;
    if (mode >= Painter::cBlendModes::MODE_COUNT || hasMask > 1)
        return false;
    if (hasMask)
    {
        auto mask = std::make_unique<cBVLayerMask>();
        std::uint8_t enabled = 0;
        if (!ReadMask(reader, *mask) || !reader.U8(enabled))
            return false;
        graphic.SetMask(std::move(mask));
        graphic.SetMaskEnabled(enabled);
    }
    graphic.SetOpacity(opacity);
    graphic.SetBlendingMode(mode);
    return true;
}

bool ReadImage(cRecordReader& reader, cBVImage& image)
{
    std::int16_t version = 0;
    return reader.Version(version, 1) && ReadGraphic(reader, image) && reader.Picture(*image.GetPicture());
}

bool ReadBackground(cRecordReader& reader, cBVBackground& background)
{
    std::int16_t version = 0;
    return reader.Version(version, 0) && ReadImage(reader, background);
}

bool ReadText(cRecordReader& reader, cBVText& text)
{
    std::int16_t version = 0, tableVersion = 0;
    std::int32_t count = 0;
    if (!reader.Version(version, 2) || !ReadGraphic(reader, text) || !reader.U8(text.textFlag) ||
        !reader.Version(tableVersion, 0) || !reader.Count(count, 34))
        return false;
    for (std::int32_t i = 0; i < count; ++i)
    {
        std::int16_t styleVersion = 0;
        cBVText::sTextStyle style;
        if (!reader.Version(styleVersion, 4) || !reader.WString(style.face) || !reader.F32(style.size) ||
            !reader.F32(style.width) || !reader.U32(style.colour) || !reader.U32(style.flags) ||
            !reader.I32(style.spacingBefore) || !reader.I32(style.spacingAfter) || !reader.I32(style.baselineShift) ||
            !reader.U32(style.extra))
            return false;
        text.styles.push_back(std::move(style));
    }
    // A style index names an entry of the table, or -1 for none.
    const auto validIndex = [&](std::int16_t index) {
        return index >= -1 && index < static_cast<std::int32_t>(text.styles.size());
    };
    if (!reader.Count(count, 9))
        return false;
    for (std::int32_t i = 0; i < count; ++i)
    {
        std::int16_t runVersion = 0;
        std::int32_t characters = 0;
        cBVText::sRun run;
        if (!reader.Version(runVersion, 0) || !reader.I16(run.style) || !reader.U8(run.flag) ||
            !reader.Count(characters, 4) || !validIndex(run.style))
            return false;
        run.characters.resize(static_cast<std::size_t>(characters));
        for (cBVText::sCharacter& character : run.characters)
            if (!reader.U16(character.code) || !reader.I16(character.style) || !validIndex(character.style))
                return false;
        text.runs.push_back(std::move(run));
    }
    return true;
}

bool ReadShape(cRecordReader& reader, cBVShape& shape)
{
    std::int16_t version = 0, strokeVersion = 0, fillVersion = 0;
    if (!reader.Version(version, 2) || !ReadGraphic(reader, shape) || !reader.F32(shape.width) ||
        !reader.F32(shape.height) || !reader.U8(shape.shapeFlag) || !reader.Version(strokeVersion, 1) ||
        !reader.U8(shape.stroke.a) || !reader.I32(shape.stroke.b) || !reader.U8(shape.stroke.c) ||
        !reader.Version(fillVersion, 1))
        return false;
    for (std::int32_t& value : shape.fill.values)
        if (!reader.I32(value))
            return false;
    return reader.Bytes(shape.fill.block, 8) && reader.I32(shape.fill.tail[0]) && reader.I32(shape.fill.tail[1]);
}

bool ReadPoint(cRecordReader& reader, float (&point)[2])
{
    return reader.F32(point[0]) && reader.F32(point[1]);
}

bool ReadPath(cRecordReader& reader, cBVPath& path)
{
    std::int16_t version = 0;
    std::int32_t count = 0;
    if (!reader.Version(version, 2) || !ReadShape(reader, path) || !reader.Count(count, 5))
        return false;
    for (std::int32_t i = 0; i < count; ++i)
    {
        cBVPath::sSubPath subPath;
        std::int32_t nodes = 0;
        if (!reader.U8(subPath.closed) || !reader.Count(nodes, 25))
            return false;
        subPath.nodes.resize(static_cast<std::size_t>(nodes));
        for (cBVPath::sNode& node : subPath.nodes)
            if (!ReadPoint(reader, node.anchor) || !ReadPoint(reader, node.in) || !ReadPoint(reader, node.out) ||
                !reader.U8(node.type))
                return false;
        path.subPaths.push_back(std::move(subPath));
    }
    return true;
}

bool ReadStockShape(cRecordReader& reader, cBVStockShape& shape)
{
    std::int16_t version = 0;
    return reader.Version(version, 3) && ReadShape(reader, shape) && reader.I32(shape.shapeType) &&
           reader.I32(shape.parameters[0]) && reader.I32(shape.parameters[1]) && reader.Bytes(shape.block, 8) &&
           reader.U8(shape.flag);
}

bool ReadGroup(cRecordReader& reader, cBVGroup& group, int depth);

// The old form names a child's kind by the tag of its first version block.
std::int32_t KindOfTag(const char* tag)
{
    struct sTag { const char* tag; std::int32_t kind; };
    static constexpr sTag tags[] = {
        {"Group", cBVObject::KindGroup}, {"Image", cBVObject::KindImage}, {"Backgrnd", cBVObject::KindBackground},
        {"Text", cBVObject::KindText},   {"Path", cBVObject::KindPath},   {"SShape", cBVObject::KindStockShape},
    };
    for (const sTag& entry : tags)
        if (std::strcmp(entry.tag, tag) == 0)
            return entry.kind;
    return cBVObject::KindNone;
}

template <typename tLayer, typename tRead>
std::unique_ptr<cBVObject> ReadLayer(cRecordReader& reader, tRead read)
{
    auto layer = std::make_unique<tLayer>();
    if (!read(reader, *layer))
        return nullptr;
    return layer;
}

std::unique_ptr<cBVObject> ReadChild(cRecordReader& reader, int depth)
{
    std::int32_t kind = cBVObject::KindNone;
    if (reader.OldForm())
    {
        char tag[9];
        if (!reader.PeekTag(tag))
            return nullptr;
        kind = KindOfTag(tag);
    }
    else if (!reader.I32(kind))
    {
        return nullptr;
    }
    switch (kind)
    {
    case cBVObject::KindGroup:
        if (depth >= sDocumentLimits::kMaxGroupDepth)
            return nullptr;
        return ReadLayer<cBVGroup>(reader, [depth](cRecordReader& r, cBVGroup& g) { return ReadGroup(r, g, depth + 1); });
    case cBVObject::KindImage: return ReadLayer<cBVImage>(reader, ReadImage);
    case cBVObject::KindBackground: return ReadLayer<cBVBackground>(reader, ReadBackground);
    case cBVObject::KindText: return ReadLayer<cBVText>(reader, ReadText);
    case cBVObject::KindPath: return ReadLayer<cBVPath>(reader, ReadPath);
    case cBVObject::KindStockShape: return ReadLayer<cBVStockShape>(reader, ReadStockShape);
    default: return nullptr;
    }
}

bool ReadGroup(cRecordReader& reader, cBVGroup& group, int depth)
{
    std::int16_t version = 0;
    std::uint8_t expanded = 0;
    std::int32_t count = 0;
    // A child takes at least its kind code and an object record.
    if (!reader.Version(version, 0) || !ReadObject(reader, group) || !reader.U8(expanded) || !reader.Count(count, 16))
        return false;
    group.SetExpanded(expanded);
    for (std::int32_t i = 0; i < count; ++i)
    {
        std::unique_ptr<cBVObject> child = ReadChild(reader, depth);
        if (!child)
            return false;
        group.AddChild(std::move(child));
    }
    return true;
}

bool ReadGrid(cRecordReader& reader, cBVScene::sGrid& grid)
{
    std::int16_t version = 0;
    std::int32_t count = 0;
    if (!reader.Version(version, 1) || !reader.I32(grid.width) || !reader.I32(grid.height) ||
        !reader.U8(grid.flags[0]) || !reader.U8(grid.flags[1]))
        return false;
    for (std::vector<std::int32_t>* guides : {&grid.horizontalGuides, &grid.verticalGuides})
    {
        if (!reader.Count(count, 4))
            return false;
        guides->resize(static_cast<std::size_t>(count));
        for (std::int32_t& guide : *guides)
            reader.I32(guide);
    }
    return true;
}

bool ReadDirectory(cRecordReader& reader, PictureFile::cExifInfo::cDirectory& directory)
{
    std::int16_t version = 0;
    std::int32_t count = 0;
    if (!reader.Version(version, 0) || !reader.Count(count, 12))
        return false;
    for (std::int32_t i = 0; i < count; ++i)
    {
        PictureFile::cExifInfo::sEntry entry;
        std::int32_t elements = 0;
        if (!reader.U16(entry.tag) || !reader.U16(entry.type) || !reader.I32(elements) || elements < 0)
            return false;
        entry.count = static_cast<std::uint32_t>(elements);
        const std::uint64_t bytes = std::uint64_t(PictureFile::cExifInfo::TypeSize(entry.type)) * entry.count;
        if (bytes > 4)
        {
            if (bytes > reader.Remaining())
                return false;
            entry.value.resize(static_cast<std::size_t>(bytes));
            reader.Bytes(entry.value.data(), entry.value.size());
        }
        else
        {
            std::uint8_t inline_[4];
            if (!reader.Bytes(inline_, 4))
                return false;
            entry.value.assign(inline_, inline_ + bytes);
        }
        directory.Append(std::move(entry));
    }
    return true;
}

bool ReadMetadata(cRecordReader& reader, PictureFile::cExifInfo& info)
{
    std::int16_t version = 0;
    std::int32_t length = 0;
    if (!reader.Version(version, 0) || !reader.U8(info.byteOrder) || !ReadDirectory(reader, info.primary) ||
        !ReadDirectory(reader, info.exif) || !reader.Count(length, 1))
        return false;
    info.makerNote.resize(static_cast<std::size_t>(length));
    reader.Bytes(info.makerNote.data(), info.makerNote.size());
    return ReadDirectory(reader, info.makerNoteDirectory) && ReadDirectory(reader, info.gps) &&
           reader.BString(info.comment);
}

bool ReadSceneRecord(cRecordReader& reader, cBVScene& scene)
{
    std::int16_t version = 0;
    Container::cWideString name;
    std::int32_t width = 0, height = 0, resolution = 96;
    std::uint8_t hasMetadata = 0;
    if (!reader.Version(version, 5) || !reader.WString(name) || !reader.I32(width) || !reader.I32(height))
        return false;
    if (version >= 4 && !reader.I32(resolution))
        return false;
    if (version >= 5 && !reader.U8(hasMetadata))
        return false;
    if (hasMetadata > 1)
        return false;
    if (hasMetadata)
    {
        auto info = std::make_unique<PictureFile::cExifInfo>();
        if (!ReadMetadata(reader, *info))
            return false;
        scene.SetMetadata(std::move(info));
    }
    // A document without a canvas has nothing to show.
    if (width < 1 || height < 1 || width > Painter::kMaxPictureSize || height > Painter::kMaxPictureSize)
        return false;
    if (!reader.TakePixels(std::uint64_t(width) * std::uint64_t(height)) || !scene.SetCanvasSize(width, height))
        return false;
    // The name is kept (not only skipped) so that documents round-trip.
    scene.SetName(name);
    scene.SetResolution(resolution);
    if (version == 0)
    {
        Painter::cPicture stored;
        if (!reader.Picture(stored))
            return false;
    }
    if (version >= 2 && !ReadGrid(reader, scene.Grid()))
        return false;
    if (!ReadGroup(reader, scene.Root(), 1))
        return false;
    if (version >= 3 && !scene.Styles().ReadRecord(reader))
        return false;
    return true;
}

// ---- Writing ---------------------------------------------------------------

void WriteObject(cRecordWriter& writer, const cBVObject& object)
{
    writer.Version(8);
    writer.WString(object.Name());
    writer.I32(object.Position().x);
    writer.I32(object.Position().y);
    writer.F32(object.Rotation());
    writer.F32(object.ScaleX());
    writer.F32(object.ScaleY());
    writer.F32(object.SkewX());
    writer.F32(object.SkewY());
    writer.F32(object.PivotX());
    writer.F32(object.PivotY());
    writer.U8(object.Visible());
    writer.U8(object.State().secondFlag);
    writer.I32(object.State().stateValue);
    writer.I16(object.State().linkValue);
    writer.U8(object.State().stateBytes[0]);
    writer.U8(object.State().stateBytes[1]);
}

void WriteGraphic(cRecordWriter& writer, const cBVGraphic& graphic)
{
    writer.Version(1);
    writer.Version(0);
    WriteObject(writer, graphic);
    writer.U8(graphic.Opacity());
    writer.U8(static_cast<std::uint8_t>(graphic.BlendingMode()));
    graphic.Styles().WriteRecord(writer);
    const cBVLayerMask* mask = graphic.Mask();
    writer.U8(mask ? 1 : 0);
    if (mask)
    {
        writer.Version(0);
        writer.Version(0);
        WriteObject(writer, *mask);
        writer.Picture(*mask->GetPicture());
        writer.U8(mask->FillValue());
        writer.U8(graphic.MaskEnabled());
    }
}

void WriteImage(cRecordWriter& writer, const cBVImage& image)
{
    writer.Version(1);
    WriteGraphic(writer, image);
    writer.Picture(*image.GetPicture());
}

void WriteText(cRecordWriter& writer, const cBVText& text)
{
    writer.Version(2);
    WriteGraphic(writer, text);
    writer.U8(text.textFlag);
    writer.Version(0);
    writer.I32(static_cast<std::int32_t>(text.styles.size()));
    for (const cBVText::sTextStyle& style : text.styles)
    {
        writer.Version(4);
        writer.WString(style.face);
        writer.F32(style.size);
        writer.F32(style.width);
        writer.U32(style.colour);
        writer.U32(style.flags);
        writer.I32(style.spacingBefore);
        writer.I32(style.spacingAfter);
        writer.I32(style.baselineShift);
        writer.U32(style.extra);
    }
    writer.I32(static_cast<std::int32_t>(text.runs.size()));
    for (const cBVText::sRun& run : text.runs)
    {
        writer.Version(0);
        writer.I16(run.style);
        writer.U8(run.flag);
        writer.I32(static_cast<std::int32_t>(run.characters.size()));
        for (const cBVText::sCharacter& character : run.characters)
        {
            writer.U16(character.code);
            writer.I16(character.style);
        }
    }
}

void WriteShape(cRecordWriter& writer, const cBVShape& shape)
{
    writer.Version(2);
    WriteGraphic(writer, shape);
    writer.F32(shape.width);
    writer.F32(shape.height);
    writer.U8(shape.shapeFlag);
    writer.Version(1);
    writer.U8(shape.stroke.a);
    writer.I32(shape.stroke.b);
    writer.U8(shape.stroke.c);
    writer.Version(1);
    for (const std::int32_t value : shape.fill.values)
        writer.I32(value);
    writer.Bytes(shape.fill.block, 8);
    writer.I32(shape.fill.tail[0]);
    writer.I32(shape.fill.tail[1]);
}

void WritePath(cRecordWriter& writer, const cBVPath& path)
{
    writer.Version(2);
    WriteShape(writer, path);
    writer.I32(static_cast<std::int32_t>(path.subPaths.size()));
    for (const cBVPath::sSubPath& subPath : path.subPaths)
    {
        writer.U8(subPath.closed);
        writer.I32(static_cast<std::int32_t>(subPath.nodes.size()));
        for (const cBVPath::sNode& node : subPath.nodes)
        {
            for (const float* point : {node.anchor, node.in, node.out})
            {
                writer.F32(point[0]);
                writer.F32(point[1]);
            }
            writer.U8(node.type);
        }
    }
}

void WriteStockShape(cRecordWriter& writer, const cBVStockShape& shape)
{
    writer.Version(3);
    WriteShape(writer, shape);
    writer.I32(shape.shapeType);
    writer.I32(shape.parameters[0]);
    writer.I32(shape.parameters[1]);
    writer.Bytes(shape.block, 8);
    writer.U8(shape.flag);
}

bool WriteGroup(cRecordWriter& writer, const cBVGroup& group);

bool WriteChild(cRecordWriter& writer, const cBVObject& child)
{
    const std::int32_t kind = child.Kind();
    switch (kind)
    {
    case cBVObject::KindGroup:
        writer.I32(kind);
        return WriteGroup(writer, static_cast<const cBVGroup&>(child));
    case cBVObject::KindImage:
        writer.I32(kind);
        WriteImage(writer, static_cast<const cBVImage&>(child));
        return true;
    case cBVObject::KindBackground:
        writer.I32(kind);
        writer.Version(0);
        WriteImage(writer, static_cast<const cBVImage&>(child));
        return true;
    case cBVObject::KindText:
        writer.I32(kind);
        WriteText(writer, static_cast<const cBVText&>(child));
        return true;
    case cBVObject::KindPath:
        writer.I32(kind);
        WritePath(writer, static_cast<const cBVPath&>(child));
        return true;
    case cBVObject::KindStockShape:
        writer.I32(kind);
        WriteStockShape(writer, static_cast<const cBVStockShape&>(child));
        return true;
    default:
        return false;
    }
}

bool WriteGroup(cRecordWriter& writer, const cBVGroup& group)
{
    writer.Version(0);
    WriteObject(writer, group);
    writer.U8(group.Expanded());
    writer.I32(static_cast<std::int32_t>(group.ChildCount()));
    for (std::size_t i = 0; i < group.ChildCount(); ++i)
        if (!WriteChild(writer, group.Child(i)))
            return false;
    return true;
}

void WriteDirectory(cRecordWriter& writer, const PictureFile::cExifInfo::cDirectory& directory)
{
    writer.Version(0);
    writer.I32(static_cast<std::int32_t>(directory.Count()));
    for (const PictureFile::cExifInfo::sEntry& entry : directory.Entries())
    {
        writer.U16(entry.tag);
        writer.U16(entry.type);
        writer.I32(static_cast<std::int32_t>(entry.count));
        const std::uint64_t bytes = std::uint64_t(PictureFile::cExifInfo::TypeSize(entry.type)) * entry.count;
        if (bytes > 4)
        {
            writer.Bytes(entry.value.data(), entry.value.size());
        }
        else
        {
            std::uint8_t inline_[4] = {};
            std::memcpy(inline_, entry.value.data(), std::min<std::size_t>(entry.value.size(), 4));
            writer.Bytes(inline_, 4);
        }
    }
}

void WriteMetadata(cRecordWriter& writer, const PictureFile::cExifInfo& info)
{
    writer.Version(0);
    writer.U8(info.byteOrder);
    WriteDirectory(writer, info.primary);
    WriteDirectory(writer, info.exif);
    writer.I32(static_cast<std::int32_t>(info.makerNote.size()));
    writer.Bytes(info.makerNote.data(), info.makerNote.size());
    WriteDirectory(writer, info.makerNoteDirectory);
    WriteDirectory(writer, info.gps);
    writer.BString(info.comment);
}

// An entry whose value does not hold type size x count bytes cannot be
// stored in a form the reader takes back.
bool DirectoryStorable(const PictureFile::cExifInfo::cDirectory& directory)
{
    for (const PictureFile::cExifInfo::sEntry& entry : directory.Entries())
    {
        const std::uint64_t bytes = std::uint64_t(PictureFile::cExifInfo::TypeSize(entry.type)) * entry.count;
        if (entry.count > 0x7FFFFFFFu || bytes != entry.value.size())
            return false;
    }
    return true;
}

} // namespace

int cBVFile::ReadHeader(const std::uint8_t* data, std::size_t size)
{
    if (size < kHeaderBytes || std::memcmp(data, kMagic, sizeof kMagic) != 0)
    {
        m_error = ErrorNotDocument;
        return -1;
    }
    const std::int32_t version = static_cast<std::int32_t>(std::uint32_t(data[4]) | (std::uint32_t(data[5]) << 8) |
                                                           (std::uint32_t(data[6]) << 16) |
                                                           (std::uint32_t(data[7]) << 24));
    if (version != 0 && version != kFileVersion)
    {
        m_error = ErrorVersion;
        return -1;
    }
    return version;
}

std::unique_ptr<cBVScene> cBVFile::ReadScene(const std::uint8_t* data, std::size_t size)
{
    m_error = ErrorNone;
    const int version = ReadHeader(data, size);
    if (version < 0)
        return nullptr;
    cRecordReader reader(data + kHeaderBytes, size - kHeaderBytes, version == 0, PictureFile::PixelBudget());
    try
    {
        auto scene = std::make_unique<cBVScene>();
        if (ReadSceneRecord(reader, *scene))
        {
            scene->RecomputeGroupBounds();
            return scene;
        }
    }
    catch (const std::bad_alloc&)
    {
    }
    m_error = ErrorDamaged;
    return nullptr;
}

std::unique_ptr<cBVScene> cBVFile::ReadScene(const Container::cWideString& path)
{
    std::vector<std::uint8_t> bytes;
    if (!PictureFile::ReadFileBytes(path, bytes, kMaxFileBytes))
    {
        m_error = ErrorOpen;
        return nullptr;
    }
    return ReadScene(bytes.data(), bytes.size());
}

bool cBVFile::ReadInfo(const std::uint8_t* data, std::size_t size, std::int32_t& width, std::int32_t& height)
{
    m_error = ErrorNone;
    const int version = ReadHeader(data, size);
    if (version < 0)
        return false;
    cRecordReader reader(data + kHeaderBytes, size - kHeaderBytes, version == 0, 0);
    std::int16_t sceneVersion = 0;
    Container::cWideString name;
    std::int32_t w = 0, h = 0;
    if (!reader.Version(sceneVersion, 5) || !reader.WString(name) || !reader.I32(w) || !reader.I32(h) || w < 1 ||
        h < 1 || w > Painter::kMaxPictureSize || h > Painter::kMaxPictureSize)
    {
        m_error = ErrorDamaged;
        return false;
    }
    width = w;
    height = h;
    return true;
}

bool cBVFile::ReadInfo(const Container::cWideString& path, std::int32_t& width, std::int32_t& height)
{
    m_error = ErrorNone;
    Storage::cFile file;
    if (!file.Open(path, "rb"))
    {
        m_error = ErrorOpen;
        return false;
    }
    // The header, the scene's version, the name's count; the name itself is
    // skipped, then the canvas size follows.
    std::uint8_t bytes[kHeaderBytes + 16 + 4 + 8];
    std::size_t length = kHeaderBytes;
    if (file.Read(bytes, 1, kHeaderBytes) != kHeaderBytes || ReadHeader(bytes, kHeaderBytes) < 0)
    {
        if (m_error == ErrorNone)
            m_error = ErrorNotDocument;
        return false;
    }
    const bool oldForm = bytes[4] == 0;
    const std::size_t versionBytes = oldForm ? 16 : 2;
    if (file.Read(bytes + length, 1, versionBytes + 4) != versionBytes + 4)
    {
        m_error = ErrorDamaged;
        return false;
    }
    length += versionBytes + 4;
    const std::uint8_t* countAt = bytes + length - 4;
    const std::uint32_t count = std::uint32_t(countAt[0]) | (std::uint32_t(countAt[1]) << 8) |
                                (std::uint32_t(countAt[2]) << 16) | (std::uint32_t(countAt[3]) << 24);
    if (count > 0x7FFFFFFFu || std::int64_t(count) * 2 + 8 > file.Remaining() ||
        !file.Seek(std::int64_t(count) * 2, SEEK_CUR) || file.Read(bytes + length, 1, 8) != 8)
    {
        m_error = ErrorDamaged;
        return false;
    }
    // The name's count becomes 0 so that the bytes read as a scene record.
    std::memset(bytes + length - 4, 0, 4);
    length += 8;
    return ReadInfo(bytes, length, width, height);
}

bool cBVFile::SerializeScene(const cBVScene& scene, std::vector<std::uint8_t>& bytes)
{
    const PictureFile::cExifInfo* metadata = scene.Metadata();
    if (metadata && !(DirectoryStorable(metadata->primary) && DirectoryStorable(metadata->exif) &&
                      DirectoryStorable(metadata->makerNoteDirectory) && DirectoryStorable(metadata->gps)))
        return false;
    cRecordWriter writer;
    writer.Bytes(kMagic, sizeof kMagic);
    writer.I32(kFileVersion);
    writer.Version(5);
    writer.WString(scene.Name());
    writer.I32(scene.CanvasWidth());
    writer.I32(scene.CanvasHeight());
    writer.I32(scene.Resolution());
    writer.U8(metadata ? 1 : 0);
    if (metadata)
        WriteMetadata(writer, *metadata);
    const cBVScene::sGrid& grid = scene.Grid();
    writer.Version(1);
    writer.I32(grid.width);
    writer.I32(grid.height);
    writer.U8(grid.flags[0]);
    writer.U8(grid.flags[1]);
    for (const std::vector<std::int32_t>* guides : {&grid.horizontalGuides, &grid.verticalGuides})
    {
        writer.I32(static_cast<std::int32_t>(guides->size()));
        for (const std::int32_t guide : *guides)
            writer.I32(guide);
    }
    if (!WriteGroup(writer, scene.Root()))
        return false;
    scene.Styles().WriteRecord(writer);
    if (writer.Failed())
        return false;
    bytes = std::move(writer.Bytes());
    return true;
}

bool cBVFile::WriteScene(const Container::cWideString& path, const cBVScene& scene)
{
    m_error = ErrorNone;
    std::vector<std::uint8_t> bytes;
    if (!SerializeScene(scene, bytes))
    {
        m_error = ErrorWrite;
        return false;
    }
    const bool written = Storage::WriteFileSafely(path, [&](Storage::cFile& file) {
        return file.Write(bytes.data(), 1, bytes.size()) == bytes.size();
    });
    if (!written)
        m_error = ErrorOpen;
    return written;
}

} // namespace Brimvale
