// The music as the demo plays it: DUMB renders the embedded module for the demo's 114 s, once
// per test binary, and the cases check its levels, its agreement with libopenmpt, and that each
// musical cue lands on the row where the picture changes.
#include "AudioAnalysis.h"
#include "app/ModuleRenderer.h"
#include "content/Resources.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double kDemoSeconds = 114.0;
constexpr long kDemoFrames = long(kDemoSeconds * Analysis::kRate);

// Rows where the picture changes and the music must answer with an onset or a change of sound.
struct Cue {
    int row;
    const char* what;
};
const Cue kCues[] = {
    {17, "first caption"},       {50, "star starts"},           {104, "third caption"},
    {199, "last title caption"}, {232, "drop: drums and bass"}, {316, "red light layer"},
    {401, "highlights layer"},   {433, "full groove and lead"}, {1343, "outro begins"},
    {1413, "final hit"},
};
constexpr int kGreetingsFirstRow = 843; // then a caption every 39 rows up to row 1389
constexpr int kGreetingsStep = 39;
constexpr int kGreetingsSteps = 15;

class MusicRender : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ModuleRenderer renderer(moduleData, moduleSize);
        ASSERT_TRUE(renderer.isLoaded());
        renderer.start();
        dumb = new std::vector<std::int16_t>(std::size_t(kDemoFrames) * 2);
        long done = 0;
        while (done < kDemoFrames) {
            const long want = std::min<long>(Audio::kBufferFrames, kDemoFrames - done);
            const long got = renderer.render(dumb->data() + 2 * done, want);
            if (got <= 0)
                break;
            done += got;
        }
        rendered = done;
    }
    static void TearDownTestSuite() {
        delete dumb;
        dumb = nullptr;
    }

    static std::vector<std::int16_t>* dumb;
    static long rendered;
};
std::vector<std::int16_t>* MusicRender::dumb = nullptr;
long MusicRender::rendered = 0;

TEST_F(MusicRender, PlaysForTheWholeDemo) {
    EXPECT_EQ(rendered, kDemoFrames);
}

TEST_F(MusicRender, NeverClipsAndIsLoudEnoughForAHall) {
    const double peak = Analysis::peakDb(*dumb);
    double loudest = -200, quietest = 200, quietestAt = 0;
    for (double t = 0; t + 0.5 <= kDemoSeconds; t += 0.05) {
        const double db = Analysis::windowRmsDb(*dumb, t, 0.5);
        loudest = std::max(loudest, db);
        if (t >= 0.3 && t + 0.5 <= 110.0 && db < quietest) {
            quietest = db;
            quietestAt = t;
        }
    }
    std::printf(
        "peak %.2f dBFS, loudest 0.5 s window %.2f dBFS RMS, quietest %.2f dBFS at %.2f s\n", peak,
        loudest, quietest, quietestAt);
    EXPECT_LE(peak, -1.0);
    EXPECT_GE(loudest, -16.0);
    EXPECT_LE(loudest, -8.0);
    EXPECT_GT(quietest, -40.0) << "dead air at " << quietestAt << " s";
}

TEST_F(MusicRender, LibopenmptHearsTheSameLoudnessOverTime) {
    openmpt::module mod(moduleData, moduleSize);
    mod.set_repeat_count(-1);
    std::vector<std::int16_t> other(std::size_t(kDemoFrames) * 2);
    long done = 0;
    while (done < kDemoFrames) {
        const std::size_t want = std::size_t(std::min<long>(8192, kDemoFrames - done));
        const std::size_t got =
            mod.read_interleaved_stereo(Analysis::kRate, want, other.data() + 2 * done);
        if (got == 0)
            break;
        done += long(got);
    }
    ASSERT_EQ(done, kDemoFrames);
    const double r =
        Analysis::correlation(Analysis::rmsEnvelope(*dumb, 0.5), Analysis::rmsEnvelope(other, 0.5));
    std::printf("DUMB / libopenmpt RMS envelope correlation %.4f\n", r);
    EXPECT_GE(r, 0.9);
}

TEST_F(MusicRender, EachCueLandsOnItsRow) {
    const Analysis::RowFeatures f = Analysis::rowFeatures(Analysis::toMono(*dumb));
    std::vector<Cue> cues(std::begin(kCues), std::end(kCues));
    for (int i = 0; i < kGreetingsSteps; ++i)
        cues.push_back({kGreetingsFirstRow + i * kGreetingsStep, "greetings caption"});
    // A cue must be the strongest onset, or the largest change of spectrum, among the rows
    // within 5 of it, and that peak must lie within 2 rows of the cue.
    for (const Cue& cue : cues) {
        const int onsetPeak = Analysis::peakRow(f.onset, cue.row, 5);
        const int changePeak = Analysis::peakRow(f.change, cue.row, 5);
        std::printf("row %4d %-22s onset peak %+d (%.1f)  change peak %+d (%.2f)\n", cue.row,
                    cue.what, onsetPeak - cue.row, f.onset[std::size_t(onsetPeak)],
                    changePeak - cue.row, f.change[std::size_t(changePeak)]);
        const bool onsetHits = std::abs(onsetPeak - cue.row) <= 2;
        const bool changeHits = std::abs(changePeak - cue.row) <= 2;
        EXPECT_TRUE(onsetHits || changeHits) << "row " << cue.row << " (" << cue.what << ")";
    }
}

} // namespace
