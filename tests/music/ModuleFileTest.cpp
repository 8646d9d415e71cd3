// The committed module file: its header, that the tool reproduces it, and that libopenmpt and
// libxmp read the same song structure from it.
#include "content/Resources.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>
#include <xmp.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The song structure the demo's schedule is built on.
constexpr int kOrders = 26;
constexpr int kRestart = 25;
constexpr int kChannels = 8;
constexpr int kPatterns = 22;
constexpr int kInstruments = 9;

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> committed() {
    return readFile(MODULE_PATH);
}

unsigned u16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | unsigned(b[at + 1]) << 8;
}

TEST(ModuleFile, HeaderMatchesTheDemosTable) {
    const std::vector<std::uint8_t> b = committed();
    ASSERT_GE(b.size(), 336u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 17), "Extended Module: ");
    for (std::size_t i = 17; i < 37; ++i)
        EXPECT_EQ(b[i], 0) << "module name byte " << i;
    EXPECT_EQ(b[37], 0x1A);
    // Tracker name: printable text, padded with spaces to 20 bytes.
    const std::string tracker(b.begin() + 38, b.begin() + 58);
    EXPECT_NE(tracker[0], ' ');
    EXPECT_EQ(tracker.back(), ' ');
    for (char c : tracker)
        EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "tracker name holds byte " << int(c);
    EXPECT_EQ(u16(b, 58), 0x0104u);
    EXPECT_EQ(u16(b, 60) | u16(b, 62) << 16, 276u);
    EXPECT_EQ(u16(b, 64), unsigned(kOrders));
    EXPECT_EQ(u16(b, 66), unsigned(kRestart));
    EXPECT_EQ(u16(b, 68), unsigned(kChannels));
    EXPECT_EQ(u16(b, 70), unsigned(kPatterns));
    EXPECT_EQ(u16(b, 72), unsigned(kInstruments));
    EXPECT_EQ(u16(b, 74), 1u);
    EXPECT_EQ(u16(b, 76), 4u);
    EXPECT_EQ(u16(b, 78), 130u);
    for (int i = 0; i < kOrders; ++i)
        EXPECT_LT(b[80 + std::size_t(i)], kPatterns) << "order " << i;
    for (std::size_t i = 80 + kOrders; i < 336; ++i)
        EXPECT_EQ(b[i], 0) << "order table byte " << i;
}

TEST(ModuleFile, IsSmallAndIsWhatTheDemoEmbeds) {
    const std::vector<std::uint8_t> b = committed();
    EXPECT_LE(b.size(), 400u * 1024u);
    ASSERT_EQ(b.size(), moduleSize);
    EXPECT_TRUE(std::equal(b.begin(), b.end(), moduleData));
}

TEST(ModuleFile, ModulegenReproducesItByteForByte) {
    const std::string out = testing::TempDir() + "regenerated_module.xm";
    std::remove(out.c_str());
    const std::string command =
        std::string("\"") + MODULEGEN_PATH + "\" \"" + out + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::vector<std::uint8_t> fresh = readFile(out);
    std::remove(out.c_str());
    const std::vector<std::uint8_t> b = committed();
    ASSERT_EQ(fresh.size(), b.size());
    EXPECT_TRUE(fresh == b) << "content/module.xm is not what modulegen writes now";
}

TEST(ModuleFile, ModulegenReportsAnUnwritablePath) {
    const std::string command =
        std::string("\"") + MODULEGEN_PATH + "\" /nonexistent-dir/module.xm > /dev/null 2>&1";
    EXPECT_NE(std::system(command.c_str()), 0);
}

TEST(ModuleFile, LibopenmptReadsTheSongStructure) {
    const std::vector<std::uint8_t> b = committed();
    openmpt::module mod(b);
    EXPECT_EQ(mod.get_num_channels(), kChannels);
    EXPECT_EQ(mod.get_num_patterns(), kPatterns);
    EXPECT_EQ(mod.get_num_instruments(), kInstruments);
    EXPECT_EQ(mod.get_num_orders(), kOrders);
    // Play past the end of the song: playback must carry on from the restart order.
    mod.set_repeat_count(-1);
    const double length = mod.get_duration_seconds();
    mod.set_position_seconds(length - 0.05);
    std::vector<std::int16_t> buffer(2 * 44100);
    mod.read_interleaved_stereo(44100, 44100, buffer.data());
    EXPECT_EQ(mod.get_current_order(), kRestart);
}

TEST(ModuleFile, LibxmpReadsTheSameSongStructure) {
    const std::vector<std::uint8_t> b = committed();
    xmp_context ctx = xmp_create_context();
    ASSERT_EQ(xmp_load_module_from_memory(ctx, const_cast<std::uint8_t*>(b.data()), long(b.size())),
              0);
    xmp_module_info info;
    xmp_get_module_info(ctx, &info);
    EXPECT_EQ(info.mod->chn, kChannels);
    // libxmp's XM loader appends one empty pattern of its own after the stored ones.
    EXPECT_EQ(info.mod->pat - 1, kPatterns);
    EXPECT_EQ(info.mod->ins, kInstruments);
    EXPECT_EQ(info.mod->len, kOrders);
    EXPECT_EQ(info.mod->rst, kRestart);
    xmp_release_module(ctx);
    xmp_free_context(ctx);
}

} // namespace
