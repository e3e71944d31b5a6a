// Layered documents (both file versions, every record kind) through the
// in-memory reader and the renderer, with the product's limits. A document
// that reads must also survive writing: what is written reads back and
// writes again to the same bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/document/BVFile.h"
#include "framework/document/BVScene.h"
#include "framework/document/TBVFile.h"
#include "framework/painter/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Brimvale::cBVFile file;
    std::unique_ptr<Brimvale::cBVScene> scene = file.ReadScene(data, size);
    if (!scene)
        return 0;
    std::vector<std::uint8_t> first;
    if (Brimvale::cBVFile::SerializeScene(*scene, first))
    {
        std::unique_ptr<Brimvale::cBVScene> again = file.ReadScene(first.data(), first.size());
        if (!again)
            __builtin_trap();
        std::vector<std::uint8_t> second;
        if (!Brimvale::cBVFile::SerializeScene(*again, second) || second != first)
            __builtin_trap();
    }
    Painter::cPicture picture;
    Brimvale::cTBVFile::Flatten(*scene, picture, size);
    return 0;
}
