// The 16:9 drawing area for desktops of every shape.
#include "app/Letterbox.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    int width, height, areaHeight, y;
};

TEST(Letterbox, FullWidthAreaCentredVertically) {
    const Case cases[] = {
        {1920, 1080, 1080, 0},    // exactly 16:9
        {1920, 1200, 1080, 60},   // taller: bands above and below
        {1280, 1024, 720, 152},   // 5:4
        {1366, 768, 768, 0},      // 768.375 truncates to 768
        {2560, 1080, 1440, -180}, // wider: the area overflows top and bottom
    };
    for (const Case& c : cases) {
        const Letterbox area = letterboxFor(c.width, c.height);
        EXPECT_EQ(area.width, c.width) << c.width << "x" << c.height;
        EXPECT_EQ(area.height, c.areaHeight) << c.width << "x" << c.height;
        EXPECT_EQ(area.y, c.y) << c.width << "x" << c.height;
    }
}

TEST(Letterbox, OddDifferencesTruncateTowardZero) {
    // 1280 wide gives an area 720 high; heights 901 and 539 leave +181 and -181.
    EXPECT_EQ(letterboxFor(1280, 901).y, 90);
    EXPECT_EQ(letterboxFor(1280, 539).y, -90);
}

} // namespace
