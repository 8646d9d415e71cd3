// A linked GLSL program and the setters that feed its uniforms and vertex attributes by name.
#pragma once

#include "gl/Matrix4.h"
#include "gl/Shader.h"

#include <GL/glew.h>

#include <memory>
#include <string>
#include <vector>

namespace DMGL {

// Copies share the OpenGL program object and its shaders. Destroying a Program only releases its
// shader handles; the registry deletes the program object itself.
class Program {
public:
    Program();

    void attach(std::shared_ptr<Shader> shader);
    // Links; throws std::runtime_error naming `label` with the driver's log on failure.
    void link(const std::string& label);
    void use() const;

    // Each setter looks its location up by name on every call and acts on the program in use,
    // so call them only on the current program. Unknown names are ignored, as by OpenGL.
    void setUniform1f(const char* name, float value) const;
    void setUniform1i(const char* name, int value) const;
    void setUniform2f(const char* name, float a, float b) const;
    void setUniform4f(const char* name, float a, float b, float c, float d) const;
    // Arrays: `count` elements of 1, 3 or 4 floats each, from `values`.
    void setUniform1fv(const char* name, int count, const float* values) const;
    void setUniform3fv(const char* name, int count, const float* values) const;
    void setUniform4fv(const char* name, int count, const float* values) const;
    void setUniformMatrix4(const char* name, const Matrix4& matrix) const;
    // `offset` is a byte offset into the buffer bound to GL_ARRAY_BUFFER.
    void setAttribute(const char* name, GLint size, GLenum type, GLsizei stride,
                      size_t offset) const;

    GLuint name() const { return programName; }
    const std::vector<std::shared_ptr<Shader>>& shaders() const { return attached; }

private:
    GLuint programName;
    std::vector<std::shared_ptr<Shader>> attached;
};

} // namespace DMGL
