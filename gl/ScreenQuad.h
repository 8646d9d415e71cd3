// The textured rectangle every picture is drawn with, in window pixels, and its projection.
#pragma once

#include "gl/Matrix4.h"

#include <GL/glew.h>

#include <array>
#include <cstdint>
#include <memory>

namespace DMGL {

// x, y in window pixels (origin top left, y down), z always 0; u, v texture coordinates with
// v = 0 at the texture's top row.
struct QuadVertex {
    float x, y, z, u, v;
};
static_assert(sizeof(QuadVertex) == 20, "vertices are uploaded as packed floats");

// Four vertices (top left, top right, bottom left, bottom right) drawn as the triangles
// (0, 1, 2) and (2, 1, 3). Each scene owns one; the greetings overlay shares the metaballs one.
class ScreenQuad {
public:
    // Sets the size-dependent values (see setSize), then makes and fills the vertex array object,
    // element buffer and vertex buffer and leaves them bound for the scene's draws. Returns the
    // projection matrix, which the caller owns.
    std::unique_ptr<Matrix4> setupQuad(float width, float height);
    // Deletes the vertex array object and buffers setupQuad made, if any; needs their context.
    void release();
    // Binds the vertex array object and vertex buffer that setupQuad made.
    void bind() const;

    // The pure part of setupQuad: the projection that maps (0, 0)..(width, height) onto the
    // viewport, and the quad's far corners.
    void setSize(float width, float height);

    // Writes a position rectangle (window pixels) and a texture rectangle; z is left alone.
    void setQuadRect(float left, float top, float right, float bottom, float uLeft, float vTop,
                     float uRight, float vBottom);

    // Replaces the contents of the buffer bound to GL_ARRAY_BUFFER with the four vertices.
    void uploadQuad() const;
    // Binds "position" and "uvIn" of the current program to the vertex layout.
    void setQuadAttributes() const;
    void drawQuad() const;

    const std::array<QuadVertex, 4>& vertices() const { return vertexArray; }
    const std::array<float, 16>& projectionValues() const { return projection; }

    static constexpr std::array<std::uint32_t, 6> indices = {0, 1, 2, 2, 1, 3};

private:
    GLuint elementBuffer = 0, vertexBuffer = 0, vertexArrayObject = 0; // 0: not made
    // A 640 x 480 template; setup replaces the size-dependent values before any upload.
    std::array<QuadVertex, 4> vertexArray = {{
        {0, 0, 0, 0, 0},
        {640, 0, 0, 1, 0},
        {0, 480, 0, 0, 1},
        {640, 480, 0, 1, 1},
    }};
    std::array<float, 16> projection = {
        2.0f / 640, 0, 0, 0, 0, 2.0f / -480, 0, 0, 0, 0, 1, 0, -1, 1, 0, 1,
    };
};

} // namespace DMGL
