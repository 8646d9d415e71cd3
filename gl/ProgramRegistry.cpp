// The process-wide registry of the demo's programs and the notion of the current one.
#include "gl/ProgramRegistry.h"

#include "content/Resources.h"
#include "gl/Shader.h"

#include <stdexcept>
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

    struct Source {
        std::string label, text;
    };
    std::vector<Source> sources = {
        {"title", titleVariantPrologue(TitleStar::None, 1) + titleText},
        {"metaballs", metaballsText},
        {"pass-through", passThroughText},
    };
    for (TitleStar star : {TitleStar::None, TitleStar::Shape, TitleStar::Exact})
        for (int elements = 0; elements <= kTitleMaxElements; ++elements)
            if (star != TitleStar::None || elements > 1)
                sources.push_back({"title variant " + std::to_string(sources.size()),
                                   titleVariantPrologue(star, elements) + titleText});

    auto vertex = createShader(ShaderType::vertex(), vertexText, "vertex");
    registry.clear();
    currentProgram = nullptr;
    for (const Source& source : sources) {
        registry.emplace_back();
        registry.back().attach(vertex);
        registry.back().attach(createShader(ShaderType::fragment(), source.text, source.label));
        registry.back().link(source.label);
    }
}

int titleProgram(TitleStar star, int elements) {
    if (elements < 0 || elements > kTitleMaxElements || (star == TitleStar::None && elements == 0))
        throw std::invalid_argument("no title program draws that");
    if (star == TitleStar::None)
        return elements == 1 ? TitleProgram : 3;
    return 4 + (star == TitleStar::Shape ? 0 : kTitleMaxElements + 1) + elements;
}

std::string titleVariantPrologue(TitleStar star, int elements) {
    std::string prologue = "#define ELEMENTS " + std::to_string(elements) + "\n";
    if (star != TitleStar::None)
        prologue += "#define STAR\n";
    if (star == TitleStar::Exact)
        prologue += "#define STAR_EXACT\n";
    return prologue;
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
