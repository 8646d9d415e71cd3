// The module's sound as the demo plays it, readable from any module frame.
#pragma once

#include "app/ModuleRenderer.h"

#include <cstdint>
#include <memory>

// Renders the module from its start in blocks of Audio::kBufferFrames, exactly as the audio
// callback asks for it, and hands out its frames from any position. DUMB's output depends on
// where each render call starts, so the stream never starts DUMB at a position: reaching a
// frame means rendering every block before it. Whatever follows a seek is therefore
// sample-identical to a run that started at frame 0.
//
// Frames are 44100 Hz interleaved signed 16-bit stereo (Audio::). Before module frame 0, after
// the module ends, and when the module cannot be read, the stream gives silence.
class ModuleStream {
public:
    // The module bytes must outlive the stream. The stream starts positioned at frame 0.
    ModuleStream(const unsigned char* data, std::uint32_t size);
    ModuleStream(const ModuleStream&) = delete;
    ModuleStream& operator=(const ModuleStream&) = delete;

    bool isLoaded() const { return renderer.isLoaded(); }

    // Positions the stream at module frame `frame`; a negative frame gives -frame frames of
    // silence first. Going forward renders on from the current block; going back restarts the
    // module from its beginning. Costs rendering time proportional to the distance.
    void seek(std::int64_t frame);

    // Writes the next `frames` frames into `out` (2 x frames samples) and moves on by as many.
    void read(std::int16_t* out, long frames);

    // The module frame the next read starts at.
    std::int64_t position() const { return nextFrame; }

private:
    // Renders the block that starts at module frame blockStart + blockFrames.
    void renderNextBlock();
    void restart();

    ModuleRenderer renderer;
    std::unique_ptr<std::int16_t[]> block; // Audio::kBufferFrames stereo frames
    std::int64_t blockStart = 0;           // module frame of block[0]
    long blockFrames = 0;                  // frames rendered into the block, 0 before the first
    bool ended = false;                    // the renderer gave fewer frames than asked
    std::int64_t nextFrame = 0;
};

// The module frame heard at demo clock `seconds`: the picture's clock leads the audio rendering
// by one device buffer (Audio::kLeadFrames), so demo time 0 is module frame -8192.
std::int64_t moduleFrameAtDemoTime(double seconds);
