// Reads a shader's or a program's information log as one trimmed line of text.
#include "gl/GLLog.h"

#include <vector>

namespace DMGL {
namespace {

// Folds the driver's multi-line log onto one line, so an error stays one line on stderr.
std::string oneLine(std::vector<GLchar> log) {
    std::string text(log.data());
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text.empty() ? "(the driver gave no log)" : text;
}

} // namespace

std::string shaderLog(GLuint shader) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::vector<GLchar> log(static_cast<size_t>(length) + 1, 0);
    glGetShaderInfoLog(shader, length, nullptr, log.data());
    return oneLine(std::move(log));
}

std::string programLog(GLuint program) {
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::vector<GLchar> log(static_cast<size_t>(length) + 1, 0);
    glGetProgramInfoLog(program, length, nullptr, log.data());
    return oneLine(std::move(log));
}

} // namespace DMGL
