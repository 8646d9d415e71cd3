// Deterministic DSP building blocks for rendering instrument samples: noise, filters, envelopes,
// additive oscillators and the conversion of float signals into XM sample frames.
#pragma once

#include <cstdint>
#include <vector>

namespace Synth {

constexpr double kPi = 3.14159265358979323846;

// Sample rate at which a sample plays at its own speed when the pattern note is C-4 and the
// sample's relative note is `semitones`: 8363 * 2^(semitones / 12) frames per second.
double rateForSemitones(int semitones);

using Signal = std::vector<double>; // mono, nominally -1..1

// xorshift32 with a fixed seed: the same sequence on every machine.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
    double next(); // uniform in [-1, 1)

private:
    std::uint32_t state;
};

// RBJ biquad, transposed direct form II. Frequencies in Hz, rate in frames per second.
class Biquad {
public:
    static Biquad lowPass(double rate, double hz, double q);
    static Biquad highPass(double rate, double hz, double q);
    static Biquad bandPass(double rate, double hz, double q); // 0 dB peak gain
    double process(double x);
    // Takes `other`'s coefficients but keeps this filter's state, for sweeps without clicks.
    void retune(const Biquad& other);

private:
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double z1 = 0, z2 = 0;
};

// Exponential decay with time constant `tau` seconds, after a linear attack of `attack`.
double attackDecay(double t, double attack, double tau);

// One additive partial: `cycles` whole periods over the signal's loop length, so that the sum
// of partials repeats seamlessly.
struct Partial {
    int cycles = 1;
    double amplitude = 0;
    double phase = 0; // radians
};

// Sums the partials over `length` frames; every partial completes whole cycles in `length`.
Signal additiveLoop(const std::vector<Partial>& partials, int length);

// Scales `signal` so that its largest magnitude is `peak` (0..1).
void normalise(Signal& signal, double peak);

// Applies a raised-cosine fade over the last `frames` frames.
void fadeOut(Signal& signal, int frames);

// Rounds to 16-bit frames, clipping at full scale.
std::vector<std::int16_t> toPcm16(const Signal& signal);

} // namespace Synth
