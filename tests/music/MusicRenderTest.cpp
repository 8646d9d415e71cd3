// The music as the demo plays it: DUMB renders the embedded module for the demo's 114 s, once
// per test binary, and the cases check its levels and loudness, its drops, stereo width,
// balance and arc, its silent ending, its agreement with libopenmpt, and that each musical cue
// lands on the row where the picture changes.
#include "AudioAnalysis.h"
#include "app/ModuleRenderer.h"
#include "content/Resources.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
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

// Sections of the arrangement, in rows.
constexpr int kDrops[] = {232, 433}; // where a build gives way to the full groove
constexpr int kMainFirstRow = 433;   // the main groove with the lead ...
constexpr int kMainEndRow = 843;     // ... up to the greetings
constexpr int kThemeRows[2] = {433, 529};
constexpr int kClimaxRows[2] = {721, 817};
constexpr int kFinalHitRow = 1413;
constexpr double kAudioCloses = 113.81; // module time at which the demo closes its audio
constexpr double kSilenceDb = -60.0;    // RMS of 0.1 s that counts as silence

double rowTime(int row) {
    return row * Analysis::kRowSeconds;
}

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

namespace {

TEST_F(MusicRender, LoudnessSuitsPlaybackWithTruePeakHeadroom) {
    const Analysis::R128 r = Analysis::measureR128(*dumb);
    ASSERT_TRUE(r.error.empty()) << r.error;
    std::printf("integrated %.1f LUFS, true peak %.1f dBTP\n", r.integrated, r.truePeak);
    EXPECT_GE(r.integrated, -14.0);
    EXPECT_LE(r.integrated, -10.0);
    EXPECT_LE(r.truePeak, -1.0);
}

TEST_F(MusicRender, EachDropHitsHarderThanTheBeatBeforeIt) {
    const Analysis::LoudnessMeter meter(*dumb);
    const double beat = 6 * Analysis::kRowSeconds;
    for (int row : kDrops) {
        const double before = meter.lufs(rowTime(row) - beat, beat);
        const double after = meter.lufs(rowTime(row), beat);
        std::printf("drop at row %d: last beat before %.1f LUFS, first beat after %.1f LUFS\n", row,
                    before, after);
        EXPECT_GE(after - before, 3.0) << "drop at row " << row;
    }
}

TEST_F(MusicRender, ClimaxIsLouderThanTheTheme) {
    const Analysis::LoudnessMeter meter(*dumb);
    // Median short-term (3 s) loudness of the windows that lie inside a span of rows.
    auto shortTerm = [&meter](const int(&rows)[2]) {
        std::vector<double> values;
        for (double t = rowTime(rows[0]); t + 3.0 <= rowTime(rows[1]); t += 0.1)
            values.push_back(meter.lufs(t, 3.0));
        std::nth_element(values.begin(), values.begin() + long(values.size() / 2), values.end());
        return values[values.size() / 2];
    };
    const double theme = shortTerm(kThemeRows), climax = shortTerm(kClimaxRows);
    std::printf("short-term loudness: theme %.1f LUFS, climax %.1f LUFS\n", theme, climax);
    EXPECT_GE(climax - theme, 1.5);
}

TEST_F(MusicRender, MainSectionIsWideAndBassDoesNotSwampTheMix) {
    const double side = Analysis::sideToMidDb(*dumb, rowTime(kMainFirstRow),
                                              rowTime(kMainEndRow) - rowTime(kMainFirstRow));
    const double low = Analysis::energyShareBelow(Analysis::toMono(*dumb), 120.0);
    std::printf("main section side %.1f dB relative to mid; %.0f %% of the energy below 120 Hz\n",
                side, 100 * low);
    EXPECT_GE(side, -14.0);
    EXPECT_LE(low, 0.40);
}

TEST_F(MusicRender, SoundsUntilTheFinalDecayThenStaysSilent) {
    // 0.1 s windows: the final decay ends with the last one that is not silent.
    auto level = [this](double t) { return Analysis::windowRmsDb(*dumb, t, 0.1); };
    double decayEnd = 0;
    for (double t = 0; t + 0.1 <= kDemoSeconds; t += 0.1)
        if (level(t) >= kSilenceDb)
            decayEnd = t + 0.1;
    double quietest = 0, quietestAt = 0;
    for (double t = 0.3; t + 0.1 <= decayEnd; t += 0.1)
        if (level(t) < quietest) {
            quietest = level(t);
            quietestAt = t;
        }
    std::printf("sound from 0.3 s to %.1f s, the quietest 0.1 s of it %.1f dBFS at %.1f s; "
                "silent (below %.0f dBFS) after\n",
                decayEnd, quietest, quietestAt, kSilenceDb);
    EXPECT_GE(quietest, kSilenceDb) << "a silent gap at " << quietestAt << " s";
    EXPECT_GE(decayEnd, rowTime(kFinalHitRow) + 1.0) << "the final hit is cut short";
    EXPECT_LE(decayEnd, kAudioCloses - 0.5) << "still sounding when the demo closes its audio";
}

} // namespace
