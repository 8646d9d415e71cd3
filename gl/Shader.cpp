// GLSL shader objects: the two shader types and the factory that compiles a text into a shader.
#include "gl/Shader.h"

#include "gl/GLLog.h"

#include <stdexcept>

namespace DMGL {

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
    const GLchar* text = source.data();
    const GLint length = static_cast<GLint>(source.size());
    glShaderSource(name, 1, &text, &length);
    glCompileShader(name);
    auto shader = std::make_shared<Shader>(name);

    GLint compiled = GL_FALSE;
    glGetShaderiv(name, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE)
        throw std::runtime_error("shader '" + label + "' failed to compile: " + shaderLog(name));
    return shader;
}

} // namespace DMGL
