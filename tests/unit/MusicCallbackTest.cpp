// The audio callback and the module stream behind it: clock anchoring, block-exact rendering
// from any position, and silence where the module has nothing.
#include "app/ModuleRenderer.h"
#include "app/ModuleStream.h"
#include "app/Music.h"
#include "content/Resources.h"

#include <SDL.h>
#include <dumb.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// What the module renders from its start in whole device buffers, as the live callback renders
// it: DUMB's own sample buffers at 44100 Hz, each 24-bit sample rounded to 16 bits and clamped.
// Built from DUMB directly, so it shares nothing with the renderer behind the callback.
std::vector<std::int16_t> reference(long frames) {
    DUMBFILE* file = dumbfile_open_memory(reinterpret_cast<const char*>(moduleData),
                                          static_cast<long>(moduleSize));
    DUH* module = file ? dumb_read_xm_quick(file) : nullptr;
    EXPECT_NE(module, nullptr);
    DUH_SIGRENDERER* renderer = module ? duh_start_sigrenderer(module, 0, 2, 0) : nullptr;
    sample_t** block = allocate_sample_buffer(2, Audio::kBufferFrames);
    std::vector<std::int16_t> samples(static_cast<size_t>(frames) * 2);
    for (long done = 0; done < frames && renderer; done += Audio::kBufferFrames) {
        dumb_silence(block[0], 2 * Audio::kBufferFrames);
        EXPECT_EQ(duh_sigrenderer_generate_samples(renderer, 1.0f, 65536.0f / 44100,
                                                   Audio::kBufferFrames, block),
                  Audio::kBufferFrames);
        const long keep = std::min<long>(Audio::kBufferFrames, frames - done);
        for (long i = 0; i < keep * 2; ++i)
            samples[static_cast<size_t>(done * 2 + i)] =
                static_cast<std::int16_t>(std::clamp((block[0][i] + 0x80) >> 8, -32768, 32767));
    }
    // The module sounds within its first device buffer.
    EXPECT_TRUE(frames < Audio::kBufferFrames ||
                std::any_of(samples.begin(), samples.end(), [](auto s) { return s != 0; }))
        << "a silent reference would not tell the callback's sound apart";
    destroy_sample_buffer(block);
    if (renderer)
        duh_end_sigrenderer(renderer);
    if (module)
        unload_duh(module);
    if (file)
        dumbfile_close(file);
    return samples;
}

class MusicCallback : public ::testing::Test {
protected:
    void TearDown() override { Music::release(); }
};

TEST_F(MusicCallback, FirstCallAnchorsTheClockAndPlaysFromTheStart) {
    Music::loadModule(moduleData, moduleSize);
    EXPECT_FALSE(Music::isAnchored());
    std::vector<std::int16_t> stream(Audio::kBufferFrames * 2 + 16, 0x5A5A);
    const std::uint32_t before = SDL_GetTicks();
    Music::fillStream(nullptr, reinterpret_cast<std::uint8_t*>(stream.data()), Audio::kBufferBytes);
    EXPECT_TRUE(Music::isAnchored());
    // One device buffer (185.76 ms, truncated) ahead of the callback, plus however long the
    // callback and this reading took on a busy machine.
    const double clock = Music::clockSeconds();
    const double took = (SDL_GetTicks() - before) / 1000.0;
    EXPECT_GE(clock, 0.185);
    EXPECT_LE(clock, 0.186 + took);
    const auto expected = reference(Audio::kBufferFrames);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), stream.begin()));
    for (size_t i = expected.size(); i < stream.size(); ++i)
        ASSERT_EQ(stream[i], 0x5A5A) << "wrote past the stream at sample " << i;
}

// A callback that comes long after the clock started finds the music behind it: the clock then
// reads the demo time of what that callback renders, the frames after those handed over before.
TEST_F(MusicCallback, LateCallbackTakesTheClockBackToTheMusic) {
    Music::loadModule(moduleData, moduleSize);
    Music::start(); // no device: the clock runs from now, 0 s
    std::vector<std::int16_t> stream(Audio::kBufferFrames * 2);
    auto fill = [&] {
        Music::fillStream(nullptr, reinterpret_cast<std::uint8_t*>(stream.data()),
                          Audio::kBufferBytes);
    };
    fill();
    SDL_Delay(600); // the second buffer's music (0.372 s) is due at 0.186 s
    const std::uint32_t before = SDL_GetTicks();
    fill();
    const double clock = Music::clockSeconds();
    const double took = (SDL_GetTicks() - before) / 1000.0;
    EXPECT_GE(clock, 0.371); // two buffers' time, truncated
    EXPECT_LE(clock, 0.372 + took);
}

TEST_F(MusicCallback, LargerAndUnevenStreamsContinueWithoutOverrun) {
    Music::loadModule(moduleData, moduleSize);
    Music::start();
    const long frames = Audio::kBufferFrames * 2 + 300; // more than one device buffer
    std::vector<std::int16_t> stream(static_cast<size_t>(frames) * 2 + 16, 0x5A5A);
    // A trailing partial frame is silenced, never filled from the module.
    Music::fillStream(nullptr, reinterpret_cast<std::uint8_t*>(stream.data()),
                      static_cast<int>(frames * Audio::kBytesPerFrame) + 2);
    const auto expected = reference(frames);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), stream.begin()));
    EXPECT_EQ(stream[expected.size()], 0);
    for (size_t i = expected.size() + 1; i < stream.size(); ++i)
        ASSERT_EQ(stream[i], 0x5A5A) << "wrote past the stream at sample " << i;
}

TEST_F(MusicCallback, UnreadableModulePlaysSilenceButStillRunsTheClock) {
    const unsigned char notAModule[] = "Extended Module: but nothing else";
    Music::loadModule(notAModule, sizeof notAModule);
    Music::start();
    EXPECT_TRUE(Music::isAnchored());
    std::vector<std::uint8_t> stream(4096, 0xAA);
    Music::fillStream(nullptr, stream.data(), static_cast<int>(stream.size()));
    EXPECT_EQ(stream, std::vector<std::uint8_t>(4096, 0));
}

// Starting part-way plays on from the frame heard at that demo time, with the clock at that time;
// starting over (a loop's next pass) plays the module from its beginning with the clock at 0.
TEST_F(MusicCallback, StartsPartWayAndOverOnTheClock) {
    for (const double from : {0.1, 40.0}) {
        Music::loadModule(moduleData, moduleSize); // no device: the clock anchors on starting
        Music::startFrom(from);
        EXPECT_NEAR(Music::clockSeconds(), from, 0.5) << from;
        const long first = static_cast<long>(moduleFrameAtDemoTime(from));
        const auto expected = reference(std::max(first, 0L) + Audio::kBufferFrames);
        std::vector<std::int16_t> stream(Audio::kBufferFrames * 2);
        Music::fillStream(nullptr, reinterpret_cast<std::uint8_t*>(stream.data()),
                          Audio::kBufferBytes);
        for (long i = 0; i < Audio::kBufferFrames * 2; ++i) {
            const long sample = first * 2 + i;
            ASSERT_EQ(stream[i], sample < 0 ? 0 : expected[sample]) << from << " s, sample " << i;
        }

        Music::start();
        EXPECT_NEAR(Music::clockSeconds(), 0.0, 0.5) << from;
        Music::fillStream(nullptr, reinterpret_cast<std::uint8_t*>(stream.data()),
                          Audio::kBufferBytes);
        EXPECT_TRUE(std::equal(stream.begin(), stream.end(), expected.begin())) << from;
        Music::release();
    }
}

// A stream positioned anywhere (before the start, inside a block, on a block's edge, back
// from further on) and read in chunks of any size gives exactly what a run from frame 0 gives.
struct Position {
    long first;      // module frame to seek to; negative means silence first
    long readChunk;  // frames per read call
    long visitFirst; // frame to seek to and read from before, to test going back and forth
};

class ModuleStreamPosition : public ::testing::TestWithParam<Position> {};

TEST_P(ModuleStreamPosition, MatchesARunFromTheStart) {
    const Position p = GetParam();
    constexpr long kFrames = 3 * Audio::kBufferFrames + 777;
    const long end = p.first + kFrames;
    const auto expected = reference(std::max(end, 1L));

    ModuleStream stream(moduleData, moduleSize);
    ASSERT_TRUE(stream.isLoaded());
    std::vector<std::int16_t> scratch(static_cast<size_t>(p.readChunk) * 2);
    if (p.visitFirst >= 0) {
        stream.seek(p.visitFirst);
        stream.read(scratch.data(), p.readChunk);
    }
    stream.seek(p.first);
    std::vector<std::int16_t> got(static_cast<size_t>(kFrames) * 2, 0x5A5A);
    for (long done = 0; done < kFrames; done += p.readChunk)
        stream.read(&got[static_cast<size_t>(done) * 2], std::min(p.readChunk, kFrames - done));
    EXPECT_EQ(stream.position(), end);

    for (long i = 0; i < kFrames; ++i) {
        const long frame = p.first + i;
        for (int c = 0; c < 2; ++c) {
            const std::int16_t want = frame < 0 ? 0 : expected[static_cast<size_t>(frame) * 2 + c];
            ASSERT_EQ(got[static_cast<size_t>(i) * 2 + c], want) << "module frame " << frame;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Seeks, ModuleStreamPosition,
    ::testing::Values(Position{0, Audio::kBufferFrames, -1},
                      Position{-Audio::kLeadFrames, 1000, -1}, Position{-5, 3, -1},
                      Position{Audio::kBufferFrames, 8191, -1},
                      Position{2 * Audio::kBufferFrames + 4321, 5000, -1},
                      Position{1234, 777, 5 * Audio::kBufferFrames},
                      Position{3 * Audio::kBufferFrames - 1, 9000, 3 * Audio::kBufferFrames + 10}));

TEST(ModuleStreamSilence, UnreadableModuleGivesSilence) {
    const unsigned char notAModule[] = "Extended Module: but nothing else";
    ModuleStream stream(notAModule, sizeof notAModule);
    EXPECT_FALSE(stream.isLoaded());
    stream.seek(-10);
    std::vector<std::int16_t> got(2 * Audio::kBufferFrames, 0x5A5A);
    stream.read(got.data(), Audio::kBufferFrames);
    EXPECT_EQ(got, std::vector<std::int16_t>(got.size(), 0));
}

TEST(DemoTimeToModuleFrame, LeadsByOneDeviceBuffer) {
    EXPECT_EQ(moduleFrameAtDemoTime(0.0), -Audio::kBufferFrames);
    EXPECT_EQ(moduleFrameAtDemoTime(18.0), 18 * 44100 - 8192);
    EXPECT_EQ(moduleFrameAtDemoTime(8192.0 / 44100.0), 0);
}

} // namespace
