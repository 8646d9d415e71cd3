// Serialises an Xm::Module into the bytes of an XM file (version 0x0104, linear frequency table).
#pragma once

#include "XmModule.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace Xm {

// Thrown when a module breaks a rule of the format that the three players rely on.
struct FormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Appends one cell in FT2's packed form: a mask byte, then the fields present.
void packCell(std::vector<std::uint8_t>& out, const Cell& cell);

// Delta codes 16-bit PCM as little-endian words, or its high bytes as 8-bit deltas.
void deltaCode16(std::vector<std::uint8_t>& out, const std::vector<std::int16_t>& pcm);
void deltaCode8(std::vector<std::uint8_t>& out, const std::vector<std::int16_t>& pcm);

// Checks the module and returns the complete file. Throws FormatError on a broken rule.
std::vector<std::uint8_t> writeModule(const Module& module);

} // namespace Xm
