// GLSL shader objects: the two shader types and the factory that compiles a text into a shader.
#include "gl/Shader.h"

#include "gl/GLLog.h"

#include <stdexcept>

namespace DMGL {
namespace {
// The shader texts are written in GLSL 1.10's forms. A GLSL ES context (WebGL) compiles the
// same texts as GLSL ES 1.00, which needs its version first and a default float precision.
#ifdef WISP_GLSL_ES
constexpr const char* kPrologue = "#version 100\nprecision highp float;\n";
#else
constexpr const char* kPrologue = "";
#endif
} // namespace

const ShaderType& ShaderType::vertex() {
    static const ShaderType type(GL_VERTEX_SHADER);
    return type;
}

const ShaderType& ShaderType::fragment() {
    static const ShaderType type(GL_FRAGMENT_SHADER);
    return type;
}

Shader::~Shader() {
    glDeleteShader(shaderName);
}

std::shared_ptr<Shader> createShader(const ShaderType& type, const std::string& source,
                                     const std::string& label) {
    const GLuint name = glCreateShader(type.glType());
    const GLchar* texts[] = {kPrologue, source.data()};
    const GLint lengths[] = {-1, static_cast<GLint>(source.size())};
    glShaderSource(name, 2, texts, lengths);
    glCompileShader(name);
    auto shader = std::make_shared<Shader>(name);

    GLint compiled = GL_FALSE;
    glGetShaderiv(name, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE)
        throw std::runtime_error("shader '" + label + "' failed to compile: " + shaderLog(name));
    return shader;
}

} // namespace DMGL
