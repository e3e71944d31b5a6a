#pragma once

// Brimvale::cBVText: a text layer: a table of text styles and runs of
// characters, each character naming its style. This program reads and
// writes text layers unchanged and never creates them; they draw nothing.

#include <vector>

#include "framework/document/BVGraphic.h"

namespace Brimvale {

class cBVText : public cBVGraphic
{
public:
    // One text style as documents store it.
    struct sTextStyle
    {
        Container::cWideString face;
        float size = 0;
        float width = 0;
        std::uint32_t colour = 0;
        std::uint32_t flags = 0;
        std::int32_t spacingBefore = 0;
        std::int32_t spacingAfter = 0;
        std::int32_t baselineShift = 0;
        std::uint32_t extra = 0;
    };
    struct sCharacter
    {
        std::uint16_t code = 0;
        std::int16_t style = 0;
    };
    struct sRun
    {
        std::int16_t style = 0;
        std::uint8_t flag = 0;
        std::vector<sCharacter> characters;
    };

    cBVText() = default;
    cBVText(const cBVText& other) = default;
    ~cBVText() override;

    std::int32_t Kind() const override { return KindText; }
    std::unique_ptr<cBVObject> Clone() const override;

    std::uint8_t textFlag = 0;
    std::vector<sTextStyle> styles;
    std::vector<sRun> runs;
};

} // namespace Brimvale
