// The composition: every pattern of the piece and the order list that strings them together.
#pragma once

#include "XmModule.h"

namespace Song {

constexpr int kChannels = 8;
// What each channel of the module plays.
enum Channel { KickCh, SnareCh, HatCh, BassCh, PadCh, LeadCh, ArpCh, FxCh };
constexpr int kTicksPerRow = 4; // default speed
constexpr int kBpm = 130;       // with 4 ticks a row: 13 rows a second

// The patterns, the order list and the restart position of the finished piece. The last order
// is a quiet tail that loops for as long as a player keeps going.
struct Arrangement {
    std::vector<Xm::Pattern> patterns;
    std::vector<std::uint8_t> orders;
    int restart = 0;
};

Arrangement compose();

// The complete module: header values, arrangement and the synthesised instruments.
Xm::Module buildModule();

} // namespace Song
