// The process-wide registry of the demo's programs and the notion of the current one.
#include "gl/ProgramRegistry.h"

#include "content/Resources.h"
#include "gl/Shader.h"

#include <map>
#include <stdexcept>
#include <string>

namespace DMGL {
namespace {

std::vector<Program> registry;
const Program* currentProgram = nullptr;
// The vertex shaders, one for each script text they run (empty for none), each shared by the
// programs that run it.
std::map<std::string, std::shared_ptr<Shader>> vertexShaders;

std::string text(const char* bytes, std::uint32_t size) {
    return std::string(bytes, size);
}

struct Source {
    std::string label, text;
    std::string script; // a per-scene time script the program's vertex stage runs; may be empty
};

// The fragment text, vertex script and label of program `index`. The title's variants with the
// star's literal arithmetic take the star's phases from their vertex stage.
Source sourceOf(int index) {
    const std::string titleText = text(titleShaderText, titleShaderSize);
    if (index == TitleProgram)
        return {"title", titleVariantPrologue(TitleStar::None, 1) + titleText, ""};
    if (index == MetaballsProgram)
        return {"metaballs", text(metaballsShaderText, metaballsShaderSize),
                text(metaballsScriptText, metaballsScriptSize)};
    if (index == PassThroughProgram)
        return {"pass-through", text(passThroughShaderText, passThroughShaderSize), ""};
    for (TitleStar star : {TitleStar::None, TitleStar::Shape, TitleStar::Exact})
        for (int elements = 0; elements <= kTitleMaxElements; ++elements)
            if ((star != TitleStar::None || elements > 1) && titleProgram(star, elements) == index)
                return {"title variant " + std::to_string(index),
                        titleVariantPrologue(star, elements) + titleText,
                        star == TitleStar::Exact ? text(titleStarScriptText, titleStarScriptSize)
                                                 : ""};
    throw std::logic_error("no program has index " + std::to_string(index));
}

} // namespace

bool buildNext() {
    const int index = builtCount();
    if (index == kProgramCount)
        return false;
    const Source source = sourceOf(index);
    std::shared_ptr<Shader>& vertex = vertexShaders[source.script];
    if (!vertex)
        vertex = createShader(ShaderType::vertex(),
                              source.script + text(vertexShaderText, vertexShaderSize),
                              source.script.empty() ? "vertex" : source.label + " vertex");
    auto fragment = createShader(ShaderType::fragment(), source.text, source.label);
    Program program;
    program.attach(vertex);
    program.attach(fragment);
    try {
        program.link(source.label);
    } catch (...) {
        glDeleteProgram(program.name());
        throw;
    }
    // Room for every program from the start: `currentProgram` points into the registry.
    registry.reserve(kProgramCount);
    registry.push_back(program);
    return builtCount() < kProgramCount;
}

int builtCount() {
    return static_cast<int>(registry.size());
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
    vertexShaders.clear();
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
