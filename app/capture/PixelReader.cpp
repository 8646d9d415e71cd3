// Reads rendered pictures back from GL through a ring of pixel buffer objects, so that the
// copy of one picture overlaps the drawing of the next instead of stalling it.
#include "app/capture/PixelReader.h"

#include <cstring>
#include <stdexcept>

namespace Capture {

PixelReader::PixelReader(int width, int height, int depth)
    : width(width), height(height),
      bytes(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4),
      buffers(static_cast<std::size_t>(depth)) {
    glGenBuffers(depth, buffers.data());
    for (GLuint buffer : buffers) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
        glBufferData(GL_PIXEL_PACK_BUFFER, static_cast<GLsizeiptr>(bytes), nullptr, GL_STREAM_READ);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
}

PixelReader::~PixelReader() {
    glDeleteBuffers(static_cast<GLsizei>(buffers.size()), buffers.data());
}

void PixelReader::start() {
    glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers[static_cast<std::size_t>(started) % buffers.size()]);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // BGRA is the layout GL drivers read back without converting.
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    ++started;
}

void PixelReader::take(std::uint8_t* out) {
    glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers[static_cast<std::size_t>(taken) % buffers.size()]);
    const void* pixels =
        glMapBufferRange(GL_PIXEL_PACK_BUFFER, 0, static_cast<GLsizeiptr>(bytes), GL_MAP_READ_BIT);
    if (!pixels) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
        throw std::runtime_error("cannot map the read-back pixels (GL error " +
                                 std::to_string(glGetError()) + ")");
    }
    std::memcpy(out, pixels, bytes);
    glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    ++taken;
}

} // namespace Capture
