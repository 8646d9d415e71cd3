// The production's title logo and the presenting group's logo, composed from lettering and emblems.
#pragma once

#include "Art.h"
#include "Font.h"

namespace atlasgen {

// "One Quill" in open outline letters inside a tilted frame, laid over the top of "Wisp" in
// large rounded letters. Layer 0 is the word Wisp, with a clear margin cut around the frame;
// layer 1 is the frame and its lettering.
Art titleLogo(const FontBook& fonts, double aspect);

// KELP with the kelp roundel over W-cog-RKS, both lines the same width.
Art groupLogo(const FontBook& fonts, double aspect);

} // namespace atlasgen
