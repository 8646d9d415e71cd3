// The nine synthesised instruments of the module, each rendered from fixed-seed DSP.
#include "Instruments.h"

#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace Instruments {
namespace {

using Synth::Signal;

constexpr int kNoteC4 = 49; // pattern note whose pitch is 8363 / 32 Hz

// Ticks of the song's clock (4 ticks a row, 52 a second), for envelope points.
constexpr std::uint16_t ticks(double seconds) {
    return std::uint16_t(seconds * 52.0 + 0.5);
}

// A sample rendered at rateForSemitones(k) that plays at its own rate on note C-4.
Xm::Sample percussionSample(const char* name, const Signal& s, int k) {
    Xm::Sample out;
    out.name = name;
    out.pcm = Synth::toPcm16(s);
    out.relativeNote = std::int8_t(k);
    return out;
}

// Relative note for a tonal sample rendered at rateForSemitones(k) whose own pitch is that of
// pattern note `nativeNote`.
std::int8_t relativeNoteFor(int k, int nativeNote) {
    return std::int8_t(k - (nativeNote - kNoteC4));
}

// Rounds off the highest peaks of `s` with a soft clip of strength `drive` (applied at full
// scale): the tone keeps its body and gains a little warmth while its crest factor falls, so it
// adds fewer peaks to the mix for the same loudness.
void softClip(Signal& s, double drive) {
    Synth::normalise(s, 1.0);
    for (double& v : s)
        v = std::tanh(drive * v) / std::tanh(drive);
}

Xm::Instrument single(const char* name, Xm::Sample sample) {
    Xm::Instrument ins;
    ins.name = name;
    ins.samples.push_back(std::move(sample));
    return ins;
}

Xm::Envelope envelope(std::vector<Xm::EnvelopePoint> points, int sustain = -1) {
    Xm::Envelope e;
    e.points = std::move(points);
    e.sustain = sustain;
    return e;
}

// Replaces the last `fade` frames of the loop [start, start + length) by a crossfade into the
// frames just before `start`, so that the jump from the loop's end back to its start is smooth.
void crossfadeLoop(Signal& s, int start, int length, int fade) {
    for (int i = 0; i < fade; ++i) {
        const double w = double(i + 1) / (fade + 1);
        const std::size_t end = std::size_t(start + length - fade + i);
        s[end] = s[end] * (1 - w) + s[std::size_t(start - fade + i)] * w;
    }
}

// A harmonic tone with period `period` frames whose harmonic amplitudes follow amp(h, t) for
// `attackPeriods` periods, then hold their last values over a one-period loop.
Xm::Sample periodicTone(const char* name, int k, int period, int attackPeriods, int harmonics,
                        const std::function<double(int, double)>& amp, std::uint32_t seed) {
    const double rate = Synth::rateForSemitones(k);
    const int attack = attackPeriods * period;
    Synth::Noise noise(seed);
    std::vector<double> phase(std::size_t(harmonics + 1));
    for (double& p : phase)
        p = Synth::kPi * noise.next();
    Signal s(std::size_t(attack + period), 0.0);
    for (int n = 0; n < attack + period; ++n) {
        const double t = std::min(n, attack) / rate;
        double v = 0;
        for (int h = 1; h <= harmonics; ++h)
            v += amp(h, t) * std::sin(2 * Synth::kPi * h * n / period + phase[std::size_t(h)]);
        s[std::size_t(n)] = v;
    }
    Synth::normalise(s, 0.95);
    Xm::Sample out;
    out.name = name;
    out.pcm = Synth::toPcm16(s);
    out.loop = Xm::Loop::Forward;
    out.loopStart = std::uint32_t(attack);
    out.loopLength = std::uint32_t(period);
    return out;
}

// --- percussion -------------------------------------------------------------------------------

// A punchy kick: a 3 ms click and a pitch drop from about 470 Hz onto a 55 Hz body, driven into
// a soft clip for harmonics that small speakers can reproduce, with a short low tail.
Xm::Instrument kick() {
    const int k = 12; // 16726 Hz
    const double rate = Synth::rateForSemitones(k);
    const int n = int(0.38 * rate);
    Synth::Noise noise(0x4B1C4u);
    Synth::Biquad clickBand = Synth::Biquad::bandPass(rate, 3200, 0.8);
    Signal s(static_cast<std::size_t>(n), 0.0);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        const double t = i / rate;
        const double hz = 55 + 110 * std::exp(-t / 0.03) + 300 * std::exp(-t / 0.004);
        phase += 2 * Synth::kPi * hz / rate;
        const double body = t < 0.03 ? 1.0 : std::exp(-(t - 0.03) / 0.075);
        const double click = clickBand.process(noise.next()) * std::exp(-t / 0.003);
        s[std::size_t(i)] = std::tanh(3.0 * std::sin(phase) * body) / std::tanh(3.0) + 1.4 * click;
    }
    Synth::fadeOut(s, int(0.03 * rate));
    Synth::normalise(s, 0.97);
    return single("kick", percussionSample("kick", s, k));
}

Xm::Instrument snare() {
    const int k = 24; // 33452 Hz
    const double rate = Synth::rateForSemitones(k);
    const int n = int(0.32 * rate);
    Synth::Noise noise(0x5AA3Eu);
    Synth::Biquad band = Synth::Biquad::bandPass(rate, 1900, 0.6);
    Synth::Biquad low = Synth::Biquad::highPass(rate, 500, 0.7);
    Synth::Biquad clapBand = Synth::Biquad::bandPass(rate, 1250, 1.6);
    Signal s(static_cast<std::size_t>(n), 0.0);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        const double t = i / rate;
        phase += 2 * Synth::kPi * (180 + 70 * std::exp(-t / 0.015)) / rate;
        const double body = 0.55 * std::sin(phase) * std::exp(-t / 0.055) +
                            0.25 * std::sin(phase * 1.77) * std::exp(-t / 0.035);
        const double white = noise.next();
        const double hiss = low.process(band.process(white)) * std::exp(-t / 0.12);
        double clapEnv = 0; // three quick hand claps, then the main one
        for (double start : {0.0, 0.010, 0.021})
            if (t >= start)
                clapEnv += std::exp(-(t - start) / 0.0045);
        const double clap = clapBand.process(white) * clapEnv;
        const double attack = std::min(1.0, t / 0.0008);
        // Driven into a soft clip: a fuller crack for the same peak. Inverted, so that its
        // first swing opposes the kick's when both land on the backbeat.
        s[std::size_t(i)] = -std::tanh(4.0 * attack * (body + 1.3 * hiss + 0.9 * clap));
    }
    Synth::fadeOut(s, int(0.02 * rate));
    Synth::normalise(s, 0.95);
    return single("clap snare", percussionSample("clap snare", s, k));
}

// The six detuned square waves of an analogue cymbal, summed, scaled by `pitch`.
double metal(double t, double pitch) {
    static const double kHz[6] = {263.0, 400.0, 421.0, 474.0, 587.0, 845.0};
    double v = 0;
    for (double hz : kHz)
        v += std::sin(2 * Synth::kPi * hz * pitch * t) >= 0 ? 1.0 : -1.0;
    return v / 6.0;
}

Xm::Instrument closedHat() {
    const int k = 24;
    const double rate = Synth::rateForSemitones(k);
    const int n = int(0.11 * rate);
    Synth::Noise noise(0xC105Eu);
    Synth::Biquad band = Synth::Biquad::bandPass(rate, 9500, 0.9);
    Synth::Biquad high = Synth::Biquad::highPass(rate, 6500, 0.7);
    Signal s(static_cast<std::size_t>(n), 0.0);
    for (int i = 0; i < n; ++i) {
        const double t = i / rate;
        const double raw = 0.6 * metal(t, 1.0) + 0.7 * noise.next();
        s[std::size_t(i)] = high.process(band.process(raw)) * Synth::attackDecay(t, 0.0005, 0.022);
    }
    Synth::fadeOut(s, int(0.01 * rate));
    Synth::normalise(s, 0.95);
    Xm::Sample sample = percussionSample("closed hat", s, k);
    sample.panning = 0xB0;
    return single("closed hat", sample);
}

// A bright cymbal: a 0.15 s strike that settles into a looped shimmer; the volume envelope
// shapes its long decay, and the next note on the channel chokes it (as an open hat).
Xm::Instrument crash() {
    const int k = 24;
    const double rate = Synth::rateForSemitones(k);
    const int loopStart = int(0.15 * rate), loopLength = int(0.30 * rate);
    const int n = loopStart + loopLength;
    Synth::Noise noise(0xC4A54u);
    Synth::Biquad high = Synth::Biquad::highPass(rate, 3500, 0.6);
    Synth::Biquad band = Synth::Biquad::bandPass(rate, 7000, 0.5);
    Signal s(static_cast<std::size_t>(n), 0.0);
    for (int i = 0; i < n; ++i) {
        const double t = i / rate;
        const double raw = 0.5 * metal(t, 1.37) + 0.8 * noise.next();
        const double level = 0.45 + 0.55 * std::exp(-t / 0.04);
        s[std::size_t(i)] = (0.6 * high.process(raw) + 0.8 * band.process(raw)) * level;
    }
    crossfadeLoop(s, loopStart, loopLength, int(0.06 * rate));
    Synth::normalise(s, 0.95);
    Xm::Sample sample = percussionSample("crash", s, k);
    sample.loop = Xm::Loop::Forward;
    sample.loopStart = std::uint32_t(loopStart);
    sample.loopLength = std::uint32_t(loopLength);
    sample.panning = 0x58;
    Xm::Instrument ins = single("crash", sample);
    ins.volumeEnvelope = envelope({{0, 64},
                                   {ticks(0.08), 50},
                                   {ticks(0.3), 32},
                                   {ticks(0.8), 16},
                                   {ticks(1.6), 6},
                                   {ticks(2.6), 0}});
    ins.fadeout = 0x400;
    return ins;
}

// --- tonal ------------------------------------------------------------------------------------

// Plucked saw bass, native pitch C-2 (65.3 Hz): a filter sweep closing in 0.25 s onto a round
// sustained tone; key off releases it within a few ticks.
Xm::Instrument bass() {
    const int k = 12, period = 256, native = 25; // 16726 / 256 = 65.3 Hz
    const double fundamental = Synth::rateForSemitones(k) / period;
    const double sweepTime = 16 * period / Synth::rateForSemitones(k);
    auto amp = [fundamental, sweepTime](int h, double t) {
        const double tau = 0.06;
        const double fall =
            (std::exp(-t / tau) - std::exp(-sweepTime / tau)) / (1 - std::exp(-sweepTime / tau));
        const double cutoff = 420 + 2600 * std::max(0.0, fall);
        const double f = h * fundamental / cutoff;
        const double sub = h == 1 ? 1.1 : 1.0;
        return sub / h / std::sqrt(1 + f * f * f * f) * std::min(1.0, t / 0.002 + 0.05);
    };
    Xm::Sample sample = periodicTone("saw bass", k, period, 16, 60, amp, 0xBA55u);
    sample.relativeNote = relativeNoteFor(k, native);
    Xm::Instrument ins = single("saw bass", sample);
    // The decay lives in the sample; the envelope holds, and drops to silence two ticks after
    // key off.
    ins.volumeEnvelope = envelope({{0, 64}, {4, 60}, {6, 0}}, 1);
    return ins;
}

// Random starting phases for additive voices, from a fixed seed.
std::vector<double> phases(std::size_t count, std::uint32_t seed) {
    Synth::Noise noise(seed);
    std::vector<double> out(count);
    for (double& p : out)
        p = Synth::kPi * noise.next();
    return out;
}

// Three detuned saw-like voices over a 16384-frame loop; native pitch C-5 (522.7 Hz).
Xm::Instrument lead() {
    const int k = 24, loop = 16384, native = 61; // 256 cycles of C-5 in the loop
    const double rate = Synth::rateForSemitones(k);
    const int voiceCycles[3] = {256, 257, 255};
    const double voiceLevel[3] = {1.0, 0.8, 0.55};
    const std::vector<double> phase = phases(3 * 19, 0x1EADu);
    std::vector<Synth::Partial> partials;
    for (int v = 0; v < 3; ++v)
        for (int h = 1; h <= 18; ++h) {
            if (v == 2 && h % 2 == 0)
                continue; // the third voice is square-like: odd harmonics only
            const double hz = h * voiceCycles[v] * rate / loop;
            const double rolloff = 1 / std::sqrt(1 + std::pow(hz / 4200, 4));
            partials.push_back(
                {h * voiceCycles[v], voiceLevel[v] / h * rolloff, phase[std::size_t(v * 19 + h)]});
        }
    Signal s = Synth::additiveLoop(partials, loop);
    softClip(s, 1.6);
    Synth::normalise(s, 0.95);
    Xm::Sample sample;
    sample.name = "lead";
    sample.pcm = Synth::toPcm16(s);
    sample.loop = Xm::Loop::Forward;
    sample.loopLength = std::uint32_t(loop);
    sample.relativeNote = relativeNoteFor(k, native);
    sample.panning = 0x80;
    Xm::Instrument ins = single("lead", sample);
    ins.volumeEnvelope = envelope({{0, 0}, {2, 64}, {ticks(0.25), 50}, {ticks(0.25) + 6, 0}}, 2);
    return ins;
}

// A chord pad voiced from `intervals` (semitones above the root), three detuned voices each,
// over a 16384-frame loop; native root C-3 (130.7 Hz, 128 cycles in the loop).
Xm::Sample padChord(const char* name, const std::vector<int>& intervals, std::uint32_t seed) {
    const int k = 12, loop = 16384, rootCycles = 128, native = 37;
    const double rate = Synth::rateForSemitones(k);
    const std::vector<double> phase = phases(intervals.size() * 3 * 24, seed);
    std::vector<Synth::Partial> partials;
    std::size_t next = 0;
    for (int interval : intervals) {
        const int cycles = int(std::lround(rootCycles * std::pow(2.0, interval / 12.0)));
        for (int detune : {0, -1, 1})
            for (int h = 1; h <= 24; ++h) {
                const double hz = h * (cycles + detune) * rate / loop;
                const double soft = 1 / (1 + std::pow(hz / 1100, 2));
                const double level = detune == 0 ? 1.0 : 0.7;
                partials.push_back({h * (cycles + detune), level / h * soft, phase[next++]});
            }
    }
    Signal s = Synth::additiveLoop(partials, loop);
    softClip(s, 2.0);
    Synth::normalise(s, 0.95);
    Xm::Sample sample;
    sample.name = name;
    sample.pcm = Synth::toPcm16(s);
    sample.loop = Xm::Loop::Forward;
    sample.loopLength = std::uint32_t(loop);
    sample.relativeNote = relativeNoteFor(k, native);
    return sample;
}

// Plays the diatonic triad of A minor on each root: A, D, E and B give minor chords, the other
// pitch classes major ones.
Xm::Instrument pad() {
    Xm::Instrument ins;
    ins.name = "chord pad";
    ins.samples.push_back(padChord("pad major", {0, 7, 12, 16, 19}, 0xAA01u));
    ins.samples.push_back(padChord("pad minor", {0, 7, 12, 15, 19}, 0xAA02u));
    for (Xm::Sample& sample : ins.samples)
        sample.panning = 0x40; // left of centre, across from the arpeggio
    for (int i = 0; i < 96; ++i) {
        const int pitchClass = i % 12;
        const bool minor =
            pitchClass == 9 || pitchClass == 2 || pitchClass == 4 || pitchClass == 11;
        ins.sampleMap[i] = minor ? 1 : 0;
    }
    // A chord change cuts the chord before it, so the next one starts near full level: a swell,
    // not a gap.
    ins.volumeEnvelope =
        envelope({{0, 50}, {ticks(0.12), 56}, {ticks(0.5), 64}, {ticks(0.5) + 1, 64}}, 3);
    ins.fadeout = 0x200;
    return ins;
}

// A bright pluck whose upper harmonics die first; native pitch C-5.
Xm::Instrument pluck() {
    const int k = 24, period = 64, native = 61;
    auto amp = [](int h, double t) {
        const double attack = std::min(1.0, t / 0.0015);
        return attack / std::pow(h, 1.1) * std::exp(-t * (2.0 + 1.6 * h));
    };
    Xm::Sample sample = periodicTone("pluck", k, period, 150, 14, amp, 0x9107u);
    sample.relativeNote = relativeNoteFor(k, native);
    sample.panning = 0xC0; // right of centre, across from the pad
    Xm::Instrument ins = single("pluck", sample);
    ins.volumeEnvelope = envelope({{0, 64}, {ticks(0.3), 40}, {ticks(0.8), 12}, {ticks(1.4), 0}});
    return ins;
}

// A 2.6 s noise sweep rising from 250 Hz to 7 kHz with a climbing tone under it: the lift into
// a new section. Later starts (sample offset) give shorter lifts.
Xm::Instrument riser() {
    const int k = 12;
    const double rate = Synth::rateForSemitones(k);
    const double length = 2.6;
    const int n = int(length * rate);
    Synth::Noise noise(0x415E5u);
    Synth::Biquad band = Synth::Biquad::bandPass(rate, 250, 2.0);
    Signal s(static_cast<std::size_t>(n), 0.0);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        const double x = i / double(n); // 0..1 through the sweep
        const double hz = 250 * std::pow(7000.0 / 250.0, x);
        if (i % 32 == 0)
            band.retune(Synth::Biquad::bandPass(rate, hz, 2.0));
        phase += 2 * Synth::kPi * (110 * std::pow(8.0, x)) / rate;
        const double swell = 0.12 + 0.88 * x * x;
        s[std::size_t(i)] = swell * (band.process(noise.next()) * 2.2 + 0.25 * std::sin(phase));
    }
    Synth::fadeOut(s, int(0.03 * rate));
    Synth::normalise(s, 0.95);
    Xm::Sample sample = percussionSample("riser", s, k);
    sample.sixteenBit = false;
    return single("riser", sample);
}

} // namespace

std::vector<Xm::Instrument> buildAll() {
    std::vector<Xm::Instrument> all;
    all.push_back(kick());
    all.push_back(snare());
    all.push_back(closedHat());
    all.push_back(crash());
    all.push_back(bass());
    all.push_back(lead());
    all.push_back(pad());
    all.push_back(pluck());
    all.push_back(riser());
    return all;
}

} // namespace Instruments
