// Measurements on rendered music: levels over windows, envelope correlation and, per pattern
// row, onset strength and spectral change.
#pragma once

#include <cstdint>
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

} // namespace Analysis
