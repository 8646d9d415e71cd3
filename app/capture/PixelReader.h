// Reads rendered pictures back from GL through a ring of pixel buffer objects, so that the
// copy of one picture overlaps the drawing of the next instead of stalling it.
#pragma once

#include <GL/glew.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Capture {

class PixelReader {
public:
    // Reads width x height pixels from the window's lower-left corner; `depth` pictures may be
    // in flight. Needs a current GL context.
    PixelReader(int width, int height, int depth);
    ~PixelReader();
    PixelReader(const PixelReader&) = delete;
    PixelReader& operator=(const PixelReader&) = delete;

    // Starts reading the picture just drawn into the next free buffer object.
    // Needs pending() < depth.
    void start();
    // Pictures started and not yet taken.
    int pending() const { return started - taken; }
    bool full() const { return pending() == static_cast<int>(buffers.size()); }
    // Copies the oldest pending picture into `out`: BGRA, rows packed, the bottom row first.
    // Throws std::runtime_error when the buffer cannot be mapped.
    void take(std::uint8_t* out);

    std::size_t frameBytes() const { return bytes; }

private:
    int width, height;
    std::size_t bytes;
    std::vector<GLuint> buffers;
    long started = 0, taken = 0;
};

} // namespace Capture
