// The audio callback: clock anchoring, chunked rendering and silence where nothing rendered.
#include "app/ModuleRenderer.h"
#include "app/Music.h"
#include "content/Resources.h"

#include <dumb.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

class MusicCallback : public ::testing::Test {
protected:
    void TearDown() override { Music::release(); }

    // What the module sounds like from its start, in one go: DUMB's own sample buffer at
    // 44100 Hz, each 24-bit sample rounded to 16 bits and clamped. Built from DUMB directly, so
    // it shares nothing with the renderer behind the callback.
    static std::vector<std::int16_t> reference(long frames) {
        DUMBFILE* file = dumbfile_open_memory(reinterpret_cast<const char*>(moduleData),
                                              static_cast<long>(moduleSize));
        DUH* module = file ? dumb_read_xm_quick(file) : nullptr;
        EXPECT_NE(module, nullptr);
        DUH_SIGRENDERER* renderer = module ? duh_start_sigrenderer(module, 0, 2, 0) : nullptr;
        sample_t** buffer = allocate_sample_buffer(2, frames);
        dumb_silence(buffer[0], 2 * frames);
        const long done =
            renderer
                ? duh_sigrenderer_generate_samples(renderer, 1.0f, 65536.0f / 44100, frames, buffer)
                : 0;
        EXPECT_EQ(done, frames);
        std::vector<std::int16_t> samples(static_cast<size_t>(frames) * 2);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] =
                static_cast<std::int16_t>(std::clamp((buffer[0][i] + 0x80) >> 8, -32768, 32767));
        EXPECT_TRUE(std::any_of(samples.begin(), samples.end(), [](auto s) { return s != 0; }))
            << "a silent reference would not tell the callback's sound apart";
        destroy_sample_buffer(buffer);
        if (renderer)
            duh_end_sigrenderer(renderer);
        if (module)
            unload_duh(module);
        if (file)
            dumbfile_close(file);
        return samples;
    }
};

TEST_F(MusicCallback, FirstCallAnchorsTheClockEvenWithNothingToRender) {
    Music::loadModule(moduleData, moduleSize); // renderer not started: nothing renders
    EXPECT_FALSE(Music::isAnchored());
    std::vector<std::uint8_t> stream(64, 0xAA);
    Music::fillStream(nullptr, stream.data(), static_cast<int>(stream.size()));
    EXPECT_TRUE(Music::isAnchored());
    EXPECT_NEAR(Music::clockSeconds(), 0.186, 0.02);
    EXPECT_EQ(stream, std::vector<std::uint8_t>(64, 0)) << "unrendered bytes must be silence";
}

TEST_F(MusicCallback, OneDeviceBufferIsRenderedExactly) {
    Music::loadModule(moduleData, moduleSize);
    Music::start();
    std::vector<std::int16_t> stream(Audio::kBufferFrames * 2 + 16, 0x5A5A);
    Music::fillStream(nullptr, reinterpret_cast<std::uint8_t*>(stream.data()), Audio::kBufferBytes);
    const auto expected = reference(Audio::kBufferFrames);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), stream.begin()));
    for (size_t i = expected.size(); i < stream.size(); ++i)
        ASSERT_EQ(stream[i], 0x5A5A) << "wrote past the stream at sample " << i;
}

TEST_F(MusicCallback, LargerStreamsAreFilledInChunksWithoutOverrun) {
    Music::loadModule(moduleData, moduleSize);
    Music::start();
    const long frames = Audio::kBufferFrames * 2 + 300; // more than one mix buffer holds
    std::vector<std::int16_t> stream(static_cast<size_t>(frames) * 2 + 16, 0x5A5A);
    Music::fillStream(nullptr, reinterpret_cast<std::uint8_t*>(stream.data()),
                      static_cast<int>(frames * Audio::kBytesPerFrame));
    const auto expected = reference(frames);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), stream.begin()));
    for (size_t i = expected.size(); i < stream.size(); ++i)
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

} // namespace
