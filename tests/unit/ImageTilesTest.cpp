// Cutting images into tiles, with colours premultiplied by alpha, and texture sizes.
#include "gl/ImageTiles.h"
#include "gl/SDLImage.h"
#include "gl/Texture.h"
#include "scenes/AtlasTexture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Writes straight RGBA at (x, y) of a 32-bit image.
void put(DMGL::Image& image, int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b,
         std::uint8_t a) {
    std::uint8_t* p = image.pixels() + (static_cast<size_t>(y) * image.width() + x) * 4;
    p[0] = r, p[1] = g, p[2] = b, p[3] = a;
}

const std::uint8_t* at(const DMGL::Image& image, int x, int y) {
    return image.pixels() + (static_cast<size_t>(y) * image.width() + x) * 4;
}

TEST(NextPowerOfTwo, RoundsUpAndKeepsPowers) {
    EXPECT_EQ(DMGL::nextPowerOfTwo(0), 0);
    EXPECT_EQ(DMGL::nextPowerOfTwo(1), 1);
    EXPECT_EQ(DMGL::nextPowerOfTwo(3), 4);
    EXPECT_EQ(DMGL::nextPowerOfTwo(1000), 1024);
    EXPECT_EQ(DMGL::nextPowerOfTwo(2048), 2048);
    EXPECT_EQ(DMGL::nextPowerOfTwo(2049), 4096);
}

TEST(SplitIntoTiles, CutsRowMajorWithExtentsOfThePartialTiles) {
    auto image = std::make_shared<SDLImage>(3000, 600, 4);
    put(*image, 2048 + 951, 512 + 87, 10, 20, 30, 255); // last pixel of the last tile's fill
    put(*image, 2047, 511, 40, 50, 60, 255);            // last pixel of the first tile

    const auto tiles = DMGL::splitIntoTiles(image, 2048, 512);
    ASSERT_EQ(tiles.size(), 4u);
    const float expectedU[] = {1.0f, 952.0f / 2048, 1.0f, 952.0f / 2048};
    const float expectedV[] = {1.0f, 1.0f, 88.0f / 512, 88.0f / 512};
    for (size_t i = 0; i < tiles.size(); ++i) {
        EXPECT_EQ(tiles[i].image->width(), 2048);
        EXPECT_EQ(tiles[i].image->height(), 512);
        EXPECT_FLOAT_EQ(tiles[i].uExtent, expectedU[i]) << "tile " << i;
        EXPECT_FLOAT_EQ(tiles[i].vExtent, expectedV[i]) << "tile " << i;
    }
    EXPECT_FLOAT_EQ(tiles[3].uExtent, 0.46484375f);
    EXPECT_FLOAT_EQ(tiles[3].vExtent, 0.171875f);

    EXPECT_EQ(std::memcmp(at(*tiles[0].image, 2047, 511), "\x28\x32\x3c\xff", 4), 0);
    EXPECT_EQ(std::memcmp(at(*tiles[3].image, 951, 87), "\x0a\x14\x1e\xff", 4), 0);
    // Outside its filled 952 x 88 corner the last tile is transparent black.
    EXPECT_EQ(std::memcmp(at(*tiles[3].image, 952, 0), "\0\0\0\0", 4), 0);
    EXPECT_EQ(std::memcmp(at(*tiles[3].image, 0, 88), "\0\0\0\0", 4), 0);
    EXPECT_EQ(std::memcmp(at(*tiles[3].image, 2047, 511), "\0\0\0\0", 4), 0);
}

TEST(SplitIntoTiles, PremultipliesColoursByAlpha) {
    auto image = std::make_shared<SDLImage>(4, 1, 4);
    put(*image, 0, 0, 255, 0, 0, 255); // opaque red stays red
    put(*image, 1, 0, 255, 0, 0, 128); // half-transparent red halves
    put(*image, 2, 0, 90, 200, 7, 0);  // fully transparent becomes transparent black
    const auto tiles = DMGL::splitIntoTiles(image, 4, 1);
    ASSERT_EQ(tiles.size(), 1u);
    const auto& tile = *tiles[0].image;
    EXPECT_EQ(std::memcmp(at(tile, 0, 0), "\xff\0\0\xff", 4), 0);
    EXPECT_NEAR(at(tile, 1, 0)[0], 128, 2);
    EXPECT_NEAR(at(tile, 1, 0)[3], 128, 1); // SDL's blender rounds by 1
    EXPECT_EQ(std::memcmp(at(tile, 2, 0), "\0\0\0\0", 4), 0);
}

TEST(SplitIntoTiles, EmptyImageGivesNoTiles) {
    auto image = std::make_shared<SDLImage>(0, 0, 4);
    EXPECT_TRUE(DMGL::splitIntoTiles(image, 64, 64).empty());
}

TEST(LoadImage, RejectsBytesThatAreNoImage) {
    const std::uint8_t junk[] = "certainly not a PNG";
    EXPECT_THROW(DMGL::loadImageTiles(junk, sizeof junk, 64, 64), std::runtime_error);
}

TEST(DecodeAtlas, UndecodableAtlasIsReportedByName) {
    const std::uint8_t junk[] = "\x89PNG but truncated";
    try {
        decodeAtlas(junk, sizeof junk, 2048, 512, "greetings");
        FAIL() << "an undecodable atlas was decoded";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("greetings atlas"), std::string::npos)
            << error.what();
    }
}

} // namespace
