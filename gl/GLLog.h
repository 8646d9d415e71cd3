// Reads a shader's or a program's information log as one trimmed line of text.
#pragma once

#include <GL/glew.h>

#include <string>

namespace DMGL {

std::string shaderLog(GLuint shader);
std::string programLog(GLuint program);

} // namespace DMGL
