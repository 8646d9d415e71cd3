// An RGBA image on an SDL surface, and the decoding of an image held in memory.
#pragma once

#include "gl/Image.h"

#include <cstdint>
#include <memory>

struct SDL_Surface;

class SDLImage : public DMGL::Image {
public:
    // A blank image cleared to transparent black, with bytes R, G, B, A in memory order on a
    // little-endian machine. Throws std::runtime_error if SDL cannot make the surface.
    SDLImage(std::int32_t width, std::int32_t height, std::int32_t bytesPerPixel);
    // Takes ownership of a surface.
    explicit SDLImage(SDL_Surface* surface) : surface(surface) {}
    ~SDLImage() override;
    SDLImage(const SDLImage&) = delete;
    SDLImage& operator=(const SDLImage&) = delete;

    // `source` must be an SDLImage. Uses SDL's default blending: a source with alpha is blended
    // onto this image, so copying onto transparent black premultiplies its colours.
    void blit(std::shared_ptr<DMGL::Image> source, const DMGL::BlitRect& sourceRect,
              const DMGL::BlitRect& destRect) override;
    std::int32_t bytesPerPixel() const override;
    std::uint8_t* pixels() const override;
    std::int32_t width() const override;
    std::int32_t height() const override;

private:
    SDL_Surface* surface;
};

namespace DMGL {
// Decodes a PNG (or JPEG) held in memory, keeping the decoder's pixel format.
// Throws std::runtime_error with SDL2_image's reason if it cannot be decoded.
std::shared_ptr<Image> loadImage(const std::uint8_t* bytes, std::uint32_t size);
} // namespace DMGL
