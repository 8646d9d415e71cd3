// An RGBA image on an SDL surface, and the decoding of an image held in memory.
#include "gl/SDLImage.h"

#include <SDL.h>
#include <SDL_image.h>

#include <stdexcept>
#include <string>

namespace {
// SDL2_image is initialised once for the whole process, before the entry function runs.
const int imageLibraryFlags = IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);

SDL_Rect truncated(const DMGL::BlitRect& rect) {
    return SDL_Rect{static_cast<int>(rect.x), static_cast<int>(rect.y), static_cast<int>(rect.w),
                    static_cast<int>(rect.h)};
}
} // namespace

SDLImage::SDLImage(std::int32_t width, std::int32_t height, std::int32_t bytesPerPixel)
    : surface(SDL_CreateRGBSurface(0, width, height, bytesPerPixel * 8, 0x000000FF, 0x0000FF00,
                                   0x00FF0000, 0xFF000000)) {
    (void)imageLibraryFlags;
    if (!surface)
        throw std::runtime_error("cannot create a " + std::to_string(width) + "x" +
                                 std::to_string(height) + " image: " + SDL_GetError());
    SDL_FillRect(surface, &surface->clip_rect, 0);
}

SDLImage::~SDLImage() {
    SDL_FreeSurface(surface);
}

void SDLImage::blit(std::shared_ptr<DMGL::Image> source, const DMGL::BlitRect& sourceRect,
                    const DMGL::BlitRect& destRect) {
    auto* sdlSource = dynamic_cast<SDLImage*>(source.get());
    if (!sdlSource)
        throw std::logic_error("SDLImage can only blit from another SDLImage");
    SDL_Rect from = truncated(sourceRect);
    SDL_Rect to = truncated(destRect);
    SDL_UpperBlit(sdlSource->surface, &from, surface, &to);
}

std::int32_t SDLImage::bytesPerPixel() const {
    return surface->format->BytesPerPixel;
}

std::uint8_t* SDLImage::pixels() const {
    return static_cast<std::uint8_t*>(surface->pixels);
}

std::int32_t SDLImage::width() const {
    return surface->w;
}

std::int32_t SDLImage::height() const {
    return surface->h;
}

namespace DMGL {

std::shared_ptr<Image> loadImage(const std::uint8_t* bytes, std::uint32_t size) {
    SDL_RWops* stream = SDL_RWFromConstMem(bytes, static_cast<int>(size));
    SDL_Surface* surface = stream ? IMG_Load_RW(stream, 1) : nullptr;
    if (!surface)
        throw std::runtime_error(std::string("cannot decode image: ") + IMG_GetError());
    return std::make_shared<SDLImage>(surface);
}

} // namespace DMGL
