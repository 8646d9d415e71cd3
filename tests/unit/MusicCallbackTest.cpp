// The audio callback: clock anchoring, chunked rendering and silence where nothing rendered.
#include "app/ModuleRenderer.h"
#include "app/Music.h"
#include "content/Resources.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class MusicCallback : public ::testing::Test {
protected:
    void TearDown() override { Music::release(); }

    // What the module renders from its start, in one go, independently of the callback.
    static std::vector<std::int16_t> reference(long frames) {
        ModuleRenderer renderer(moduleData, moduleSize);
        EXPECT_TRUE(renderer.isLoaded());
        renderer.start();
        std::vector<std::int16_t> samples(static_cast<size_t>(frames) * 2);
        long done = 0;
        while (done < frames) {
            const long n = renderer.render(&samples[static_cast<size_t>(done) * 2],
                                           std::min<long>(frames - done, 4096));
            if (n <= 0)
                break;
            done += n;
        }
        EXPECT_EQ(done, frames);
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
