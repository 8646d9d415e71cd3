// Deterministic DSP building blocks for rendering instrument samples: noise, filters, envelopes,
// additive oscillators and the conversion of float signals into XM sample frames.
#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace Synth {

double rateForSemitones(int semitones) {
    return 8363.0 * std::pow(2.0, semitones / 12.0);
}

double Noise::next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return double(state) / 2147483648.0 - 1.0;
}

namespace {
struct Coefficients {
    double w0, cosw, alpha;
};
Coefficients prewarp(double rate, double hz, double q) {
    const double w0 = 2.0 * kPi * std::min(hz, rate * 0.49) / rate;
    return {w0, std::cos(w0), std::sin(w0) / (2.0 * q)};
}
} // namespace

Biquad Biquad::lowPass(double rate, double hz, double q) {
    const Coefficients c = prewarp(rate, hz, q);
    const double a0 = 1 + c.alpha;
    Biquad f;
    f.b0 = (1 - c.cosw) / 2 / a0;
    f.b1 = (1 - c.cosw) / a0;
    f.b2 = f.b0;
    f.a1 = -2 * c.cosw / a0;
    f.a2 = (1 - c.alpha) / a0;
    return f;
}

Biquad Biquad::highPass(double rate, double hz, double q) {
    const Coefficients c = prewarp(rate, hz, q);
    const double a0 = 1 + c.alpha;
    Biquad f;
    f.b0 = (1 + c.cosw) / 2 / a0;
    f.b1 = -(1 + c.cosw) / a0;
    f.b2 = f.b0;
    f.a1 = -2 * c.cosw / a0;
    f.a2 = (1 - c.alpha) / a0;
    return f;
}

Biquad Biquad::bandPass(double rate, double hz, double q) {
    const Coefficients c = prewarp(rate, hz, q);
    const double a0 = 1 + c.alpha;
    Biquad f;
    f.b0 = c.alpha / a0;
    f.b1 = 0;
    f.b2 = -c.alpha / a0;
    f.a1 = -2 * c.cosw / a0;
    f.a2 = (1 - c.alpha) / a0;
    return f;
}

double Biquad::process(double x) {
    const double y = b0 * x + z1;
    z1 = b1 * x - a1 * y + z2;
    z2 = b2 * x - a2 * y;
    return y;
}

void Biquad::retune(const Biquad& other) {
    b0 = other.b0;
    b1 = other.b1;
    b2 = other.b2;
    a1 = other.a1;
    a2 = other.a2;
}

double attackDecay(double t, double attack, double tau) {
    if (t < 0)
        return 0;
    if (t < attack)
        return t / attack;
    return std::exp(-(t - attack) / tau);
}

Signal additiveLoop(const std::vector<Partial>& partials, int length) {
    Signal out(std::size_t(length), 0.0);
    for (const Partial& p : partials) {
        const double step = 2.0 * kPi * p.cycles / length;
        for (int n = 0; n < length; ++n)
            out[std::size_t(n)] += p.amplitude * std::sin(step * n + p.phase);
    }
    return out;
}

void normalise(Signal& signal, double peak) {
    double largest = 0;
    for (double v : signal)
        largest = std::max(largest, std::fabs(v));
    if (largest > 0)
        for (double& v : signal)
            v *= peak / largest;
}

void fadeOut(Signal& signal, int frames) {
    const int n = int(signal.size());
    frames = std::min(frames, n);
    for (int i = 0; i < frames; ++i) {
        const double x = double(i + 1) / frames; // 0..1 across the fade
        signal[std::size_t(n - frames + i)] *= 0.5 * (1 + std::cos(kPi * x));
    }
}

std::vector<std::int16_t> toPcm16(const Signal& signal) {
    std::vector<std::int16_t> pcm(signal.size());
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double v = std::clamp(std::round(signal[i] * 32767.0), -32768.0, 32767.0);
        pcm[i] = std::int16_t(v);
    }
    return pcm;
}

} // namespace Synth
