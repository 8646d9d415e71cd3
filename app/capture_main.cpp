// Renders the frame the demo shows at a given demo time on a window of a given size, offscreen,
// and writes the whole window (bands included) as an RGB PNG.
//
//   one-quill-wisp-capture --time 12.7 --size 640x360 --out frame.png
//
// Exit status: 0 written, 1 the window, context, shaders or content failed, 2 bad arguments.
#include "app/Demo.h"

#include <GL/glew.h>
#include <SDL.h>
#include <SDL_image.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kUsage = 2;
constexpr int kFailure = 1;

struct Arguments {
    double time = -1;
    int width = 0, height = 0;
    std::string out;
};

int complain(int status, const std::string& message) {
    std::fprintf(stderr, "one-quill-wisp-capture: %s\n", message.c_str());
    return status;
}

bool parseTime(const char* text, double& time) {
    char* end = nullptr;
    time = std::strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(time) && time >= 0;
}

bool parseSize(const char* text, int& width, int& height) {
    char separator = 0;
    char rest = 0;
    return std::sscanf(text, "%d%c%d%c", &width, &separator, &height, &rest) == 3 &&
           separator == 'x' && width > 0 && height > 0;
}

// Returns an empty string when the arguments are good, else what is wrong with them.
std::string parse(int argc, char** argv, Arguments& args) {
    bool haveTime = false, haveSize = false;
    for (int i = 1; i < argc; i += 2) {
        const std::string flag = argv[i];
        if (i + 1 >= argc)
            return "missing value after " + flag;
        const char* value = argv[i + 1];
        if (flag == "--time") {
            if (!parseTime(value, args.time))
                return std::string("--time needs a non-negative number of seconds, not '") + value +
                       "'";
            haveTime = true;
        } else if (flag == "--size") {
            if (!parseSize(value, args.width, args.height))
                return std::string("--size needs WIDTHxHEIGHT in pixels above 0, not '") + value +
                       "'";
            haveSize = true;
        } else if (flag == "--out") {
            args.out = value;
        } else {
            return "unknown argument '" + flag + "'";
        }
    }
    if (!haveTime || !haveSize || args.out.empty())
        return "usage: one-quill-wisp-capture --time SECONDS --size WIDTHxHEIGHT --out FILE.png";
    return "";
}

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

// Writes through a temporary file in the same folder, so no partial PNG is ever left behind.
bool writePng(const std::string& path, std::vector<unsigned char>& rgb, int width, int height,
              std::string& reason) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(rgb.data(), width, height, 24,
                                                              width * 3, SDL_PIXELFORMAT_RGB24);
    if (!surface) {
        reason = SDL_GetError();
        return false;
    }
    const std::string temporary = path + ".partial";
    const bool saved = IMG_SavePNG(surface, temporary.c_str()) == 0;
    SDL_FreeSurface(surface);
    if (!saved || std::rename(temporary.c_str(), path.c_str()) != 0) {
        reason = saved ? "cannot rename the finished file" : IMG_GetError();
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

struct Size {
    int width, height;
};

// The largest viewport this GL draws, read from a small probe window before the real one is made,
// so that an oversized request is refused as a bad argument rather than failing half-way.
Size viewportLimit() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        throw std::runtime_error(std::string("cannot initialise SDL: ") + SDL_GetError());
    Window probe(16, 16, false); // shuts SDL down again when it goes
    GLint dims[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    return Size{dims[0], dims[1]};
}

// Checks that `path` can be created, before any rendering is done.
bool writable(const std::string& path) {
    const std::string temporary = path + ".partial";
    std::FILE* probe = std::fopen(temporary.c_str(), "wb");
    if (!probe)
        return false;
    std::fclose(probe);
    std::remove(temporary.c_str());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Arguments args;
    const std::string problem = parse(argc, argv, args);
    if (!problem.empty())
        return complain(kUsage, problem);
    if (!writable(args.out))
        return complain(kUsage, "cannot write " + args.out);

    // No X server needed: SDL's offscreen driver gives a GL context through EGL.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);

    try {
        const Size limit = viewportLimit();
        if (args.width > limit.width || args.height > limit.height)
            return complain(kUsage,
                            "--size " + std::to_string(args.width) + "x" +
                                std::to_string(args.height) + " is beyond this GL's limit of " +
                                std::to_string(limit.width) + "x" + std::to_string(limit.height));

        Demo demo(DemoOptions{args.width, args.height, false, false});
        // Bands the demo never writes read black, as on a fresh window.
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);

        demo.setupTitle();
        demo.drawFrame(args.time);
        glFinish();

        std::vector<unsigned char> rgb = readWindow(args.width, args.height);
        std::string reason;
        if (!writePng(args.out, rgb, args.width, args.height, reason))
            return complain(kFailure, "cannot write " + args.out + ": " + reason);
    } catch (const std::exception& error) {
        return complain(kFailure, error.what());
    }
    return 0;
}
