// The in-memory form of an FT2 XM module (version 0x0104): what the writer serialises.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Xm {

constexpr std::uint8_t kKeyOff = 97; // note byte that releases the channel's note
constexpr int kMaxEnvelopePoints = 12;

// One pattern cell. A zero field is absent. Note 1..96 (49 = C-4), 97 key off; instrument
// 1-based; volume is the raw volume-column byte (0x10..0x50 sets 0..64).
struct Cell {
    std::uint8_t note = 0;
    std::uint8_t instrument = 0;
    std::uint8_t volume = 0;
    std::uint8_t effect = 0;
    std::uint8_t param = 0;

    bool empty() const { return !note && !instrument && !volume && !effect && !param; }
    bool operator==(const Cell& o) const {
        return note == o.note && instrument == o.instrument && volume == o.volume &&
               effect == o.effect && param == o.param;
    }
};

// rows x channels cells, row-major.
struct Pattern {
    int rows = 0;
    int channels = 0;
    std::vector<Cell> cells;

    Pattern() = default;
    Pattern(int rowCount, int channelCount)
        : rows(rowCount), channels(channelCount), cells(std::size_t(rowCount) * channelCount) {}
    Cell& at(int row, int channel) { return cells[std::size_t(row) * channels + channel]; }
    const Cell& at(int row, int channel) const {
        return cells[std::size_t(row) * channels + channel];
    }
};

enum class Loop : std::uint8_t { None = 0, Forward = 1, PingPong = 2 };

// A mono sample. Lengths and loop points are in frames; the writer turns them into bytes.
struct Sample {
    std::string name;
    bool sixteenBit = true;
    std::vector<std::int16_t> pcm; // 16-bit frames; 8-bit samples keep only the high byte
    Loop loop = Loop::None;
    std::uint32_t loopStart = 0;  // frames
    std::uint32_t loopLength = 0; // frames
    std::uint8_t volume = 64;     // 0..64
    std::int8_t finetune = 0;     // 1/128 semitone, a multiple of 8
    std::uint8_t panning = 0x80;  // 0..255, 0x80 centre
    std::int8_t relativeNote = 0; // semitones added to the pattern note
};

struct EnvelopePoint {
    std::uint16_t tick = 0;  // ticks from the note's start
    std::uint16_t value = 0; // 0..64
};

struct Envelope {
    std::vector<EnvelopePoint> points; // empty: envelope off
    int sustain = -1;                  // point index, -1 none
    int loopStart = -1, loopEnd = -1;  // point indexes, -1 none
};

struct Instrument {
    std::string name;
    std::vector<Sample> samples;  // 1..16
    std::uint8_t sampleMap[96]{}; // note index (0 = C-0) -> sample index
    Envelope volumeEnvelope;
    std::uint16_t fadeout = 0; // 0 or a multiple of 0x20
};

struct Module {
    std::string name;        // up to 20 characters; stored NUL padded
    std::string trackerName; // up to 20 characters; stored space padded
    int channels = 8;
    int speed = 6; // ticks per row
    int bpm = 125;
    int restart = 0; // order index
    std::vector<std::uint8_t> orders;
    std::vector<Pattern> patterns;
    std::vector<Instrument> instruments;
};

} // namespace Xm
