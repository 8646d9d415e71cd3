// One colour channel of an X image's pixel, for the test tools that save screenshots.
#pragma once

// The channel of `pixel` that `mask` selects (an XImage's red, green or blue mask), as 0 to 255.
inline unsigned channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    return static_cast<unsigned>(((pixel & mask) >> shift) * 255 / (mask >> shift));
}
