// The application icon: the fox standing over the title's star, at any square size.
#pragma once

#include "RgbaImage.h"

#include <array>

namespace atlasgen {

// The hicolor theme sizes the icon is made in, in pixels.
constexpr std::array<int, 8> iconSizes = {16, 24, 32, 48, 64, 128, 256, 512};

// A size x size straight-alpha image, transparent outside the star. The same size always gives
// the same pixels.
RgbaImage paintIcon(int size);

} // namespace atlasgen
