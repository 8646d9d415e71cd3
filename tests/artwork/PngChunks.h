// Reading a PNG file's chunk list, and the chunk list that pngcheck reports for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PngChunk {
    std::string type;
    std::uint32_t length = 0;
    std::vector<std::uint8_t> data;
    bool crcMatches = false;
};

std::vector<std::uint8_t> readFileBytes(const std::string& path);

// Parses the chunks after the signature; fails the calling test (and returns what it has) on a
// bad signature or a chunk that runs past the end.
std::vector<PngChunk> parsePngChunks(const std::vector<std::uint8_t>& file);

struct CheckedChunk {
    std::string type;
    std::uint32_t length;
};

// Runs pngcheck -v on the file; returns its chunk lines and its exit status in status.
std::vector<CheckedChunk> pngcheckChunks(const std::string& path, int& status, std::string& output);

std::uint32_t bigEndian32(const std::uint8_t* p);
