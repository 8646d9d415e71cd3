// An X image saved as a PPM, for the test tools that take screenshots.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>

// The channel of `pixel` that `mask` selects (an XImage's red, green or blue mask), as 0 to 255.
inline unsigned channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    return static_cast<unsigned>(((pixel & mask) >> shift) * 255 / (mask >> shift));
}

// Writes `image` as an 8-bit RGB PPM at `path`; false when the file cannot be written.
inline bool writePpm(XImage* image, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    std::fprintf(file, "P6\n%d %d\n255\n", image->width, image->height);
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const unsigned char rgb[3] = {
                static_cast<unsigned char>(channel(pixel, image->red_mask)),
                static_cast<unsigned char>(channel(pixel, image->green_mask)),
                static_cast<unsigned char>(channel(pixel, image->blue_mask))};
            std::fwrite(rgb, 1, 3, file);
        }
    return std::fclose(file) == 0;
}
