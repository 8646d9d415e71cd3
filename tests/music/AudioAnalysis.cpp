// Measurements on rendered music: levels over windows, loudness, stereo width, spectra,
// envelope correlation and, per pattern row, onset strength and spectral change.
#include "AudioAnalysis.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace Analysis {
namespace {

constexpr int kFrame = 1024; // FFT frame, 23 ms
constexpr int kHop = 256;    // 5.8 ms between frames
constexpr int kBands = 48;   // log-spaced bands from 40 Hz to 16 kHz
constexpr double kPi = 3.14159265358979323846;

void fft(std::vector<std::complex<double>>& a) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> w = std::polar(1.0, -2 * kPi / double(len));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> wn = 1;
            for (std::size_t k = 0; k < len / 2; ++k, wn *= w) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * wn;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
}

// Log band energies of each frame; frame f is centred at (f * kHop + kFrame / 2) / kRate s.
std::vector<std::vector<double>> logBands(const std::vector<float>& mono) {
    std::vector<int> edges(kBands + 1);
    for (int b = 0; b <= kBands; ++b) {
        const double hz = 40.0 * std::pow(16000.0 / 40.0, double(b) / kBands);
        edges[std::size_t(b)] = std::max(1, int(hz * kFrame / kRate));
    }
    std::vector<double> window(kFrame);
    for (int i = 0; i < kFrame; ++i)
        window[std::size_t(i)] = 0.5 - 0.5 * std::cos(2 * kPi * i / kFrame);
    std::vector<std::vector<double>> frames;
    std::vector<std::complex<double>> buf(kFrame);
    for (std::size_t start = 0; start + kFrame <= mono.size(); start += kHop) {
        for (int i = 0; i < kFrame; ++i)
            buf[std::size_t(i)] = mono[start + std::size_t(i)] * window[std::size_t(i)];
        fft(buf);
        std::vector<double> bands(kBands);
        for (int b = 0; b < kBands; ++b) {
            double energy = 0;
            for (int k = edges[std::size_t(b)];
                 k < std::max(edges[std::size_t(b) + 1], edges[std::size_t(b)] + 1); ++k)
                energy += std::norm(buf[std::size_t(k)]);
            bands[std::size_t(b)] = std::log10(energy + 1e-6);
        }
        frames.push_back(std::move(bands));
    }
    return frames;
}

// Spectrum of `x` zero-padded to the next power of two, with its bin width in Hz.
std::vector<std::complex<double>> spectrum(const std::vector<float>& x, double& binHz) {
    std::size_t n = 1;
    while (n < x.size())
        n <<= 1;
    std::vector<std::complex<double>> a(n);
    std::copy(x.begin(), x.end(), a.begin());
    fft(a);
    binHz = double(kRate) / double(n);
    return a;
}

// One second-order section of the BS.1770 K-weighting, direct form I.
struct Section {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double process(double x) {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// The two K-weighting stages (high shelf, then high pass) designed for kRate from their analogue
// prototypes, so that they match the 48 kHz coefficients of the recommendation.
std::vector<Section> kWeighting() {
    const double shelfK = std::tan(kPi * 1681.974450955533 / kRate);
    const double shelfQ = 0.7071752369554196;
    const double vh = std::pow(10.0, 3.999843853973347 / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1 + shelfK / shelfQ + shelfK * shelfK;
    const Section shelf{
        (vh + vb * shelfK / shelfQ + shelfK * shelfK) / a0, 2 * (shelfK * shelfK - vh) / a0,
        (vh - vb * shelfK / shelfQ + shelfK * shelfK) / a0, 2 * (shelfK * shelfK - 1) / a0,
        (1 - shelfK / shelfQ + shelfK * shelfK) / a0};
    const double passK = std::tan(kPi * 38.13547087602444 / kRate);
    const double passQ = 0.5003270373238773;
    const double p0 = 1 + passK / passQ + passK * passK;
    const Section pass{1, -2, 1, 2 * (passK * passK - 1) / p0,
                       (1 - passK / passQ + passK * passK) / p0};
    return {shelf, pass};
}

double frameTime(std::size_t f) {
    return (double(f) * kHop + kFrame / 2.0) / kRate;
}

} // namespace

std::vector<float> toMono(const std::vector<std::int16_t>& stereo) {
    std::vector<float> mono(stereo.size() / 2);
    for (std::size_t i = 0; i < mono.size(); ++i)
        mono[i] = float((stereo[2 * i] + stereo[2 * i + 1]) / 65536.0);
    return mono;
}

double peakDb(const std::vector<std::int16_t>& stereo) {
    int peak = 0;
    for (std::int16_t v : stereo)
        peak = std::max(peak, std::abs(int(v)));
    return 20 * std::log10(std::max(peak, 1) / 32768.0);
}

double windowRmsDb(const std::vector<std::int16_t>& stereo, double start, double length) {
    const std::size_t from = std::size_t(start * kRate) * 2;
    const std::size_t to = std::min(stereo.size(), std::size_t((start + length) * kRate) * 2);
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += double(stereo[i]) * stereo[i];
    const double meanSquare = to > from ? sum / double(to - from) / (32768.0 * 32768.0) : 0;
    return 10 * std::log10(meanSquare + 1e-20);
}

std::vector<double> rmsEnvelope(const std::vector<std::int16_t>& stereo, double seconds) {
    const std::size_t window = std::size_t(seconds * kRate) * 2;
    std::vector<double> out;
    for (std::size_t from = 0; from + window <= stereo.size(); from += window) {
        double sum = 0;
        for (std::size_t i = from; i < from + window; ++i)
            sum += double(stereo[i]) * stereo[i];
        out.push_back(std::sqrt(sum / double(window)) / 32768.0);
    }
    return out;
}

double correlation(const std::vector<double>& a, const std::vector<double>& b) {
    const std::size_t n = std::min(a.size(), b.size());
    double ma = 0, mb = 0;
    for (std::size_t i = 0; i < n; ++i) {
        ma += a[i];
        mb += b[i];
    }
    ma /= double(n);
    mb /= double(n);
    double sab = 0, saa = 0, sbb = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sab += (a[i] - ma) * (b[i] - mb);
        saa += (a[i] - ma) * (a[i] - ma);
        sbb += (b[i] - mb) * (b[i] - mb);
    }
    return sab / std::sqrt(saa * sbb);
}

RowFeatures rowFeatures(const std::vector<float>& mono) {
    const std::vector<std::vector<double>> frames = logBands(mono);
    const int rows = int(double(mono.size()) / kRate / kRowSeconds);
    RowFeatures out;
    out.onset.assign(std::size_t(rows), 0.0);
    out.change.assign(std::size_t(rows), 0.0);

    // Onset: half-wave rectified spectral flux, the strongest frame from a quarter row before
    // the row's start to three quarters after it.
    std::vector<double> flux(frames.size(), 0.0);
    for (std::size_t f = 1; f < frames.size(); ++f)
        for (int b = 0; b < kBands; ++b)
            flux[f] += std::max(0.0, frames[f][std::size_t(b)] - frames[f - 1][std::size_t(b)]);
    for (std::size_t f = 0; f < frames.size(); ++f) {
        const int row = int(std::floor(frameTime(f) / kRowSeconds + 0.25));
        if (row >= 0 && row < rows)
            out.onset[std::size_t(row)] = std::max(out.onset[std::size_t(row)], flux[f]);
    }

    // Change: mean log spectrum of the 6 rows after the row's start against the 6 rows before.
    const double span = 6 * kRowSeconds;
    auto meanBands = [&](double from, double to) {
        std::vector<double> mean(kBands, 0.0);
        int count = 0;
        for (std::size_t f = 0; f < frames.size(); ++f) {
            const double t = frameTime(f);
            if (t < from || t >= to)
                continue;
            for (int b = 0; b < kBands; ++b)
                mean[std::size_t(b)] += frames[f][std::size_t(b)];
            ++count;
        }
        for (double& m : mean)
            m /= std::max(count, 1);
        return mean;
    };
    for (int r = 6; r < rows - 6; ++r) {
        const double t = r * kRowSeconds;
        const std::vector<double> before = meanBands(t - span, t), after = meanBands(t, t + span);
        double d = 0;
        for (int b = 0; b < kBands; ++b)
            d += std::fabs(after[std::size_t(b)] - before[std::size_t(b)]);
        out.change[std::size_t(r)] = d / kBands;
    }
    return out;
}

int peakRow(const std::vector<double>& curve, int centre, int radius) {
    int best = centre;
    for (int r = std::max(0, centre - radius); r <= centre + radius && r < int(curve.size()); ++r)
        if (curve[std::size_t(r)] > curve[std::size_t(best)])
            best = r;
    return best;
}

} // namespace Analysis

namespace Analysis {

LoudnessMeter::LoudnessMeter(const std::vector<std::int16_t>& stereo) {
    std::vector<Section> left = kWeighting(), right = kWeighting();
    const std::size_t frames = stereo.size() / 2;
    cumulative.assign(frames + 1, 0.0);
    for (std::size_t i = 0; i < frames; ++i) {
        double l = stereo[2 * i] / 32768.0, r = stereo[2 * i + 1] / 32768.0;
        for (int s = 0; s < 2; ++s) {
            l = left[std::size_t(s)].process(l);
            r = right[std::size_t(s)].process(r);
        }
        cumulative[i + 1] = cumulative[i] + l * l + r * r;
    }
}

double LoudnessMeter::lufs(double start, double length) const {
    const std::size_t last = cumulative.size() - 1;
    const std::size_t from = std::min(last, std::size_t(std::max(0.0, start) * kRate));
    const std::size_t to = std::min(last, std::size_t(std::max(0.0, start + length) * kRate));
    if (to <= from)
        return -200;
    const double power = (cumulative[to] - cumulative[from]) / double(to - from);
    return -0.691 + 10 * std::log10(power + 1e-20);
}

R128 measureR128(const std::vector<std::int16_t>& stereo) {
    R128 out;
    char path[] = "/tmp/wisp-loudness-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        out.error = "cannot create a temporary file";
        return out;
    }
    const std::size_t bytes = stereo.size() * sizeof(std::int16_t);
    const bool written = write(fd, stereo.data(), bytes) == ssize_t(bytes);
    close(fd);
    std::string report;
    if (written) {
        const std::string command = std::string("ffmpeg -nostdin -hide_banner -f s16le -ar ") +
                                    std::to_string(kRate) + " -ac 2 -i " + path +
                                    " -af ebur128=peak=true -f null - 2>&1";
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[4096];
            while (std::fgets(buffer, sizeof buffer, pipe))
                report += buffer;
            if (pclose(pipe) != 0)
                out.error = "ffmpeg failed: " +
                            report.substr(report.size() > 400 ? report.size() - 400 : 0);
        } else {
            out.error = "cannot run ffmpeg";
        }
    } else {
        out.error = "cannot write the render to a temporary file";
    }
    unlink(path);
    if (!out.error.empty())
        return out;
    // The summary at the end holds "I: <value> LUFS" and, under "True peak:", "Peak: <value>".
    const std::size_t summary = report.rfind("Summary:");
    const std::size_t i = report.find("I:", summary == std::string::npos ? 0 : summary);
    const std::size_t peak = report.find("Peak:", summary == std::string::npos ? 0 : summary);
    if (summary == std::string::npos || i == std::string::npos || peak == std::string::npos) {
        out.error = "no loudness summary in ffmpeg's report";
        return out;
    }
    out.integrated = std::strtod(report.c_str() + i + 2, nullptr);
    out.truePeak = std::strtod(report.c_str() + peak + 5, nullptr);
    return out;
}

double sideToMidDb(const std::vector<std::int16_t>& stereo, double start, double length) {
    const std::size_t from = std::size_t(start * kRate);
    const std::size_t to = std::min(stereo.size() / 2, std::size_t((start + length) * kRate));
    double mid = 0, side = 0;
    for (std::size_t i = from; i < to; ++i) {
        const double l = stereo[2 * i], r = stereo[2 * i + 1];
        mid += (l + r) * (l + r);
        side += (l - r) * (l - r);
    }
    return 10 * std::log10((side + 1e-9) / (mid + 1e-9));
}

double energyShareBelow(const std::vector<float>& mono, double hz) {
    constexpr std::size_t kSize = 8192;
    std::vector<double> window(kSize);
    for (std::size_t i = 0; i < kSize; ++i)
        window[i] = 0.5 - 0.5 * std::cos(2 * kPi * double(i) / kSize);
    const std::size_t edge = std::size_t(hz * kSize / kRate);
    double below = 0, total = 0;
    std::vector<std::complex<double>> buf(kSize);
    for (std::size_t start = 0; start + kSize <= mono.size(); start += kSize / 2) {
        for (std::size_t i = 0; i < kSize; ++i)
            buf[i] = mono[start + i] * window[i];
        fft(buf);
        for (std::size_t k = 1; k < kSize / 2; ++k) {
            const double e = std::norm(buf[k]);
            total += e;
            if (k < edge)
                below += e;
        }
    }
    return total > 0 ? below / total : 0;
}

double peakFrequency(const std::vector<float>& mono, double loHz, double hiHz) {
    double binHz = 1;
    const std::vector<std::complex<double>> a = spectrum(mono, binHz);
    std::size_t best = 0;
    for (std::size_t k = 1; k < a.size() / 2; ++k)
        if (double(k) * binHz >= loHz && double(k) * binHz <= hiHz &&
            (best == 0 || std::norm(a[k]) > std::norm(a[best])))
            best = k;
    return double(best) * binHz;
}

} // namespace Analysis
