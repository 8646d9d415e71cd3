// Reads an XM module from memory with DUMB and renders it as interleaved signed 16-bit stereo.
#pragma once

#include <cstdint>

struct DUH;
struct DUMBFILE;
typedef struct DUH_SIGRENDERER DUH_SIGRENDERER;

namespace Audio {
constexpr int kSampleRate = 44100;  // frames per second, device and renderer alike
constexpr int kChannels = 2;        // interleaved left, right
constexpr int kBytesPerFrame = 4;   // two signed 16-bit samples
constexpr int kBufferFrames = 8192; // one device buffer, about 185.76 ms
constexpr int kBufferBytes = kBufferFrames * kBytesPerFrame;
// The picture's clock leads the audio rendering by one device buffer: the first callback's
// frames are heard one buffer after it runs. Module time = demo time - kLeadFrames / kSampleRate.
constexpr int kLeadFrames = kBufferFrames;
} // namespace Audio

// Owns DUMB's memory reader, the loaded module and its renderer. The module bytes must outlive
// the object. A module DUMB cannot read leaves the object unloaded: it then renders nothing.
class ModuleRenderer {
public:
    ModuleRenderer(const unsigned char* data, std::uint32_t size);
    ~ModuleRenderer();
    ModuleRenderer(const ModuleRenderer&) = delete;
    ModuleRenderer& operator=(const ModuleRenderer&) = delete;

    bool isLoaded() const { return module != nullptr; }

    // Starts (or restarts) rendering at the beginning of the module: signal 0, stereo.
    void start();

    // Renders up to `frames` stereo frames at 44100 Hz, volume 1.0, into `out`
    // (2 x frames samples). Returns the number of frames rendered; 0 when not loaded or not
    // started.
    long render(std::int16_t* out, long frames);

private:
    DUMBFILE* reader = nullptr;
    DUH* module = nullptr;
    DUH_SIGRENDERER* renderer = nullptr;
};
