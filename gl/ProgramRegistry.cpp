// The process-wide registry of the demo's three programs and the notion of the current one.
#include "gl/ProgramRegistry.h"

#include "content/Resources.h"
#include "gl/Shader.h"

#include <string>

namespace DMGL {
namespace {

std::vector<Program> registry;
const Program* currentProgram = nullptr;

std::string text(const char* bytes, std::uint32_t size) {
    return std::string(bytes, size);
}

} // namespace

void init() {
    const std::string vertexText = text(vertexShaderText, vertexShaderSize);
    const std::string titleText = text(titleShaderText, titleShaderSize);
    const std::string metaballsText = text(metaballsShaderText, metaballsShaderSize);
    const std::string passThroughText = text(passThroughShaderText, passThroughShaderSize);

    auto vertex = createShader(ShaderType::vertex(), vertexText, "vertex");
    const std::shared_ptr<Shader> fragments[] = {
        createShader(ShaderType::fragment(), titleText, "title"),
        createShader(ShaderType::fragment(), metaballsText, "metaballs"),
        createShader(ShaderType::fragment(), passThroughText, "pass-through"),
    };
    static const char* const labels[] = {"title", "metaballs", "pass-through"};

    registry.clear();
    currentProgram = nullptr;
    for (int index = 0; index < 3; ++index) {
        registry.emplace_back();
        registry.back().attach(vertex);
        registry.back().attach(fragments[index]);
        registry.back().link(labels[index]);
    }
}

void release() {
    currentProgram = nullptr;
    if (!registry.empty())
        glUseProgram(0);
    for (const Program& program : registry)
        glDeleteProgram(program.name());
    registry.clear();
}

void useProgram(int index) {
    currentProgram = &registry[static_cast<size_t>(index)];
    currentProgram->use();
}

void setProjection(const Matrix4& matrix) {
    current().setUniformMatrix4("projection", matrix);
}

void setTime(double seconds) {
    current().setUniform1f("time", static_cast<float>(seconds));
}

const Program& current() {
    return *currentProgram;
}

const std::vector<Program>& programs() {
    return registry;
}

} // namespace DMGL
