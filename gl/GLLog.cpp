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

// Reads the log of a shader or program object with the matching pair of GL queries.
template <typename GetParameter, typename GetLog>
std::string objectLog(GLuint object, GetParameter getParameter, GetLog getLog) {
    GLint length = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &length);
    std::vector<GLchar> log(static_cast<size_t>(length) + 1, 0);
    getLog(object, length, nullptr, log.data());
    return oneLine(std::move(log));
}

std::string shaderLog(GLuint shader) {
    return objectLog(shader, glGetShaderiv, glGetShaderInfoLog);
}

std::string programLog(GLuint program) {
    return objectLog(program, glGetProgramiv, glGetProgramInfoLog);
}

} // namespace DMGL
