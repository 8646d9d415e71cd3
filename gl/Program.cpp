// A linked GLSL program and the setters that feed its uniforms and vertex attributes by name.
#include "gl/Program.h"

#include "gl/GLLog.h"

#include <stdexcept>

namespace DMGL {

Program::Program() : programName(glCreateProgram()) {}

void Program::attach(std::shared_ptr<Shader> shader) {
    attached.push_back(shader);
    glAttachShader(programName, shader->name());
}

void Program::link(const std::string& label) {
    glLinkProgram(programName);
    GLint linked = GL_FALSE;
    glGetProgramiv(programName, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE)
        throw std::runtime_error("program '" + label +
                                 "' failed to link: " + programLog(programName));
}

void Program::use() const {
    glUseProgram(programName);
}

void Program::setUniform1f(const char* name, float value) const {
    glUniform1f(glGetUniformLocation(programName, name), value);
}

void Program::setUniform1i(const char* name, int value) const {
    glUniform1i(glGetUniformLocation(programName, name), value);
}

void Program::setUniform2f(const char* name, float a, float b) const {
    glUniform2f(glGetUniformLocation(programName, name), a, b);
}

void Program::setUniform1fv(const char* name, int count, const float* values) const {
    glUniform1fv(glGetUniformLocation(programName, name), count, values);
}

void Program::setUniform3fv(const char* name, int count, const float* values) const {
    glUniform3fv(glGetUniformLocation(programName, name), count, values);
}

void Program::setUniform4fv(const char* name, int count, const float* values) const {
    glUniform4fv(glGetUniformLocation(programName, name), count, values);
}

void Program::setUniform4f(const char* name, float a, float b, float c, float d) const {
    glUniform4f(glGetUniformLocation(programName, name), a, b, c, d);
}

void Program::setUniformMatrix4(const char* name, const Matrix4& matrix) const {
    glUniformMatrix4fv(glGetUniformLocation(programName, name), 1, GL_FALSE, matrix.data());
}

void Program::setAttribute(const char* name, GLint size, GLenum type, GLsizei stride,
                           size_t offset) const {
    const GLint location = glGetAttribLocation(programName, name);
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), size, type, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offset));
}

} // namespace DMGL
