// The presenting group's two emblems, drawn as vector shapes.
#pragma once

#include "Art.h"

namespace atlasgen {

// A kelp frond rising from a wave inside a ring; centred on the origin, 200 units across.
Art kelpEmblem();

// A ten-toothed cog with a hollow hub, sized to stand in for a capital O; centred on the origin,
// 200 units across.
Art cogEmblem();

} // namespace atlasgen
