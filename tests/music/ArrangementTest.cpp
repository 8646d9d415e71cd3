// The arrangement read from the pattern data: drops on the build's pulse, chord changes on bar
// lines, drum fills and variation, a fuller climax, and where each instrument sits in the stereo
// field.
#include "SongRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

using Song::BassCh;
using Song::HatCh;
using Song::KickCh;
using Song::LeadCh;
using Song::PadCh;
using Song::SnareCh;

constexpr int kBeat = 6;       // rows of a 4/4 beat
constexpr int kBar = 24;       // rows of a 4/4 bar
constexpr int kShuffle = 39;   // rows of a 12/8 bar
constexpr int kBuildRows = 33; // each build: five beats and an odd half beat

// Runs of whole bars on one grid: first row, bar length, number of bars.
struct Grid {
    int first, bar, bars;
    const char* name;
};
void PrintTo(const Grid& g, std::ostream* os) {
    *os << g.name;
}

const Grid kDrop{232, kBar, 7, "drop"};
const Grid kMain{433, kBar, 17, "main"};
const Grid kGreetings{843, kShuffle, 12, "greetings"};

const SongRows& song() {
    static const SongRows rows(Song::compose());
    return rows;
}

class Drop : public testing::TestWithParam<int> {};

TEST_P(Drop, LandsOnTheBuildsPulseWithABigKickAndACrash) {
    const int drop = GetParam();
    const SongRows& s = song();
    int pulses = 0;
    // The build's first row may close the phrase before it; from then on every kick is on the
    // drop's beat, so the odd half beat comes first.
    for (int r = drop - kBuildRows + 1; r < drop; ++r)
        if (s.plays(r, KickCh, Instruments::Kick)) {
            EXPECT_EQ((drop - r) % kBeat, 0) << "kick off the pulse at row " << r;
            ++pulses;
        }
    EXPECT_GE(pulses, 3) << "the build has no pulse";
    EXPECT_TRUE(s.plays(drop, KickCh, Instruments::Kick));
    // A big kick: clearly louder than the other kicks of the bar it opens.
    for (int r = drop + 1; r < drop + kBar; ++r)
        if (s.plays(r, KickCh, Instruments::Kick)) {
            EXPECT_GE(s.at(drop, KickCh).volume, s.at(r, KickCh).volume + 8) << "row " << r;
        }
    EXPECT_TRUE(s.playsAnywhere(drop, Instruments::Crash)) << "no crash on the drop";
}

INSTANTIATE_TEST_SUITE_P(Arrangement, Drop, testing::Values(232, 433));

// Kick, snare and hat cells of bar `b`, for comparing bars.
std::vector<Xm::Cell> drums(const Grid& g, int b) {
    std::vector<Xm::Cell> out;
    for (int r = g.first + b * g.bar; r < g.first + (b + 1) * g.bar; ++r)
        for (int ch : {KickCh, SnareCh, HatCh})
            out.push_back(song().at(r, ch));
    return out;
}

std::string gridName(const testing::TestParamInfo<Grid>& info) {
    return info.param.name;
}

class BarGrid : public testing::TestWithParam<Grid> {};

TEST_P(BarGrid, ChordsChangeOnBarLines) {
    const Grid g = GetParam();
    const SongRows& s = song();
    int last = 0;
    for (int r = g.first; r < g.first + g.bars * g.bar; ++r) {
        const Xm::Cell& c = s.at(r, PadCh);
        if (!s.plays(r, PadCh, Instruments::Pad))
            continue;
        if (last && c.note != last) {
            EXPECT_EQ((r - g.first) % g.bar, 0) << g.name << ": chord changes at row " << r;
        }
        last = c.note;
    }
}

TEST_P(BarGrid, NoDrumBarRepeatsUnchangedForMoreThanEightBars) {
    const Grid g = GetParam();
    int run = 1, longest = 1;
    for (int b = 1; b < g.bars; ++b) {
        run = drums(g, b) == drums(g, b - 1) ? run + 1 : 1;
        longest = std::max(longest, run);
    }
    std::printf("%s: longest run of one drum bar: %d bars\n", g.name, longest);
    EXPECT_LE(longest, 8) << g.name;
}

INSTANTIATE_TEST_SUITE_P(Arrangement, BarGrid, testing::Values(kDrop, kMain, kGreetings), gridName);

class Fills : public testing::TestWithParam<Grid> {};

TEST_P(Fills, EveryFourthBarIsAFill) {
    const Grid g = GetParam();
    // A groove bar has a backbeat on the snare channel (two or four hits); a fill rolls.
    for (int b = 3; b < g.bars; b += 4) {
        int hits = 0;
        for (int r = g.first + b * g.bar; r < g.first + (b + 1) * g.bar; ++r)
            hits += song().plays(r, SnareCh, Instruments::Snare);
        EXPECT_GE(hits, 5) << g.name << ": bar " << b + 1 << " is no fill";
        EXPECT_TRUE(drums(g, b) != drums(g, b - 1)) << g.name << ": bar " << b + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Arrangement, Fills, testing::Values(kMain, kGreetings), gridName);

TEST(Arrangement, ClimaxPlaysMoreNotesThanTheTheme) {
    auto notes = [](int from, int to) {
        int n = 0;
        for (int r = from; r < to; ++r)
            for (int ch = 0; ch < Song::kChannels; ++ch)
                n += song().at(r, ch).note >= 1 && song().at(r, ch).note <= 96;
        return n;
    };
    const int theme = notes(433, 529), climax = notes(721, 817);
    std::printf("notes in four bars: theme %d, climax %d\n", theme, climax);
    EXPECT_GE(climax, theme * 11 / 10);
}

TEST(Arrangement, KickBassAndLeadSitInTheMiddleAndNothingIsHardPanned) {
    const Xm::Module m = Song::buildModule();
    for (std::size_t i = 0; i < m.instruments.size(); ++i)
        for (const Xm::Sample& sample : m.instruments[i].samples) {
            const int id = int(i) + 1;
            if (id == Instruments::Kick || id == Instruments::Bass || id == Instruments::Lead) {
                EXPECT_EQ(sample.panning, 0x80) << sample.name;
            }
            EXPECT_GE(sample.panning, 0x20) << sample.name;
            EXPECT_LE(sample.panning, 0xE0) << sample.name;
        }
    constexpr int kSetPanning = 0x08;
    const SongRows& s = song();
    for (int r = 0; r < s.count(); ++r)
        for (int ch = 0; ch < Song::kChannels; ++ch) {
            const Xm::Cell& c = s.at(r, ch);
            if (c.effect != kSetPanning)
                continue;
            EXPECT_TRUE(ch != KickCh && ch != BassCh && ch != LeadCh) << "row " << r;
            EXPECT_GE(c.param, 0x20) << "row " << r;
            EXPECT_LE(c.param, 0xE0) << "row " << r;
        }
}

} // namespace
