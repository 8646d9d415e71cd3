// The scenes as they were drawn before they were made fast: one quad over the whole viewport
// running the literal shader texts kept in bench/baseline.
#include "LiteralScenes.h"

#include "content/Resources.h"
#include "gl/Shader.h"
#include "scenes/AtlasTexture.h"
#include "scenes/GreetingsLayout.h"
#include "scenes/TitleScene.h"

#include <cstddef>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

constexpr double kMetaballsStart = 18.0; // demo clock, seconds
constexpr double kGreetingsStart = 47.0; // metaballs scene time, seconds

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void build(DMGL::Program& program, const std::shared_ptr<DMGL::Shader>& vertex,
           const std::string& fragmentText, const std::string& label) {
    program.attach(vertex);
    program.attach(DMGL::createShader(DMGL::ShaderType::fragment(), fragmentText, label));
    program.link(label);
}

const char* const kWhiteShader = "void main() { gl_FragColor = vec4(1.0, 1.0, 1.0, 1.0); }\n";

} // namespace

LiteralScenes::LiteralScenes(const std::string& baselineDir, float width, float height)
    : width(width), height(height) {
    glGetIntegerv(GL_VIEWPORT, viewport);
    const auto vertex = DMGL::createShader(DMGL::ShaderType::vertex(),
                                           readText(baselineDir + "/vertex.glsl"), "vertex");
    build(title, vertex, readText(baselineDir + "/title.glsl"), "literal title");
    build(metaballs, vertex, readText(baselineDir + "/metaballs.glsl"), "literal metaballs");
    build(passThrough, vertex, readText(baselineDir + "/passthrough.glsl"), "literal pass");
    build(white, vertex, kWhiteShader, "white");

    titleAtlas = uploadAtlas(decodeAtlas(titleAtlasData, titleAtlasSize, 2048, 2048, "title"));
    greetingsAtlas =
        uploadAtlas(decodeAtlas(greetingsAtlasData, greetingsAtlasSize, 2048, 512, "greetings"));
    projection = quad.setupQuad(width, height);
    for (const DMGL::Program* program : {&title, &metaballs, &passThrough, &white}) {
        program->use();
        program->setUniformMatrix4("projection", *projection);
    }
}

void LiteralScenes::bindQuad(const DMGL::Program& program) {
    program.use();
    quad.bind();
    program.setAttribute("position", 3, GL_FLOAT, sizeof(DMGL::QuadVertex),
                         offsetof(DMGL::QuadVertex, x));
    program.setAttribute("uvIn", 2, GL_FLOAT, sizeof(DMGL::QuadVertex),
                         offsetof(DMGL::QuadVertex, u));
}

void LiteralScenes::draw(double t) {
    if (t < kMetaballsStart)
        drawTitle(t);
    else
        drawMetaballs(t - kMetaballsStart);
    glEnable(GL_SCISSOR_TEST);
    glScissor(viewport[0], viewport[1], viewport[2], viewport[3]);
}

void LiteralScenes::drawFloor() {
    bindQuad(white);
    quad.setQuadRect(0, 0, width, height, 0, 0, 1, 1);
    quad.uploadQuad();
    glDisable(GL_BLEND);
    glEnable(GL_SCISSOR_TEST);
    glScissor(viewport[0], viewport[1], viewport[2], viewport[3]);
    quad.drawQuad();
}

void LiteralScenes::drawTitle(double time) {
    bindQuad(title);
    quad.setQuadRect(0, 0, width, height, 0, 0, 1, 1);
    quad.uploadQuad();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, titleAtlas.name());
    title.setUniform1i("sampler", 0);
    title.setUniform1f("time", static_cast<float>(time));
    for (const TitleElement& e : titleElements) {
        const std::string name = std::string("uv_") + e.sprite->name;
        title.setUniform4f(name.c_str(), e.sprite->u, e.sprite->v, e.sprite->width,
                           e.sprite->height);
    }
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_SCISSOR_TEST);
    glScissor(viewport[0], viewport[1], viewport[2], viewport[3]);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    quad.drawQuad();
}

void LiteralScenes::drawMetaballs(double sceneTime) {
    bindQuad(metaballs);
    quad.setQuadRect(0, 0, width, height, 0, 0, 1, 1);
    quad.uploadQuad();
    metaballs.setUniform1f("time", static_cast<float>(sceneTime));
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    quad.drawQuad();
    if (sceneTime <= kGreetingsStart)
        return;
    const int caption = captionIndexAt(sceneTime - kGreetingsStart);
    if (caption >= kGreetingCount)
        return;
    bindQuad(passThrough);
    glBindTexture(GL_TEXTURE_2D, greetingsAtlas.name());
    passThrough.setUniform1i("sampler", 0);
    for (const SpriteRect& r : {headingRect(width, height), captionRect(caption, width, height)}) {
        quad.setQuadRect(r.left, r.top, r.right, r.bottom, r.uLeft, r.vTop, r.uRight, r.vBottom);
        quad.uploadQuad();
        quad.drawQuad();
    }
}
