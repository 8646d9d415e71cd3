// Runs the demo's capture executable for one frame and reads back what it wrote.
#pragma once

#include "Frame.h"

#include <string>

namespace picture {

// Runs `executable --time T --size WxH --out outPath` and decodes the PNG it writes.
// Throws std::runtime_error with the exit status when the run fails or writes nothing.
Frame captureFrame(const std::string& executable, double time, int width, int height,
                   const std::string& outPath);

} // namespace picture
