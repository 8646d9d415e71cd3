// Measures a raw recording of the demo's sound (44100 Hz, signed 16-bit little-endian stereo) in
// 0.1 s windows, where a window with an RMS below -60 dBFS counts as silent. Times count from the
// device buffer (8192 frames) that holds the first sound: a device opened paused records whole
// buffers of zeros until the music starts, as many as a slow start-up takes.
//   audio_seconds FILE   ->   "<seconds> <end of sound> <first silence>"
// <end of sound> is where the last window that is not silent ends; <first silence> is where the
// first silent window after 0.3 s starts, or <end of sound> when there is none before it.
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
    constexpr int kWindow = kRate / 10;  // 0.1 s windows
    constexpr double kSilence = 1e-3;    // RMS below -60 dBFS counts as silence
    constexpr long kSkip = 3;            // the first 0.3 s may be silent: the music fades in
    constexpr long kDeviceBuffer = 8192; // frames
    std::vector<std::int16_t> frames(kDeviceBuffer * 2);
    long leading = 0; // whole buffers of zeros before the music
    while (std::fread(frames.data(), 4, kDeviceBuffer, file) ==
           static_cast<size_t>(kDeviceBuffer)) {
        bool zero = true;
        for (std::int16_t sample : frames)
            zero = zero && sample == 0;
        if (!zero)
            break;
        ++leading;
    }
    std::fseek(file, leading * kDeviceBuffer * 4, SEEK_SET);
    frames.resize(kWindow * 2);
    std::vector<bool> audible;
    size_t read = 0;
    while ((read = std::fread(frames.data(), 4, kWindow, file)) == static_cast<size_t>(kWindow)) {
        double sum = 0;
        for (size_t i = 0; i < read * 2; ++i)
            sum += (frames[i] / 32768.0) * (frames[i] / 32768.0);
        audible.push_back(std::sqrt(sum / (read * 2)) > kSilence);
    }
    std::fclose(file);
    long end = 0;
    for (long w = 0; w < long(audible.size()); ++w)
        if (audible[std::size_t(w)])
            end = w + 1;
    long gap = end;
    for (long w = kSkip; w < end; ++w)
        if (!audible[std::size_t(w)]) {
            gap = w;
            break;
        }
    std::printf("%.1f %.1f %.1f\n", double(audible.size()) / 10, end / 10.0, gap / 10.0);
    return 0;
}
