// Measurements on rendered music: levels over windows, loudness, stereo width, spectra,
// envelope correlation and, per pattern row, onset strength and spectral change.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Analysis {

constexpr int kRate = 44100;
constexpr double kRowSeconds = 1.0 / 13.0; // 4 ticks at 130 BPM

// Interleaved signed 16-bit stereo turned into mono floats in -1..1.
std::vector<float> toMono(const std::vector<std::int16_t>& stereo);

// Largest magnitude of any sample, in dBFS.
double peakDb(const std::vector<std::int16_t>& stereo);

// RMS over both channels in dBFS of the window [start, start + length) seconds.
double windowRmsDb(const std::vector<std::int16_t>& stereo, double start, double length);

// Linear RMS of consecutive, non-overlapping windows of `seconds` each.
std::vector<double> rmsEnvelope(const std::vector<std::int16_t>& stereo, double seconds);

// Pearson correlation of two equally long series.
double correlation(const std::vector<double>& a, const std::vector<double>& b);

// Per-row novelty curves of a mono signal, indexed by row (row r starts at r / 13 s).
struct RowFeatures {
    std::vector<double> onset;  // strongest rise of the log spectrum near the row's start
    std::vector<double> change; // distance between the mean log spectra of the 6 rows before
                                // and the 6 rows from the row's start
};
RowFeatures rowFeatures(const std::vector<float>& mono);

// The row in [centre - radius, centre + radius] where `curve` is largest.
int peakRow(const std::vector<double>& curve, int centre, int radius);

// ITU-R BS.1770 loudness of stereo over any window: K-weighted channels, summed power, in LUFS.
class LoudnessMeter {
public:
    explicit LoudnessMeter(const std::vector<std::int16_t>& stereo);
    // Loudness of [start, start + length) seconds; momentary loudness takes 0.4 s, short-term 3 s.
    double lufs(double start, double length) const;

private:
    std::vector<double> cumulative; // running sum of the K-weighted power per frame
};

// Integrated loudness and true peak as ffmpeg's ebur128 filter measures them.
struct R128 {
    double integrated = 0; // LUFS
    double truePeak = 0;   // dBTP
    std::string error;     // empty when ffmpeg ran and reported both figures
};
R128 measureR128(const std::vector<std::int16_t>& stereo);

// Energy of the side signal (L - R) / 2 against the mid (L + R) / 2 over [start, start + length)
// seconds, in dB.
double sideToMidDb(const std::vector<std::int16_t>& stereo, double start, double length);

// Share (0..1) of the energy of `mono` that lies below `hz`, from Hann-windowed spectra.
double energyShareBelow(const std::vector<float>& mono, double hz);

// Frequency of the strongest spectral peak of `mono` between `loHz` and `hiHz`.
double peakFrequency(const std::vector<float>& mono, double loHz, double hiHz);

} // namespace Analysis
