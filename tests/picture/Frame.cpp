// RGB window frames and their PNG form, decoded and encoded through SDL2_image.
#include "Frame.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace picture {

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

} // namespace

Frame::Frame(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {}

std::uint8_t toUnorm8(float value) {
    float v = std::fmin(std::fmax(value, 0.0f), 1.0f);
    return static_cast<std::uint8_t>(std::lround(v * 255.0f));
}

Frame readPng(const std::string& path) {
    SurfacePtr decoded(IMG_Load(path.c_str()));
    if (!decoded) {
        throw std::runtime_error("cannot read " + path + ": " + IMG_GetError());
    }
    SurfacePtr rgb(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_RGB24, 0));
    if (!rgb) {
        throw std::runtime_error("cannot convert " + path + ": " + SDL_GetError());
    }
    Frame frame(rgb->w, rgb->h);
    const auto* base = static_cast<const std::uint8_t*>(rgb->pixels);
    for (int y = 0; y < rgb->h; ++y) {
        const std::uint8_t* row = base + static_cast<std::size_t>(y) * rgb->pitch;
        for (int x = 0; x < rgb->w; ++x) {
            frame.at(x, y) = {row[3 * x], row[3 * x + 1], row[3 * x + 2]};
        }
    }
    return frame;
}

void writePng(const Frame& frame, const std::string& path) {
    SurfacePtr surface(SDL_CreateRGBSurfaceWithFormat(0, frame.width(), frame.height(), 24,
                                                      SDL_PIXELFORMAT_RGB24));
    if (!surface) {
        throw std::runtime_error("cannot make a surface for " + path + ": " + SDL_GetError());
    }
    auto* base = static_cast<std::uint8_t*>(surface->pixels);
    for (int y = 0; y < frame.height(); ++y) {
        std::uint8_t* row = base + static_cast<std::size_t>(y) * surface->pitch;
        for (int x = 0; x < frame.width(); ++x) {
            const Rgb8& p = frame.at(x, y);
            row[3 * x] = p.r;
            row[3 * x + 1] = p.g;
            row[3 * x + 2] = p.b;
        }
    }
    const std::string temporary = path + ".part";
    if (IMG_SavePNG(surface.get(), temporary.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot write " + path + ": " + IMG_GetError());
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot rename " + temporary + " to " + path);
    }
}

} // namespace picture
