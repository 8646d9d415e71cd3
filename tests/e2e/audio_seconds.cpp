// Measures a raw recording of the demo's sound (44100 Hz, signed 16-bit little-endian stereo):
// prints its length in seconds and how many of those seconds are not silent.
//   audio_seconds FILE   ->   "<seconds> <audible seconds>"
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: audio_seconds FILE\n");
        return 2;
    }
    std::FILE* file = std::fopen(argv[1], "rb");
    if (!file) {
        std::fprintf(stderr, "audio_seconds: cannot read %s\n", argv[1]);
        return 1;
    }
    constexpr int kRate = 44100;
    constexpr int kWindow = kRate / 10; // 0.1 s windows
    constexpr double kSilence = 1e-4;   // RMS below -80 dBFS counts as silence
    std::vector<std::int16_t> frames(kWindow * 2);
    long windows = 0, audible = 0;
    size_t read = 0;
    while ((read = std::fread(frames.data(), 4, kWindow, file)) > 0) {
        double sum = 0;
        for (size_t i = 0; i < read * 2; ++i)
            sum += (frames[i] / 32768.0) * (frames[i] / 32768.0);
        if (read == static_cast<size_t>(kWindow)) {
            ++windows;
            if (std::sqrt(sum / (read * 2)) > kSilence)
                ++audible;
        }
    }
    std::fclose(file);
    std::printf("%.1f %.1f\n", windows / 10.0, audible / 10.0);
    return 0;
}
