// The content stored in the executable is exactly the content files, byte for byte.
#include "content/Resources.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string fileBytes(const std::string& name) {
    std::ifstream in(std::string(CONTENT_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void expectEmbedded(const std::string& name, const void* data, std::uint32_t size) {
    const std::string file = fileBytes(name);
    ASSERT_EQ(size, file.size()) << name;
    EXPECT_EQ(std::string(static_cast<const char*>(data), size), file) << name;
}

TEST(EmbeddedContent, EveryResourceIsItsFileWithItsExactSize) {
    expectEmbedded("module.xm", moduleData, moduleSize);
    expectEmbedded("shaders/vertex.glsl", vertexShaderText, vertexShaderSize);
    expectEmbedded("shaders/title.glsl", titleShaderText, titleShaderSize);
    expectEmbedded("shaders/metaballs.glsl", metaballsShaderText, metaballsShaderSize);
    expectEmbedded("shaders/metaballs_script.glsl", metaballsScriptText, metaballsScriptSize);
    expectEmbedded("shaders/title_star_script.glsl", titleStarScriptText, titleStarScriptSize);
    expectEmbedded("shaders/passthrough.glsl", passThroughShaderText, passThroughShaderSize);
    expectEmbedded("greetings_atlas.png", greetingsAtlasData, greetingsAtlasSize);
    expectEmbedded("title_atlas.png", titleAtlasData, titleAtlasSize);
}

TEST(EmbeddedContent, FormatsAreWhatTheirReadersExpect) {
    ASSERT_GE(moduleSize, 17u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(moduleData), 17), "Extended Module: ");
    const std::string pngSignature = "\x89PNG\r\n\x1a\n";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(titleAtlasData), 8), pngSignature);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(greetingsAtlasData), 8), pngSignature);
    // Shader texts carry no version line: the driver's default GLSL applies.
    for (const std::string& text : {std::string(vertexShaderText, vertexShaderSize),
                                    std::string(titleShaderText, titleShaderSize),
                                    std::string(metaballsShaderText, metaballsShaderSize),
                                    std::string(metaballsScriptText, metaballsScriptSize),
                                    std::string(titleStarScriptText, titleStarScriptSize),
                                    std::string(passThroughShaderText, passThroughShaderSize)})
        EXPECT_EQ(text.find("#version"), std::string::npos);
}

} // namespace
