// Writes notes into one pattern by tick position: the song's clock runs at 4 ticks a row, and
// a note between rows is delayed within its row with the EDx effect.
#pragma once

#include "XmModule.h"

#include <string>

class Score {
public:
    static constexpr int kTicksPerRow = 4;

    Score(int rows, int channels) : pattern(rows, channels) {}

    int rows() const { return pattern.rows; }
    int ticks() const { return pattern.rows * kTicksPerRow; }

    // Plays `note` (1..96) with `instrument` at `volume` (0..64) on `channel` at `tick`.
    // Throws std::logic_error when the cell is taken or the tick lies outside the pattern.
    void note(int channel, int tick, int note, int instrument, int volume);

    // As note(), adding the sample offset effect (9xx: xx * 256 frames); `tick` must be on a row.
    void noteFromOffset(int channel, int tick, int note, int instrument, int volume, int offset);

    // Releases the channel's note at the row holding `tick`, unless that cell is already used
    // (a new note there ends the old one anyway).
    void keyOff(int channel, int tick);

    const Xm::Pattern& result() const { return pattern; }

private:
    Xm::Cell& cellFor(int channel, int tick, const char* what);

    Xm::Pattern pattern;
};

// Pattern note number from a name such as "A4" or "C#5" (FT2 octaves: C4 = 49, 261.3 Hz).
int noteNumber(const std::string& name);
