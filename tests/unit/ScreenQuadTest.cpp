// The screen quad's projection and rectangles, checked as the vertex shader would apply them.
#include "gl/ScreenQuad.h"

#include <gtest/gtest.h>

namespace {

// Clip coordinates of window pixel (x, y): projection times (x, y, 0, 1).
std::pair<float, float> clip(const DMGL::ScreenQuad& quad, float x, float y) {
    const auto& m = quad.projectionValues();
    return {m[0] * x + m[4] * y + m[12], m[1] * x + m[5] * y + m[13]};
}

TEST(ScreenQuad, ProjectionMapsTheWindowOntoTheViewport) {
    DMGL::ScreenQuad quad;
    quad.setSize(1920, 1080);
    const auto& m = quad.projectionValues();
    EXPECT_FLOAT_EQ(m[0], 0.0010416667f);
    EXPECT_FLOAT_EQ(m[5], -0.0018518518f);
    EXPECT_EQ(m[10], 1.0f);
    EXPECT_EQ(m[15], 1.0f);

    EXPECT_FLOAT_EQ(clip(quad, 0, 0).first, -1);
    EXPECT_FLOAT_EQ(clip(quad, 0, 0).second, 1);
    EXPECT_NEAR(clip(quad, 960, 540).first, 0, 1e-6);
    EXPECT_NEAR(clip(quad, 960, 540).second, 0, 1e-6);
    EXPECT_FLOAT_EQ(clip(quad, 0, 1080).first, -1);
    EXPECT_FLOAT_EQ(clip(quad, 0, 1080).second, -1);
    EXPECT_FLOAT_EQ(clip(quad, 1920, 1080).first, 1);
}

TEST(ScreenQuad, SetupCoversTheWholeWindowWithTheWholeTexture) {
    DMGL::ScreenQuad quad;
    // Before setup: the 640 x 480 template.
    EXPECT_FLOAT_EQ(quad.projectionValues()[0], 0.003125f);
    EXPECT_FLOAT_EQ(quad.projectionValues()[5], -0.0041666669f);
    quad.setSize(1920, 1080);
    const auto& v = quad.vertices();
    const float expected[4][5] = {
        {0, 0, 0, 0, 0}, {1920, 0, 0, 1, 0}, {0, 1080, 0, 0, 1}, {1920, 1080, 0, 1, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v[i].x, expected[i][0]) << "vertex " << i;
        EXPECT_EQ(v[i].y, expected[i][1]) << "vertex " << i;
        EXPECT_EQ(v[i].z, expected[i][2]) << "vertex " << i;
        EXPECT_EQ(v[i].u, expected[i][3]) << "vertex " << i;
        EXPECT_EQ(v[i].v, expected[i][4]) << "vertex " << i;
    }
    const std::array<std::uint32_t, 6> triangles = {0, 1, 2, 2, 1, 3};
    EXPECT_EQ(DMGL::ScreenQuad::indices, triangles);
}

TEST(ScreenQuad, SetQuadRectWritesCornersAndLeavesZ) {
    DMGL::ScreenQuad quad;
    quad.setQuadRect(10, 20, 110, 70, 0.25f, 0.5f, 0.75f, 1);
    const auto& v = quad.vertices();
    const float expected[4][4] = {
        {10, 20, 0.25f, 0.5f}, {110, 20, 0.75f, 0.5f}, {10, 70, 0.25f, 1}, {110, 70, 0.75f, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v[i].x, expected[i][0]) << "vertex " << i;
        EXPECT_EQ(v[i].y, expected[i][1]) << "vertex " << i;
        EXPECT_EQ(v[i].u, expected[i][2]) << "vertex " << i;
        EXPECT_EQ(v[i].v, expected[i][3]) << "vertex " << i;
    }
    for (const auto& vertex : v)
        EXPECT_EQ(vertex.z, 0.0f);
}

} // namespace
