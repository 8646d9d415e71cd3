// The module's sound as the demo plays it, readable from any module frame.
#include "app/ModuleStream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

ModuleStream::ModuleStream(const unsigned char* data, std::uint32_t size)
    : renderer(data, size),
      block(std::make_unique<std::int16_t[]>(Audio::kBufferFrames * Audio::kChannels)) {
    restart();
}

void ModuleStream::restart() {
    renderer.start();
    blockStart = 0;
    blockFrames = 0;
    ended = !renderer.isLoaded();
    nextFrame = 0;
}

void ModuleStream::renderNextBlock() {
    blockStart += blockFrames;
    blockFrames = Audio::kBufferFrames;
    if (ended) {
        std::memset(block.get(), 0, Audio::kBufferBytes);
        return;
    }
    const long rendered = std::max(0L, renderer.render(block.get(), Audio::kBufferFrames));
    if (rendered < Audio::kBufferFrames) {
        ended = true;
        std::memset(block.get() + rendered * Audio::kChannels, 0,
                    static_cast<size_t>(Audio::kBufferFrames - rendered) * Audio::kBytesPerFrame);
    }
}

void ModuleStream::seek(std::int64_t frame) {
    if (frame < blockStart)
        restart();
    // Render forward until the block holding `frame` (or frame 0, for a negative frame) is in.
    const std::int64_t target = std::max<std::int64_t>(frame, 0);
    while (target >= blockStart + blockFrames)
        renderNextBlock();
    nextFrame = frame;
}

void ModuleStream::read(std::int16_t* out, long frames) {
    while (frames > 0) {
        long count = 0;
        if (nextFrame < 0) {
            count = static_cast<long>(std::min<std::int64_t>(frames, -nextFrame));
            std::memset(out, 0, static_cast<size_t>(count) * Audio::kBytesPerFrame);
        } else {
            if (nextFrame >= blockStart + blockFrames)
                renderNextBlock();
            const long offset = static_cast<long>(nextFrame - blockStart);
            count = std::min(frames, blockFrames - offset);
            std::memcpy(out, block.get() + offset * Audio::kChannels,
                        static_cast<size_t>(count) * Audio::kBytesPerFrame);
        }
        out += count * Audio::kChannels;
        frames -= count;
        nextFrame += count;
    }
}

std::int64_t moduleFrameAtDemoTime(double seconds) {
    return std::llround(seconds * Audio::kSampleRate) - Audio::kLeadFrames;
}
