// GLSL shader objects: the two shader types and the factory that compiles a text into a shader.
#pragma once

#include <GL/glew.h>

#include <memory>
#include <string>

namespace DMGL {

// One OpenGL shader-type enumerator; the two instances live from first use to process exit.
class ShaderType {
public:
    static const ShaderType& vertex();
    static const ShaderType& fragment();

    GLenum glType() const { return type; }

private:
    explicit ShaderType(GLenum type) : type(type) {}
    GLenum type;
};

// Owns one compiled OpenGL shader object; always held through a shared handle, and the last
// handle's release deletes the object.
class Shader {
public:
    explicit Shader(GLuint name) : shaderName(name) {}
    ~Shader();
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    GLuint name() const { return shaderName; }

private:
    GLuint shaderName;
};

// Compiles `source` (its explicit length; no terminator needed) as a shader of `type`.
// Throws std::runtime_error naming `label` and carrying the driver's log if compilation fails.
std::shared_ptr<Shader> createShader(const ShaderType& type, const std::string& source,
                                     const std::string& label);

} // namespace DMGL
