// Writes the model's frame for a demo time and window size to a PNG, for looking at by eye:
// picture-model-frame CONTENT_DIR TIME WIDTHxHEIGHT OUT.png
#include "PictureModel.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s CONTENT_DIR TIME WIDTHxHEIGHT OUT.png\n", argv[0]);
        return 2;
    }
    char* end = nullptr;
    const double time = std::strtod(argv[2], &end);
    int width = 0;
    int height = 0;
    if (*end != '\0' || time < 0.0 || time >= 114.0 ||
        std::sscanf(argv[3], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) {
        std::fprintf(stderr, "%s: bad time or size\n", argv[0]);
        return 2;
    }
    try {
        picture::PictureModel model(argv[1]);
        picture::writePng(model.render(time, width, height), argv[4]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return 0;
}
