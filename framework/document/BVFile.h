#pragma once

// Brimvale::cBVFile: the layered document file. Writing serialises a scene
// record by record (file version 1) and saves it through the safe save;
// reading takes the whole file (file versions 0 and 1, every record
// version up to the current one), checks every count, length and value
// against what remains and what the model accepts, and charges every
// picture to the document's pixel budget.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/core/WideString.h"

namespace Brimvale {

class cBVScene;

class cBVFile
{
public:
    enum : int
    {
        ErrorNone = 0,
        ErrorOpen = 1,         // the file cannot be opened or read
        ErrorNotDocument = 2,  // empty, short header or bad magic
        ErrorVersion = 3,      // a file version this reader does not know
        ErrorDamaged = 4,      // a record that is short, malformed or out of range
        ErrorWrite = 5,        // the file could not be written
    };

    // The file version written.
    static constexpr std::int32_t kFileVersion = 1;
    // The largest file read.
    static constexpr std::uint64_t kMaxFileBytes = std::uint64_t(1) << 31;

    int Error() const { return m_error; }

    // Reads the document at path, with every group's bounds recomputed.
    // Null for a file that is not a document, has no canvas, or breaks any
    // record or limit (Error() tells which).
    std::unique_ptr<cBVScene> ReadScene(const Container::cWideString& path);
    std::unique_ptr<cBVScene> ReadScene(const std::uint8_t* data, std::size_t size);
    // The canvas size from the header and the start of the scene record.
    bool ReadInfo(const Container::cWideString& path, std::int32_t& width, std::int32_t& height);
    bool ReadInfo(const std::uint8_t* data, std::size_t size, std::int32_t& width, std::int32_t& height);

    // Writes the header and the scene record through the safe save: on
    // failure nothing is left at path and a file already there is kept.
    bool WriteScene(const Container::cWideString& path, const cBVScene& scene);
    // The bytes WriteScene writes; false when a layer cannot be stored or
    // memory runs out.
    static bool SerializeScene(const cBVScene& scene, std::vector<std::uint8_t>& bytes);

private:
    // Checks the header; sets the error and answers the file version, or -1.
    int ReadHeader(const std::uint8_t* data, std::size_t size);

    int m_error = ErrorNone;
};

} // namespace Brimvale
