// The abstract RGBA image that the atlas tiler and the texture upload work on.
#pragma once

#include <cstdint>
#include <memory>

namespace DMGL {

// A rectangle in pixels; each value is truncated toward zero where it is used.
struct BlitRect {
    double x, y, w, h;
};

// Always held through shared handles.
class Image {
public:
    virtual ~Image() = default;
    // Copies `sourceRect` of `source` to `destRect` of this image.
    virtual void blit(std::shared_ptr<Image> source, const BlitRect& sourceRect,
                      const BlitRect& destRect) = 0;
    virtual std::int32_t bytesPerPixel() const = 0;
    // The first byte of the top row; rows follow top to bottom, 4 x width bytes apart for the
    // 32-bit images used here.
    virtual std::uint8_t* pixels() const = 0;
    virtual std::int32_t width() const = 0;
    virtual std::int32_t height() const = 0;
};

} // namespace DMGL
