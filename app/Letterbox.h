// The full-width 16:9 drawing area inside a window, in GL window coordinates (y from the bottom).
#pragma once

struct Letterbox {
    int y;      // bottom edge; negative when the window is wider than 16:9 and the area overflows
    int width;  // always the window's width
    int height; // trunc(width * 9 / 16)
};

inline Letterbox letterboxFor(int windowWidth, int windowHeight) {
    const int height = static_cast<int>(windowWidth * 0.5625);
    return Letterbox{(windowHeight - height) / 2, windowWidth, height};
}
