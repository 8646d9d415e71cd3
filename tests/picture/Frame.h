// An RGB picture of a whole window, 8 bits a channel, top row first, as a capture stores it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace picture {

struct Rgb8 {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

class Frame {
public:
    Frame() = default;
    // A frame of the given size in pixels, every pixel black.
    Frame(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    // Column x from the left, row y from the top.
    Rgb8& at(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    const Rgb8& at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgb8> pixels_;
};

// Converts a colour channel in 0..1 (saturated first) to the nearest 8-bit level.
std::uint8_t toUnorm8(float value);

// Decodes a PNG of any colour type into an RGB frame; alpha, if any, is dropped.
// Throws std::runtime_error with the decoder's reason when the file cannot be read.
Frame readPng(const std::string& path);

// Writes an RGB PNG through a temporary file renamed into place, so no partial file is left.
// Throws std::runtime_error when it cannot.
void writePng(const Frame& frame, const std::string& path);

} // namespace picture
