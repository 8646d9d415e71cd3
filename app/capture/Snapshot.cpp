// Writes the one frame the demo shows at a demo time as an RGB PNG.
#include "app/capture/Snapshot.h"

#include "app/Demo.h"

#include <GL/glew.h>
#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <stdexcept>
#include <vector>

namespace Capture {

namespace {

// The window's pixels as top-to-bottom RGB rows.
std::vector<unsigned char> readWindow(int width, int height) {
    const size_t row = static_cast<size_t>(width) * 3;
    std::vector<unsigned char> bottomUp(row * static_cast<size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<unsigned char> topDown(bottomUp.size());
    for (int y = 0; y < height; ++y)
        std::memcpy(&topDown[row * static_cast<size_t>(y)],
                    &bottomUp[row * static_cast<size_t>(height - 1 - y)], row);
    return topDown;
}

} // namespace

void writeSnapshot(const Request& request, const std::string& path) {
    Demo demo(DemoOptions{request.width, request.height, false, false});
    demo.setupCapture();
    demo.drawFrame(request.time);
    glFinish();

    std::vector<unsigned char> rgb = readWindow(request.width, request.height);
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        rgb.data(), request.width, request.height, 24, request.width * 3, SDL_PIXELFORMAT_RGB24);
    if (!surface)
        throw std::runtime_error(std::string("cannot make the picture: ") + SDL_GetError());
    const bool saved = IMG_SavePNG(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    if (!saved)
        throw std::runtime_error("cannot write " + path + ": " + IMG_GetError());
}

} // namespace Capture
