#include "framework/picturefile/ExifInfo.h"

#include <cstring>
#include <new>
#include <set>

#include "framework/painter/Picture.h"

namespace PictureFile {

namespace {

// The TIFF structure must fit one APP1 segment: 65 535 bytes of segment
// minus the length field and "Exif\0\0".
constexpr std::uint64_t MaxStructureSize = 65535 - 8;

const char FujiMark[8] = {'F', 'U', 'J', 'I', 'F', 'I', 'L', 'M'};

std::uint16_t Read16(const std::uint8_t* p, bool little)
{
    return little ? std::uint16_t(p[0] | (p[1] << 8)) : std::uint16_t((p[0] << 8) | p[1]);
}

std::uint32_t Read32(const std::uint8_t* p, bool little)
{
    if (little)
        return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]);
}

void Write16(std::uint8_t* p, std::uint16_t v, bool little)
{
    if (little) { p[0] = std::uint8_t(v); p[1] = std::uint8_t(v >> 8); }
    else { p[0] = std::uint8_t(v >> 8); p[1] = std::uint8_t(v); }
}

void Write32(std::uint8_t* p, std::uint32_t v, bool little)
{
    if (little)
    {
        p[0] = std::uint8_t(v); p[1] = std::uint8_t(v >> 8); p[2] = std::uint8_t(v >> 16); p[3] = std::uint8_t(v >> 24);
    }
    else
    {
        p[0] = std::uint8_t(v >> 24); p[1] = std::uint8_t(v >> 16); p[2] = std::uint8_t(v >> 8); p[3] = std::uint8_t(v);
    }
}

// Tags whose values point at data this layout does not write (strips,
// tiles, thumbnails, sub-IFDs, the interoperability directory), and the
// byte counts that belong to them. They are never written.
bool IsDroppedTag(std::uint16_t tag)
{
    switch (tag)
    {
    case 0x0111: case 0x0117:    // strip offsets and counts
    case 0x0144: case 0x0145:    // tile offsets and counts
    case 0x014A:                 // sub-IFDs
    case 0x0201: case 0x0202:    // thumbnail offset and length
    case cExifInfo::TagInteropPointer:
        return true;
    default:
        return false;
    }
}

bool IsWritten(int kind, std::uint16_t tag)
{
    if (IsDroppedTag(tag))
        return false;
    if (tag == cExifInfo::TagExifPointer || tag == cExifInfo::TagGpsPointer)
        return kind == cExifInfo::KindPrimary;
    return true;
}

std::uint64_t DirectorySize(const cExifInfo::cDirectory& directory)
{
    std::uint64_t count = 0;
    for (const auto& entry : directory.Entries())
        if (IsWritten(directory.Kind(), entry.tag))
            ++count;
    return 2 + 12 * count + 4;
}

std::uint64_t Even(std::uint64_t value) { return (value + 1) & ~std::uint64_t(1); }

// Reads one directory at offset of data (offsets inside it counted from
// origin) into directory. Entries whose values lie outside data are left
// out. Each kept out-of-line entry notes where its value stood
// (absolute in data) in its offset field.
bool ReadDirectory(const std::uint8_t* data, std::uint64_t size, std::uint64_t origin, std::uint64_t offset,
                   bool little, cExifInfo::cDirectory& directory, std::set<std::uint64_t>& visited)
{
    if (offset + 2 > size || !visited.insert(offset).second)
        return false;
    const std::uint64_t count = Read16(data + offset, little);
    if (offset + 2 + 12 * count > size)
        return false;
    for (std::uint64_t i = 0; i < count; ++i)
    {
        const std::uint8_t* field = data + offset + 2 + 12 * i;
        cExifInfo::sEntry entry;
        entry.tag = Read16(field, little);
        entry.type = Read16(field + 2, little);
        entry.count = Read32(field + 4, little);
        const std::uint64_t bytes = std::uint64_t(cExifInfo::TypeSize(entry.type)) * entry.count;
        if (bytes <= 4)
        {
            entry.value.assign(field + 8, field + 8 + bytes);
            entry.offset = 0;
        }
        else
        {
            const std::uint64_t at = origin + Read32(field + 8, little);
            if (at > size || bytes > size - at)
                continue;
            entry.value.assign(data + at, data + at + bytes);
            entry.offset = std::uint32_t(at);
        }
        directory.Append(std::move(entry));
    }
    return true;
}

// The value of a pointer entry (LONG or IFD type, count 1), or false.
bool PointerOf(const cExifInfo::cDirectory& directory, std::uint16_t tag, bool little, std::uint64_t& offset)
{
    const cExifInfo::sEntry* entry = directory.Find(tag);
    if (!entry || entry->count != 1 || entry->value.size() != 4 || (entry->type != cExifInfo::TypeLong && entry->type != 13))
        return false;
    offset = Read32(entry->value.data(), little);
    return true;
}

bool PlausibleDirectory(const cExifInfo::cDirectory& directory)
{
    if (directory.IsEmpty())
        return false;
    for (const auto& entry : directory.Entries())
        if (entry.type < cExifInfo::TypeByte || entry.type > cExifInfo::TypeDouble)
            return false;
    return true;
}

// Where Serialize puts everything; all positions absolute in the TIFF
// structure.
struct sLayout
{
    std::map<const cExifInfo::sEntry*, std::uint64_t> values;
    std::uint64_t gpsStart = 0;
    std::uint64_t exifStart = 0;
    bool hasExif = false;
    bool hasGps = false;
    const cExifInfo::sEntry* makerEntry = nullptr;
    std::uint64_t makerStart = 0;
    std::uint64_t makerSize = 0;
    bool makerDirectory = false;
    bool fuji = false;
    std::uint64_t makerDirectoryStart = 0;
    std::uint64_t total = 0;
};

void PlaceValues(const cExifInfo::cDirectory& directory, std::uint64_t& position, sLayout& layout,
                 const cExifInfo& info);

void PlaceMakerNote(const cExifInfo& info, const cExifInfo::sEntry& entry, std::uint64_t& position, sLayout& layout)
{
    layout.makerEntry = &entry;
    layout.makerStart = position;
    if (!info.makerNoteDirectory.IsEmpty())
    {
        layout.makerDirectory = true;
        layout.fuji = info.makerNote.size() >= 8 && std::memcmp(info.makerNote.data(), FujiMark, 8) == 0;
        position += info.makerNote.size();
        if (layout.fuji)
            position += 4;
        position = Even(position);
        layout.makerDirectoryStart = position;
        position += DirectorySize(info.makerNoteDirectory);
        PlaceValues(info.makerNoteDirectory, position, layout, info);
    }
    else
    {
        position += info.makerNote.empty() ? entry.value.size() : info.makerNote.size();
    }
    layout.makerSize = position - layout.makerStart;
    position = Even(position);
}

void PlaceValues(const cExifInfo::cDirectory& directory, std::uint64_t& position, sLayout& layout,
                 const cExifInfo& info)
{
    for (const auto& entry : directory.Entries())
    {
        if (!IsWritten(directory.Kind(), entry.tag))
            continue;
        if (directory.Kind() == cExifInfo::KindPrimary && entry.tag == cExifInfo::TagGpsPointer)
        {
            layout.hasGps = true;
            layout.gpsStart = position;
            position += DirectorySize(info.gps);
            PlaceValues(info.gps, position, layout, info);
        }
        else if (directory.Kind() == cExifInfo::KindPrimary && entry.tag == cExifInfo::TagExifPointer)
        {
            layout.hasExif = true;
        }
        else if (directory.Kind() == cExifInfo::KindExif && entry.tag == cExifInfo::TagMakerNote && !layout.makerEntry)
        {
            PlaceMakerNote(info, entry, position, layout);
        }
        else if (!entry.IsInline())
        {
            layout.values[&entry] = position;
            position = Even(position + entry.value.size());
        }
    }
}

bool MakeLayout(const cExifInfo& info, sLayout& layout)
{
    std::uint64_t position = 8 + DirectorySize(info.primary);
    PlaceValues(info.primary, position, layout, info);
    if (layout.hasExif)
    {
        layout.exifStart = position;
        position += DirectorySize(info.exif);
        PlaceValues(info.exif, position, layout, info);
    }
    layout.total = position;
    return position <= MaxStructureSize;
}

void WriteDirectory(std::uint8_t* out, const cExifInfo& info, const cExifInfo::cDirectory& directory,
                    std::uint64_t start, const sLayout& layout, bool little, std::uint64_t origin)
{
    std::uint8_t* p = out + start + 2;
    std::uint16_t count = 0;
    for (const auto& entry : directory.Entries())
    {
        if (!IsWritten(directory.Kind(), entry.tag))
            continue;
        ++count;
        Write16(p, entry.tag, little);
        const bool primary = directory.Kind() == cExifInfo::KindPrimary;
        if (primary && (entry.tag == cExifInfo::TagExifPointer || entry.tag == cExifInfo::TagGpsPointer))
        {
            Write16(p + 2, cExifInfo::TypeLong, little);
            Write32(p + 4, 1, little);
            Write32(p + 8, std::uint32_t(entry.tag == cExifInfo::TagExifPointer ? layout.exifStart : layout.gpsStart),
                    little);
        }
        else if (&entry == layout.makerEntry)
        {
            Write16(p + 2, entry.type, little);
            Write32(p + 4, std::uint32_t(layout.makerSize), little);
            Write32(p + 8, std::uint32_t(layout.makerStart - origin), little);
            // The maker note's own bytes, then its directory.
            std::uint8_t* maker = out + layout.makerStart;
            if (layout.makerDirectory)
            {
                if (!info.makerNote.empty())
                    std::memcpy(maker, info.makerNote.data(), info.makerNote.size());
                if (layout.fuji)
                    Write32(maker + info.makerNote.size(), std::uint32_t(layout.makerDirectoryStart - layout.makerStart),
                            true);
                WriteDirectory(out, info, info.makerNoteDirectory, layout.makerDirectoryStart, layout,
                               layout.fuji ? true : little, layout.fuji ? layout.makerStart : 0);
            }
            else
            {
                const auto& bytes = info.makerNote.empty() ? entry.value : info.makerNote;
                if (!bytes.empty())
                    std::memcpy(maker, bytes.data(), bytes.size());
            }
        }
        else
        {
            Write16(p + 2, entry.type, little);
            Write32(p + 4, entry.count, little);
            if (entry.IsInline())
            {
                if (!entry.value.empty())
                    std::memcpy(p + 8, entry.value.data(), entry.value.size());
            }
            else
            {
                const std::uint64_t at = layout.values.at(&entry);
                Write32(p + 8, std::uint32_t(at - origin), little);
                std::memcpy(out + at, entry.value.data(), entry.value.size());
            }
        }
        p += 12;
    }
    Write16(out + start, count, little);
    // The next-directory link (p) stays 0.
}

} // namespace

// ---- cDirectory ----------------------------------------------------------

const cExifInfo::sEntry* cExifInfo::cDirectory::Find(std::uint16_t tag) const
{
    const auto found = m_index.find(tag);
    return found == m_index.end() ? nullptr : &m_entries[found->second];
}

cExifInfo::sEntry* cExifInfo::cDirectory::Find(std::uint16_t tag)
{
    const auto found = m_index.find(tag);
    return found == m_index.end() ? nullptr : &m_entries[found->second];
}

void cExifInfo::cDirectory::Set(const sEntry& entry)
{
    Reindex();
    if (sEntry* existing = Find(entry.tag))
    {
        *existing = entry;
        return;
    }
    m_entries.push_back(entry);
    m_index[entry.tag] = m_entries.size() - 1;
}

void cExifInfo::cDirectory::Append(sEntry entry)
{
    m_entries.push_back(std::move(entry));
    m_index.emplace(m_entries.back().tag, m_entries.size() - 1);
}

bool cExifInfo::cDirectory::Remove(std::uint16_t tag)
{
    Reindex();
    const auto found = m_index.find(tag);
    if (found == m_index.end())
        return false;
    m_entries.erase(m_entries.begin() + std::ptrdiff_t(found->second));
    Reindex();
    return true;
}

void cExifInfo::cDirectory::Clear()
{
    m_entries.clear();
    m_index.clear();
}

void cExifInfo::cDirectory::Reindex()
{
    // The first entry of a tag wins, as readers of the file would see it.
    m_index.clear();
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_index.emplace(m_entries[i].tag, i);
}

// ---- cExifInfo -----------------------------------------------------------

cExifInfo::cExifInfo() = default;
cExifInfo::~cExifInfo() = default;

cExifInfo* cExifInfo::Clone() const
{
    try
    {
        return new cExifInfo(*this);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

void cExifInfo::AttachTo(Painter::cPicture& picture, std::unique_ptr<cExifInfo> info)
{
    if (!info)
    {
        picture.SetExif(Painter::cPictureMetadata());
        return;
    }
    picture.SetExif(Painter::cPictureMetadata(
        info.release(), [](cExifInfo* exif) { delete exif; },
        [](const cExifInfo* exif) -> cExifInfo* { return exif->Clone(); }));
}

std::uint32_t cExifInfo::TypeSize(std::uint16_t type)
{
    switch (type)
    {
    case TypeShort: case TypeSShort: return 2;
    case TypeLong: case TypeSLong: case TypeFloat: return 4;
    case TypeRational: case TypeSRational: case TypeDouble: return 8;
    default: return 1;
    }
}

bool cExifInfo::Parse(const std::uint8_t* data, std::size_t size)
{
    if (!data || size < 8)
        return false;
    bool little;
    if (data[0] == 'I' && data[1] == 'I')
        little = true;
    else if (data[0] == 'M' && data[1] == 'M')
        little = false;
    else
        return false;
    if (Read16(data + 2, little) != 42)
        return false;

    try
    {
        cExifInfo result;
        result.comment = comment;
        result.byteOrder = little ? 0 : 1;
        std::set<std::uint64_t> visited;
        if (!ReadDirectory(data, size, 0, Read32(data + 4, little), little, result.primary, visited))
            return false;

        // Pointer entries note where their directory stood, like values.
        for (auto& entry : result.primary.Entries())
            if ((entry.tag == TagExifPointer || entry.tag == TagGpsPointer) && entry.value.size() == 4)
                entry.offset = Read32(entry.value.data(), little);

        std::uint64_t offset = 0;
        if (PointerOf(result.primary, TagGpsPointer, little, offset))
            ReadDirectory(data, size, 0, offset, little, result.gps, visited);
        if (PointerOf(result.primary, TagExifPointer, little, offset)
            && ReadDirectory(data, size, 0, offset, little, result.exif, visited))
        {
            if (PointerOf(result.exif, TagInteropPointer, little, offset))
                ReadDirectory(data, size, 0, offset, little, result.extra, visited);

            if (const sEntry* maker = result.exif.Find(TagMakerNote))
            {
                const std::vector<std::uint8_t>& raw = maker->value;
                result.makerNote = raw;
                if (raw.size() >= 14 && std::memcmp(raw.data(), FujiMark, 8) == 0)
                {
                    // Little-endian directory, offsets counted from the
                    // start of the maker note.
                    std::set<std::uint64_t> makerVisited;
                    cDirectory directory(KindMakerNote);
                    const std::uint64_t at = Read32(raw.data() + 8, true);
                    if (at >= 12 && ReadDirectory(raw.data(), raw.size(), 0, at, true, directory, makerVisited)
                        && PlausibleDirectory(directory))
                    {
                        result.makerNoteDirectory = std::move(directory);
                        result.makerNote.assign(raw.begin(), raw.begin() + 8);
                    }
                }
                else if (raw.size() >= 18 && maker->offset != 0)
                {
                    // A directory right at the start of the maker note,
                    // offsets counted like the rest of the structure.
                    cDirectory directory(KindMakerNote);
                    const std::uint64_t count = Read16(raw.data(), little);
                    if (count >= 1 && 2 + 12 * count + 4 <= raw.size()
                        && ReadDirectory(data, size, 0, maker->offset, little, directory, visited)
                        && PlausibleDirectory(directory))
                    {
                        result.makerNoteDirectory = std::move(directory);
                        result.makerNote.clear();
                    }
                }
            }
        }
        *this = std::move(result);
        return true;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}

bool cExifInfo::Serialize(std::vector<std::uint8_t>& out) const
{
    try
    {
        sLayout layout;
        if (!MakeLayout(*this, layout))
            return false;
        const bool little = byteOrder == 0;
        std::vector<std::uint8_t> bytes(layout.total, 0);
        bytes[0] = bytes[1] = little ? 'I' : 'M';
        Write16(bytes.data() + 2, 42, little);
        Write32(bytes.data() + 4, 8, little);
        WriteDirectory(bytes.data(), *this, primary, 8, layout, little, 0);
        if (layout.hasGps)
            WriteDirectory(bytes.data(), *this, gps, layout.gpsStart, layout, little, 0);
        if (layout.hasExif)
            WriteDirectory(bytes.data(), *this, exif, layout.exifStart, layout, little, 0);
        out = std::move(bytes);
        return true;
    }
    catch (const std::exception&)
    {
        return false;
    }
}

bool cExifInfo::Layout(bool verify)
{
    try
    {
        sLayout layout;
        if (!MakeLayout(*this, layout))
            return false;
        bool matches = true;
        auto visit = [&](cDirectory& directory, std::uint64_t origin) {
            for (auto& entry : directory.Entries())
            {
                std::uint64_t at = 0;
                if (&entry == layout.makerEntry)
                    at = layout.makerStart;
                else if (directory.Kind() == KindPrimary && entry.tag == TagExifPointer && layout.hasExif)
                    at = layout.exifStart;
                else if (directory.Kind() == KindPrimary && entry.tag == TagGpsPointer && layout.hasGps)
                    at = layout.gpsStart;
                else if (const auto found = layout.values.find(&entry); found != layout.values.end())
                    at = found->second;
                else
                    continue;
                const std::uint32_t offset = std::uint32_t(at - origin);
                if (verify)
                    matches = matches && entry.offset == offset;
                else
                    entry.offset = offset;
            }
        };
        visit(primary, 0);
        visit(gps, 0);
        visit(exif, 0);
        visit(makerNoteDirectory, layout.fuji ? layout.makerStart : 0);
        return matches;
    }
    catch (const std::exception&)
    {
        return false;
    }
}

} // namespace PictureFile
