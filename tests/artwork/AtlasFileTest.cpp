// The committed atlases' PNG file layout: chunk order and sizes, header fields, and pngcheck's
// view.
#include "PngChunks.h"

#include <gtest/gtest.h>

namespace {

struct AtlasFile {
    const char* name;
    std::uint32_t width, height;
};

void PrintTo(const AtlasFile& atlas, std::ostream* os) {
    *os << atlas.name;
}

class AtlasFileTest : public ::testing::TestWithParam<AtlasFile> {
protected:
    std::string path() const { return std::string(CONTENT_DIR) + "/" + GetParam().name; }
};

TEST_P(AtlasFileTest, ChunksAreHeaderSignificantBitsDensityDataAndEnd) {
    const std::vector<PngChunk> chunks = parsePngChunks(readFileBytes(path()));
    ASSERT_GE(chunks.size(), 5u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[1].type, "sBIT");
    EXPECT_EQ(chunks[2].type, "pHYs");
    EXPECT_EQ(chunks.back().type, "IEND");
    EXPECT_EQ(chunks.back().length, 0u);
    for (size_t i = 3; i + 1 < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].type, "IDAT") << "chunk " << i;
        if (i + 2 < chunks.size()) {
            EXPECT_EQ(chunks[i].length, 8192u) << "IDAT chunk " << i << " is not the last";
        } else {
            EXPECT_GT(chunks[i].length, 0u);
            EXPECT_LE(chunks[i].length, 8192u);
        }
    }
    for (const PngChunk& chunk : chunks) {
        EXPECT_TRUE(chunk.crcMatches) << chunk.type;
    }
}

TEST_P(AtlasFileTest, HeaderIsNonInterlacedEightBitRgbaAtTheAtlasSize) {
    const std::vector<PngChunk> chunks = parsePngChunks(readFileBytes(path()));
    ASSERT_GE(chunks.size(), 3u);
    const PngChunk& ihdr = chunks[0];
    ASSERT_EQ(ihdr.length, 13u);
    EXPECT_EQ(bigEndian32(&ihdr.data[0]), GetParam().width);
    EXPECT_EQ(bigEndian32(&ihdr.data[4]), GetParam().height);
    EXPECT_EQ(ihdr.data[8], 8) << "bit depth";
    EXPECT_EQ(ihdr.data[9], 6) << "colour type RGBA";
    EXPECT_EQ(ihdr.data[10], 0) << "compression";
    EXPECT_EQ(ihdr.data[11], 0) << "filter method";
    EXPECT_EQ(ihdr.data[12], 0) << "interlace";

    const PngChunk& sbit = chunks[1];
    EXPECT_EQ(sbit.data, std::vector<std::uint8_t>({8, 8, 8, 8}));

    const PngChunk& phys = chunks[2];
    ASSERT_EQ(phys.length, 9u);
    EXPECT_EQ(bigEndian32(&phys.data[0]), 2835u);
    EXPECT_EQ(bigEndian32(&phys.data[4]), 2835u);
    EXPECT_EQ(phys.data[8], 1) << "unit: metre";
}

TEST_P(AtlasFileTest, PngcheckFindsNoErrorAndListsTheSameChunks) {
    int status = 0;
    std::string output;
    const std::vector<CheckedChunk> checked = pngcheckChunks(path(), status, output);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("No errors detected"), std::string::npos) << output;

    const std::vector<PngChunk> parsed = parsePngChunks(readFileBytes(path()));
    ASSERT_EQ(checked.size(), parsed.size()) << output;
    for (size_t i = 0; i < parsed.size(); ++i) {
        EXPECT_EQ(checked[i].type, parsed[i].type) << "chunk " << i;
        EXPECT_EQ(checked[i].length, parsed[i].length) << "chunk " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Atlases, AtlasFileTest,
                         ::testing::Values(AtlasFile{"title_atlas.png", 2048, 2048},
                                           AtlasFile{"greetings_atlas.png", 2048, 512}),
                         [](const ::testing::TestParamInfo<AtlasFile>& info) {
                             return std::string(info.param.height == 2048 ? "Title" : "Greetings");
                         });

} // namespace
