// The nine synthesised instruments of the module, each rendered from fixed-seed DSP.
#pragma once

#include "XmModule.h"

#include <vector>

namespace Instruments {

// 1-based instrument numbers as they appear in pattern cells.
enum Id : int {
    Kick = 1,
    Snare = 2,
    ClosedHat = 3,
    Crash = 4,
    Bass = 5,
    Lead = 6,
    Pad = 7,
    Pluck = 8,
    Riser = 9,
    Count = 9
};

// Every instrument, ordered by Id. Percussion sounds at its recorded pitch on note C-4; the
// tonal instruments sound at the pitch of the pattern note (C-4 = 261.3 Hz).
std::vector<Xm::Instrument> buildAll();

} // namespace Instruments
