// Writes an RGBA image as a PNG file with a fixed, reproducible chunk layout.
#pragma once

#include "RgbaImage.h"

#include <string>

namespace atlasgen {

// The file is non-interlaced 8-bit RGBA with the chunks IHDR; sBIT 8, 8, 8, 8; pHYs 2835 pixels
// per metre both ways; IDAT chunks of 8192 bytes each but the last; IEND. No time or text chunk,
// and fixed compression settings, so the same image always gives the same bytes. The file is
// written beside its final name and renamed into place; throws std::runtime_error on failure,
// leaving no partial file.
void writePng(const RgbaImage& image, const std::string& path);

} // namespace atlasgen
