#pragma once

// Pixel helpers the layer styles share: rectangle growth in saturating
// arithmetic, the behind rule, the inner-effect colour mix, compositing a
// layer under the input's alpha, and the work
// estimate of a blurred pass.

#include <cstdint>

#include "framework/core/Geometry.h"

namespace Painter {
class cChannel;
class cPicture;
} // namespace Painter

namespace Style {

// rect grown by the four amounts (negative amounts shrink it), each side
// kept within +-2^30 so that later growth cannot overflow.
Container::sRect GrowRect(const Container::sRect& rect, std::int64_t left, std::int64_t top, std::int64_t right,
                          std::int64_t bottom);
// The smallest rectangle holding both (an empty one takes no part).
Container::sRect UniteRect(const Container::sRect& a, const Container::sRect& b);

// Composites colour behind the pixel with coverage: the effect shows only
// where the pixel is not already opaque.
std::uint32_t CompositeBehind(std::uint32_t pixel, std::uint32_t colour, std::uint32_t coverage);
// Each colour channel of pixel c mixed with the effect colour by strength:
// ((255 - strength * ca / 255) * c + ca * colour * strength / 255) / 255,
// alpha 255.
std::uint32_t MixInner(std::uint32_t pixel, std::uint32_t colour, std::uint32_t strength);

// Sets every alpha byte of picture to the one of the same pixel of source.
void CopyAlpha(Painter::cPicture& picture, const Painter::cPicture& source);
// Composites layer over picture at (0, 0) in blending mode at opacity, then
// gives picture the alpha of alphaSource (CopyAlpha).
void CompositeKeepingAlpha(Painter::cPicture& picture, const Painter::cPicture& layer, std::int32_t mode,
                           std::int32_t opacity, const Painter::cPicture& alphaSource);

// Pixel operations of a pass over area pixels blurred by radius (and
// spread or choked by another radius), saturating.
std::uint64_t PassWork(const Container::sRect& area, std::int64_t blur, std::int64_t spread);

} // namespace Style
