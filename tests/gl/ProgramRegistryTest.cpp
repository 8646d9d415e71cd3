// The programs, their shared vertex shader, and shader texts read by their size alone.
#include "GLContextTest.h"

#include "content/Resources.h"
#include "gl/ProgramRegistry.h"

#include <GL/glew.h>

#include <set>
#include <string>

namespace {

using ProgramRegistryTest = GLContextTest;

std::vector<GLuint> attachedShaders(GLuint program) {
    GLuint names[8];
    GLsizei count = 0;
    glGetAttachedShaders(program, 8, &count, names);
    return std::vector<GLuint>(names, names + count);
}

// Programs share their vertex shader exactly when their vertex stage runs the same script: none
// for most, the metaballs' time script, and the star's phases for the title's literal-star
// variants.
TEST_F(ProgramRegistryTest, ProgramsShareAVertexShaderExactlyWhenTheyRunTheSameScript) {
    const auto& programs = DMGL::programs();
    ASSERT_EQ(programs.size(), static_cast<size_t>(DMGL::kProgramCount));
    const auto scriptOf = [](int index) {
        if (index == DMGL::MetaballsProgram)
            return 1;
        for (int elements = 0; elements <= DMGL::kTitleMaxElements; ++elements)
            if (index == DMGL::titleProgram(DMGL::TitleStar::Exact, elements))
                return 2;
        return 0;
    };
    std::set<GLuint> fragments;
    for (int index = 0; index < DMGL::kProgramCount; ++index) {
        const DMGL::Program& program = programs[static_cast<size_t>(index)];
        GLint linked = GL_FALSE;
        glGetProgramiv(program.name(), GL_LINK_STATUS, &linked);
        EXPECT_EQ(linked, GL_TRUE);
        ASSERT_EQ(attachedShaders(program.name()).size(), 2u);
        for (int other = 0; other < index; ++other)
            EXPECT_EQ(program.shaders()[0] == programs[static_cast<size_t>(other)].shaders()[0],
                      scriptOf(index) == scriptOf(other))
                << "programs " << other << " and " << index;
        GLint type = 0;
        glGetShaderiv(program.shaders()[0]->name(), GL_SHADER_TYPE, &type);
        EXPECT_EQ(type, GL_VERTEX_SHADER);
        glGetShaderiv(program.shaders()[1]->name(), GL_SHADER_TYPE, &type);
        EXPECT_EQ(type, GL_FRAGMENT_SHADER);
        fragments.insert(program.shaders()[1]->name());
    }
    EXPECT_EQ(fragments.size(), programs.size()) << "each program has its own fragment shader";
}

TEST_F(ProgramRegistryTest, EachProgramDeclaresWhatItsDrawsFeed) {
    const auto& programs = DMGL::programs();
    for (const DMGL::Program& program : programs) {
        EXPECT_GE(glGetAttribLocation(program.name(), "position"), 0);
        EXPECT_GE(glGetAttribLocation(program.name(), "uvIn"), 0);
        EXPECT_GE(glGetUniformLocation(program.name(), "projection"), 0);
    }
    // The overlay draws its heading with the attribute bindings made for program 1.
    EXPECT_EQ(glGetAttribLocation(programs[1].name(), "position"),
              glGetAttribLocation(programs[2].name(), "position"));
    EXPECT_EQ(glGetAttribLocation(programs[1].name(), "uvIn"),
              glGetAttribLocation(programs[2].name(), "uvIn"));
    // Each title variant takes the uniforms its draws set: its elements' arrays when it has
    // elements, the star's fade when it draws the star, the time when it draws it literally.
    for (DMGL::TitleStar star :
         {DMGL::TitleStar::None, DMGL::TitleStar::Shape, DMGL::TitleStar::Exact})
        for (int elements = star == DMGL::TitleStar::None ? 1 : 0;
             elements <= DMGL::kTitleMaxElements; ++elements) {
            const GLuint name = programs[DMGL::titleProgram(star, elements)].name();
            EXPECT_EQ(glGetUniformLocation(name, "time") >= 0, star == DMGL::TitleStar::Exact);
            for (const char* array :
                 {"element_uv", "element_pos", "element_fade", "element_additive"})
                EXPECT_EQ(glGetUniformLocation(name, array) >= 0, elements > 0) << array;
            EXPECT_EQ(glGetUniformLocation(name, "star_fade") >= 0, star != DMGL::TitleStar::None);
        }
    EXPECT_GE(glGetUniformLocation(programs[1].name(), "time"), 0);
}

TEST_F(ProgramRegistryTest, TimeArrivesInSinglePrecision) {
    DMGL::useProgram(DMGL::MetaballsProgram);
    DMGL::setTime(18.1);
    GLfloat value = 0;
    glGetUniformfv(DMGL::current().name(), glGetUniformLocation(DMGL::current().name(), "time"),
                   &value);
    EXPECT_EQ(value, 18.1f);

    // The pass-through program declares "time" without using it: setting it does nothing.
    DMGL::useProgram(DMGL::PassThroughProgram);
    DMGL::setTime(5.0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ProgramRegistryTest, ShaderTextIsReadBySizeAloneNotUpToATerminator) {
    // The text followed directly by bytes that would not compile.
    const std::string stored =
        std::string(vertexShaderText, vertexShaderSize) + "#error not part of the text\n";
    EXPECT_NO_THROW(DMGL::createShader(DMGL::ShaderType::vertex(),
                                       std::string(stored.data(), vertexShaderSize), "vertex"));
    EXPECT_THROW(DMGL::createShader(DMGL::ShaderType::vertex(), stored, "vertex"),
                 std::runtime_error);
}

TEST_F(ProgramRegistryTest, CompileFailureNamesTheShaderAndCarriesTheLog) {
    try {
        DMGL::createShader(DMGL::ShaderType::fragment(), "void main() { undeclared = 1.0; }",
                           "broken");
        FAIL() << "a shader with an undeclared name compiled";
    } catch (const std::runtime_error& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("'broken'"), std::string::npos) << message;
        EXPECT_NE(message.find("undeclared"), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << "one line: " << message;
    }
}

TEST_F(ProgramRegistryTest, LinkFailureNamesTheProgram) {
    DMGL::Program program;
    program.attach(DMGL::createShader(DMGL::ShaderType::fragment(),
                                      "void main() { gl_FragColor = vec4(1.0); }", "a"));
    program.attach(DMGL::createShader(DMGL::ShaderType::fragment(),
                                      "void main() { gl_FragColor = vec4(0.0); }", "b"));
    try {
        program.link("twin mains");
        FAIL() << "two main functions linked";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("'twin mains'"), std::string::npos);
    }
}

} // namespace
