// Checks a raw recording of the demo's audio callbacks (SDL's disk driver: 44100 Hz signed 16-bit
// stereo, one 8192-frame device buffer after another) against the module as DUMB renders it in
// one run from its start, buffer for buffer and sample for sample.
//
//   sound_match RECORDING FIRST_FRAME RESTARTS
//
// Leading silent buffers (the device still paused) are skipped. The first buffer after them
// must hold module frames FIRST_FRAME onwards (negative frames are silence), each further buffer
// the next 8192 frames; a buffer may instead begin the module again at frame 0, and exactly
// RESTARTS buffers must. Prints what matched; exit status 0 when everything did, 1 otherwise.
#include "app/ModuleRenderer.h"
#include "content/Resources.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr long kBlock = Audio::kBufferFrames;
constexpr long kSamplesPerBlock = kBlock * Audio::kChannels;

// The module from frame 0, rendered on demand in device-buffer steps.
class Reference {
public:
    Reference() : renderer(moduleData, moduleSize) { renderer.start(); }

    // Samples of frames [first, first + kBlock); frames before 0 are silence.
    std::vector<std::int16_t> block(long first) {
        std::vector<std::int16_t> out(kSamplesPerBlock, 0);
        const long end = first + kBlock;
        while (static_cast<long>(samples.size()) < end * Audio::kChannels) {
            std::vector<std::int16_t> chunk(kSamplesPerBlock, 0);
            const long rendered = renderer.render(chunk.data(), kBlock);
            if (rendered <= 0)
                chunk.assign(kSamplesPerBlock, 0); // past the end: silence, as the callback fills
            samples.insert(samples.end(), chunk.begin(), chunk.end());
        }
        for (long frame = std::max(first, 0L); frame < end; ++frame)
            for (int c = 0; c < Audio::kChannels; ++c)
                out[(frame - first) * Audio::kChannels + c] = samples[frame * Audio::kChannels + c];
        return out;
    }

private:
    ModuleRenderer renderer;
    std::vector<std::int16_t> samples;
};

bool silent(const std::vector<std::int16_t>& block) {
    return std::all_of(block.begin(), block.end(), [](std::int16_t s) { return s == 0; });
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: sound_match RECORDING FIRST_FRAME RESTARTS\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "sound_match: cannot read %s\n", argv[1]);
        return 2;
    }
    const long firstFrame = std::strtol(argv[2], nullptr, 10);
    const long restartsWanted = std::strtol(argv[3], nullptr, 10);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
    const long blocks = static_cast<long>(bytes.size()) / Audio::kBufferBytes;

    Reference reference;
    if (silent(reference.block(firstFrame))) {
        std::fprintf(stderr, "sound_match: the module is silent at frame %ld; pick another\n",
                     firstFrame);
        return 2;
    }

    long index = 0, paused = 0, restarts = 0, matched = 0;
    long next = firstFrame; // the module frame the next buffer should begin with
    bool started = false;
    for (; index < blocks; ++index) {
        std::vector<std::int16_t> recorded(kSamplesPerBlock);
        std::copy_n(bytes.data() + index * Audio::kBufferBytes, Audio::kBufferBytes,
                    reinterpret_cast<char*>(recorded.data()));
        if (!started && silent(recorded)) {
            ++paused;
            continue;
        }
        started = true;
        if (recorded == reference.block(next)) {
            next += kBlock;
        } else if (recorded == reference.block(0)) {
            ++restarts;
            std::printf("buffer %ld begins the module again, after module frame %ld\n", index,
                        next);
            next = kBlock;
        } else {
            break;
        }
        ++matched;
    }

    std::printf("%ld buffers recorded: %ld silent before the start, %ld matching the module from "
                "frame %ld with %ld restarts\n",
                blocks, paused, matched, firstFrame, restarts);
    if (index < blocks) {
        std::printf("buffer %ld differs from module frames %ld onwards and from the beginning\n",
                    index, next);
        return 1;
    }
    if (restarts != restartsWanted) {
        std::printf("expected %ld restarts\n", restartsWanted);
        return 1;
    }
    return matched > 0 ? 0 : 1;
}
