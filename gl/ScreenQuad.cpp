// The textured rectangle every picture is drawn with, in window pixels, and its projection.
#include "gl/ScreenQuad.h"

#include "gl/ProgramRegistry.h"

#include <cstddef>

namespace DMGL {

std::unique_ptr<Matrix4> ScreenQuad::setupQuad(float width, float height) {
    setSize(width, height);

    release();
    glGenBuffers(1, &elementBuffer);
    glGenBuffers(1, &vertexBuffer);
    glGenVertexArrays(1, &vertexArrayObject);
    glBindVertexArray(vertexArrayObject);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, elementBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof(indices), indices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    uploadQuad();
    return std::make_unique<Matrix4>(projection.data());
}

void ScreenQuad::release() {
    if (vertexArrayObject == 0)
        return;
    glBindVertexArray(0);
    glDeleteVertexArrays(1, &vertexArrayObject);
    glDeleteBuffers(1, &vertexBuffer);
    glDeleteBuffers(1, &elementBuffer);
    vertexArrayObject = vertexBuffer = elementBuffer = 0;
}

void ScreenQuad::bind() const {
    glBindVertexArray(vertexArrayObject);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
}

void ScreenQuad::setSize(float width, float height) {
    projection[0] = static_cast<float>(2.0 / static_cast<double>(width));
    projection[5] = static_cast<float>(2.0 / -static_cast<double>(height));
    vertexArray[1].x = width;
    vertexArray[3].x = width;
    vertexArray[2].y = height;
    vertexArray[3].y = height;
}

void ScreenQuad::setQuadRect(float left, float top, float right, float bottom, float uLeft,
                             float vTop, float uRight, float vBottom) {
    vertexArray[0].x = left, vertexArray[0].y = top;
    vertexArray[0].u = uLeft, vertexArray[0].v = vTop;
    vertexArray[1].x = right, vertexArray[1].y = top;
    vertexArray[1].u = uRight, vertexArray[1].v = vTop;
    vertexArray[2].x = left, vertexArray[2].y = bottom;
    vertexArray[2].u = uLeft, vertexArray[2].v = vBottom;
    vertexArray[3].x = right, vertexArray[3].y = bottom;
    vertexArray[3].u = uRight, vertexArray[3].v = vBottom;
}

void ScreenQuad::uploadQuad() const {
    glBufferData(GL_ARRAY_BUFFER, sizeof(vertexArray), vertexArray.data(), GL_STATIC_DRAW);
}

void ScreenQuad::setQuadAttributes() const {
    current().setAttribute("position", 3, GL_FLOAT, sizeof(QuadVertex), offsetof(QuadVertex, x));
    current().setAttribute("uvIn", 2, GL_FLOAT, sizeof(QuadVertex), offsetof(QuadVertex, u));
}

void ScreenQuad::drawQuad() const {
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
}

} // namespace DMGL
