#pragma once

// Brimvale::cBVPath: a vector layer of sub-paths, each a closed flag and
// its nodes (anchor, incoming and outgoing control points, node type).

#include <vector>

#include "framework/document/BVShape.h"

namespace Brimvale {

class cBVPath : public cBVShape
{
public:
    struct sNode
    {
        float anchor[2] = {};
        float in[2] = {};
        float out[2] = {};
        std::uint8_t type = 0;
    };
    struct sSubPath
    {
        std::uint8_t closed = 0;
        std::vector<sNode> nodes;
    };

    cBVPath() = default;
    cBVPath(const cBVPath& other) = default;
    ~cBVPath() override;

    std::int32_t Kind() const override { return KindPath; }
    std::unique_ptr<cBVObject> Clone() const override;

    std::vector<sSubPath> subPaths;
};

} // namespace Brimvale
