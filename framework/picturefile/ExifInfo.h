#pragma once

// Camera metadata carried from a JPEG file that was read to the JPEG file
// that is written: the Exif block (a TIFF structure) and the comment.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "framework/core/ByteString.h"

namespace Painter {
class cPicture;
}

namespace PictureFile {

class cExifInfo
{
public:
    // Directory kinds.
    enum : int
    {
        KindPrimary = 0,
        KindExif = 1,
        KindMakerNote = 2,
        KindGps = 10,
        KindExtra = 11,
    };

    // Tags with a meaning to the layout.
    enum : std::uint16_t
    {
        TagExifPointer = 0x8769,
        TagGpsPointer = 0x8825,
        TagInteropPointer = 0xA005,
        TagMakerNote = 0x927C,
    };

    // TIFF field types.
    enum : std::uint16_t
    {
        TypeByte = 1,
        TypeAscii = 2,
        TypeShort = 3,
        TypeLong = 4,
        TypeRational = 5,
        TypeSByte = 6,
        TypeUndefined = 7,
        TypeSShort = 8,
        TypeSLong = 9,
        TypeSRational = 10,
        TypeFloat = 11,
        TypeDouble = 12,
    };

    // One directory entry. value holds size-of-type x count bytes exactly
    // as they stand in the file, in the byte order of the structure they
    // came from (the directory writes them back in that order).
    struct sEntry
    {
        std::uint16_t tag = 0;
        std::uint16_t type = 0;
        std::uint32_t count = 0;
        std::vector<std::uint8_t> value;
        // For values of more than 4 bytes: where the layout put them,
        // counted from the structure's origin (0 until laid out).
        std::uint32_t offset = 0;

        bool IsInline() const { return value.size() <= 4; }
        bool operator==(const sEntry& other) const
        {
            return tag == other.tag && type == other.type && count == other.count && value == other.value;
        }
    };

    // A kind number and an ordered list of entries with an index by tag.
    class cDirectory
    {
    public:
        explicit cDirectory(int kind = 0) : m_kind(kind) {}

        int Kind() const { return m_kind; }
        bool IsEmpty() const { return m_entries.empty(); }
        std::size_t Count() const { return m_entries.size(); }
        const std::vector<sEntry>& Entries() const { return m_entries; }
        // Values and offsets may be changed in place; call Reindex after
        // changing tags or the list itself.
        std::vector<sEntry>& Entries() { return m_entries; }

        // The entry with tag, or null.
        const sEntry* Find(std::uint16_t tag) const;
        sEntry* Find(std::uint16_t tag);
        // Appends an entry, or replaces the one with the same tag.
        void Set(const sEntry& entry);
        // Appends an entry as it was read; of several entries with the
        // same tag, Find answers the first.
        void Append(sEntry entry);
        bool Remove(std::uint16_t tag);
        void Clear();
        void Reindex();

        // Same entries in the same order (offsets are not compared).
        bool operator==(const cDirectory& other) const
        {
            return m_kind == other.m_kind && m_entries == other.m_entries;
        }

    private:
        int m_kind;
        std::vector<sEntry> m_entries;
        std::map<std::uint16_t, std::size_t> m_index;
    };

    cExifInfo();
    virtual ~cExifInfo();
    cExifInfo(const cExifInfo&) = default;
    cExifInfo& operator=(const cExifInfo&) = default;

    // A deep copy; null when memory runs out.
    virtual cExifInfo* Clone() const;

    // Hands info to picture, replacing the metadata it carries; copies of
    // the picture then carry clones of it. A null info just removes it.
    static void AttachTo(Painter::cPicture& picture, std::unique_ptr<cExifInfo> info);

    // Bytes of one element of a TIFF field type (1 for unknown types).
    static std::uint32_t TypeSize(std::uint16_t type);

    // Reads a TIFF structure (the bytes after "Exif\0\0" of an APP1
    // segment): IFD0, the Exif and GPS directories, the maker note and the
    // directory inside it when it holds one. Every offset and count is
    // checked against size, each directory is read once. False (and this
    // object unchanged) when the header or IFD0 cannot be read.
    bool Parse(const std::uint8_t* data, std::size_t size);

    // Builds the TIFF structure that Parse reads: IFD0 at 8 and its
    // values, the GPS directory at the place of its pointer, then the Exif
    // directory with the maker note and its directory. Pointer entries
    // whose targets are not written here (interoperability, sub-IFDs,
    // strips, thumbnail) are left out. False when the result would not
    // fit an APP1 segment (65 525 bytes) or memory runs out.
    bool Serialize(std::vector<std::uint8_t>& out) const;

    // Assigns (verify false) or checks (verify true) the offsets of every
    // out-of-line value and sub-directory for the layout Serialize writes.
    // With verify, true when every stored offset matches.
    bool Layout(bool verify);

    // True when there is nothing to write as Exif (no IFD0 entries).
    bool HasExif() const { return !primary.IsEmpty(); }

    // 0 = little-endian ("II"), otherwise big-endian ("MM").
    std::uint8_t byteOrder = 0;
    cDirectory primary{KindPrimary};
    cDirectory exif{KindExif};
    // The maker note. When a directory was found inside it, these are the
    // bytes before that directory (for example the "FUJIFILM" mark) and
    // makerNoteDirectory holds the entries; otherwise the raw value.
    std::vector<std::uint8_t> makerNote;
    cDirectory makerNoteDirectory{KindMakerNote};
    cDirectory gps{KindGps};
    // Kept in memory only; never written.
    cDirectory extra{KindExtra};
    Container::cByteString comment;
};

} // namespace PictureFile
