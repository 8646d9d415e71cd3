// Single voices of the module as DUMB plays them alone: the kick's attack and pitch, and the pad's
// level across chord changes.
#include "AudioAnalysis.h"
#include "SongRows.h"
#include "Synth.h"
#include "XmWriter.h"
#include "app/ModuleRenderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// DUMB's render of `m` from its start, `seconds` long.
std::vector<std::int16_t> render(const Xm::Module& m, double seconds) {
    const std::vector<std::uint8_t> bytes = Xm::writeModule(m);
    ModuleRenderer renderer(bytes.data(), std::uint32_t(bytes.size()));
    EXPECT_TRUE(renderer.isLoaded());
    renderer.start();
    const long frames = long(seconds * Analysis::kRate);
    std::vector<std::int16_t> out(std::size_t(frames) * 2);
    for (long done = 0; done < frames;) {
        const long got = renderer.render(out.data() + 2 * done, std::min(8192L, frames - done));
        if (got <= 0)
            break;
        done += got;
    }
    return out;
}

// Energy of `x` in [from, from + length) seconds after a fourth-order filter made of two
// `filter` sections, run from the signal's start so that the window does not smear the spectrum.
double filteredEnergy(const std::vector<float>& x, const Synth::Biquad& filter, double from,
                      double length) {
    Synth::Biquad first = filter, second = filter;
    double sum = 0;
    for (std::size_t i = 0; i < x.size() && double(i) < (from + length) * Analysis::kRate; ++i) {
        const double y = second.process(first.process(x[i]));
        if (double(i) >= from * Analysis::kRate)
            sum += y * y;
    }
    return sum;
}

std::vector<float> slice(const std::vector<float>& x, double from, double length) {
    const std::size_t a = std::min(x.size(), std::size_t(from * Analysis::kRate));
    const std::size_t b = std::min(x.size(), std::size_t((from + length) * Analysis::kRate));
    return {x.begin() + long(a), x.begin() + long(b)};
}

TEST(SoundDesign, KickHasAnAudibleAttackOverALowFundamental) {
    Xm::Module m = Song::buildModule();
    Xm::Pattern p(64, Song::kChannels);
    p.at(0, Song::KickCh) = {49, Instruments::Kick, 0x50, 0, 0};
    m.patterns = {p};
    m.orders = {0};
    m.restart = 0;
    const std::vector<float> kick = Analysis::toMono(render(m, 0.5));
    const double onset = double(std::find_if(kick.begin(), kick.end(),
                                             [](float v) { return std::fabs(v) > 1e-3f; }) -
                                kick.begin()) /
                         Analysis::kRate;
    const double rate = Analysis::kRate;
    const double high =
        filteredEnergy(kick, Synth::Biquad::highPass(rate, 1000, 0.7071), onset, 0.01);
    const double low = filteredEnergy(kick, Synth::Biquad::lowPass(rate, 150, 0.7071), onset, 0.01);
    const double clickDb = 10 * std::log10(high / low);
    const double fundamental = Analysis::peakFrequency(slice(kick, onset + 0.04, 0.3), 30, 200);
    std::printf("kick: first 10 ms above 1 kHz %.1f dB against below 150 Hz; fundamental %.1f Hz\n",
                clickDb, fundamental);
    EXPECT_GE(clickDb, -20.0);
    EXPECT_GE(fundamental, 50.0);
    EXPECT_LE(fundamental, 60.0);
}

TEST(SoundDesign, PadHoldsItsLevelAcrossChordChanges) {
    Xm::Module m = Song::buildModule();
    for (Xm::Pattern& p : m.patterns)
        for (int r = 0; r < p.rows; ++r)
            for (int ch = 0; ch < p.channels; ++ch)
                if (ch != Song::PadCh)
                    p.at(r, ch) = Xm::Cell{};
    const std::vector<std::int16_t> pad = render(m, 114.0);
    auto level = [&pad](double t, double length) { return Analysis::windowRmsDb(pad, t, length); };
    const SongRows s(Song::compose());
    int changes = 0, lastNote = 0;
    double deepest = 0;
    int deepestRow = 0;
    for (int r = 0; r < s.count(); ++r) {
        const Xm::Cell& c = s.at(r, Song::PadCh);
        if (c.note == Xm::kKeyOff)
            lastNote = 0;
        if (c.note < 1 || c.note > 96)
            continue;
        if (lastNote) {
            // The trough of 20 ms windows in 5 ms steps from just before the change to 0.15 s
            // after it, against the quieter of the levels before and after.
            const double t = r * Analysis::kRowSeconds;
            const double around = std::min(level(t - 0.08, 0.07), level(t + 0.15, 0.1));
            double trough = 0;
            for (double u = t - 0.02; u < t + 0.15; u += 0.005)
                trough = std::min(trough, level(u, 0.02));
            if (around - trough > deepest) {
                deepest = around - trough;
                deepestRow = r;
            }
            ++changes;
        }
        lastNote = c.note;
    }
    std::printf("pad: %d chord changes, deepest dip %.1f dB at row %d\n", changes, deepest,
                deepestRow);
    EXPECT_GT(changes, 20);
    EXPECT_LE(deepest, 6.0) << "at row " << deepestRow;
}

} // namespace
