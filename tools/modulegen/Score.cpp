// Writes notes into one pattern by tick position: the song's clock runs at 4 ticks a row, and
// a note between rows is delayed within its row with the EDx effect.
#include "Score.h"

#include <stdexcept>

namespace {
constexpr std::uint8_t kExtendedEffect = 0x0E;
constexpr std::uint8_t kNoteDelay = 0xD0; // EDx: x = ticks to wait
constexpr std::uint8_t kSampleOffset = 0x09;

std::uint8_t volumeByte(int volume) {
    if (volume < 0 || volume > 64)
        throw std::logic_error("volume outside 0..64");
    return std::uint8_t(0x10 + volume);
}
} // namespace

Xm::Cell& Score::cellFor(int channel, int tick, const char* what) {
    if (channel < 0 || channel >= pattern.channels)
        throw std::logic_error(std::string(what) + ": channel out of range");
    if (tick < 0 || tick >= ticks())
        throw std::logic_error(std::string(what) + ": tick " + std::to_string(tick) +
                               " outside the pattern");
    Xm::Cell& cell = pattern.at(tick / kTicksPerRow, channel);
    if (!cell.empty())
        throw std::logic_error(std::string(what) + ": cell at row " +
                               std::to_string(tick / kTicksPerRow) + ", channel " +
                               std::to_string(channel) + " is taken");
    return cell;
}

void Score::note(int channel, int tick, int note, int instrument, int volume) {
    if (note < 1 || note > 96)
        throw std::logic_error("note outside 1..96");
    Xm::Cell& cell = cellFor(channel, tick, "note");
    cell.note = std::uint8_t(note);
    cell.instrument = std::uint8_t(instrument);
    cell.volume = volumeByte(volume);
    if (const int delay = tick % kTicksPerRow) {
        cell.effect = kExtendedEffect;
        cell.param = std::uint8_t(kNoteDelay | delay);
    }
}

void Score::noteFromOffset(int channel, int tick, int note, int instrument, int volume,
                           int offset) {
    if (tick % kTicksPerRow != 0 || offset < 1 || offset > 255)
        throw std::logic_error("a sample offset needs a whole row and an offset of 1..255");
    Score::note(channel, tick, note, instrument, volume);
    Xm::Cell& cell = pattern.at(tick / kTicksPerRow, channel);
    cell.effect = kSampleOffset;
    cell.param = std::uint8_t(offset);
}

void Score::keyOff(int channel, int tick) {
    if (tick < 0 || tick >= ticks())
        throw std::logic_error("key off outside the pattern");
    Xm::Cell& cell = pattern.at(tick / kTicksPerRow, channel);
    if (cell.empty())
        cell.note = Xm::kKeyOff;
}

int noteNumber(const std::string& name) {
    static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G')
        throw std::logic_error("bad note name '" + name + "'");
    int semitone = kSemitone[name[0] - 'A'];
    std::size_t i = 1;
    if (name[i] == '#') {
        ++semitone;
        ++i;
    }
    if (i + 1 != name.size() || name[i] < '0' || name[i] > '7')
        throw std::logic_error("bad note name '" + name + "'");
    return 1 + 12 * (name[i] - '0') + semitone;
}
