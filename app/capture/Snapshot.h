// Writes the one frame the demo shows at a demo time as an RGB PNG.
#pragma once

#include "app/capture/CaptureArguments.h"

#include <string>

namespace Capture {

// Renders the frame at `request.time` on a request.width x request.height window, offscreen,
// and writes the whole window (bands included) to `path`. Throws std::runtime_error naming
// what failed.
void writeSnapshot(const Request& request, const std::string& path);

} // namespace Capture
