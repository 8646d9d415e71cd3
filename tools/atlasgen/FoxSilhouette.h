// A solid silhouette of a fox standing in side view, drawn as vector shapes.
#pragma once

#include "Art.h"

namespace atlasgen {

// Faces right, head raised: pointed ears, long snout, four legs and a full tail hanging low
// behind, swept up at its tip. About 1240 units long and 880 high, the paws on y = 900.
Art foxSilhouette();

} // namespace atlasgen
