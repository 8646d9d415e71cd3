// Where and when the greetings overlay draws its heading and captions.
#include "scenes/GreetingsLayout.h"

#include <gtest/gtest.h>

namespace {

void expectRect(const SpriteRect& r, float left, float top, float right, float bottom) {
    EXPECT_FLOAT_EQ(r.left, left);
    EXPECT_FLOAT_EQ(r.top, top);
    EXPECT_FLOAT_EQ(r.right, right);
    EXPECT_FLOAT_EQ(r.bottom, bottom);
}

TEST(GreetingsLayout, At1920x1080SpritesHaveTheAtlasSize) {
    expectRect(headingRect(1920, 1080), 38.4f, 21.6f, 613.4f, 132.6f);
    expectRect(captionRect(0, 1920, 1080), 1330.6f, 945.4f, 1881.6f, 1058.4f);
    expectRect(captionRect(1, 1920, 1080), 1410.6f, 956.4f, 1881.6f, 1058.4f);
    const SpriteRect heading = headingRect(1920, 1080);
    EXPECT_FLOAT_EQ(heading.uLeft, 0.4453125f);
    EXPECT_FLOAT_EQ(heading.vBottom, 0.947265625f);
}

TEST(GreetingsLayout, SmallerAndLargerWindowsScaleWithTheWidth) {
    const SpriteRect heading720 = headingRect(1280, 720);
    EXPECT_FLOAT_EQ(heading720.left, 25.6f);
    EXPECT_FLOAT_EQ(heading720.top, 14.4f);
    EXPECT_FLOAT_EQ(heading720.right - heading720.left, 383);
    EXPECT_FLOAT_EQ(heading720.bottom - heading720.top, 74);
    expectRect(captionRect(0, 1280, 720), 887.4f, 630.6f, 1254.4f, 705.6f);

    const SpriteRect heading1440 = headingRect(2560, 1440);
    EXPECT_FLOAT_EQ(heading1440.right - heading1440.left, 766);
    EXPECT_FLOAT_EQ(heading1440.bottom - heading1440.top, 148);
    const SpriteRect caption1440 = captionRect(0, 2560, 1440);
    EXPECT_FLOAT_EQ(caption1440.right - caption1440.left, 734);
    EXPECT_FLOAT_EQ(caption1440.bottom - caption1440.top, 150);
}

TEST(GreetingsLayout, CaptionsChangeEveryThreeSecondsThenStop) {
    EXPECT_EQ(captionIndexAt(0.5), 0);
    EXPECT_EQ(captionIndexAt(2.999), 0);
    EXPECT_EQ(captionIndexAt(3.0), 1);
    EXPECT_EQ(captionIndexAt(41.999), 13);
    EXPECT_GE(captionIndexAt(42.0), kGreetingCount);
}

TEST(GreetingsLayout, CaptionRectanglesAreWholeAtlasPixelsInsideTheAtlas) {
    for (int i = 0; i < kGreetingCount; ++i) {
        const AtlasRect& r = greetingCaptions[i];
        for (float value : {r.uLeft * 2048, r.uRight * 2048, r.vTop * 512, r.vBottom * 512})
            EXPECT_EQ(value, static_cast<float>(static_cast<int>(value))) << "caption " << i;
        EXPECT_LT(r.uLeft, r.uRight) << "caption " << i;
        EXPECT_LT(r.vTop, r.vBottom) << "caption " << i;
        EXPECT_LE(r.uRight, 1.0f) << "caption " << i;
        EXPECT_LE(r.vBottom, 1.0f) << "caption " << i;
    }
}

} // namespace
