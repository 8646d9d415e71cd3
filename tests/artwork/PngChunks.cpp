// PNG chunk parsing with CRC checks, and pngcheck's listing of the same file.
#include "PngChunks.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

std::vector<std::uint8_t> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot read " << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}

std::vector<PngChunk> parsePngChunks(const std::vector<std::uint8_t>& file) {
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<PngChunk> chunks;
    if (file.size() < 8 || !std::equal(signature, signature + 8, file.begin())) {
        ADD_FAILURE() << "not a PNG signature";
        return chunks;
    }
    size_t at = 8;
    while (at < file.size()) {
        if (file.size() - at < 12) {
            ADD_FAILURE() << "truncated chunk header at " << at;
            return chunks;
        }
        PngChunk chunk;
        chunk.length = bigEndian32(&file[at]);
        chunk.type.assign(reinterpret_cast<const char*>(&file[at + 4]), 4);
        if (file.size() - at - 12 < chunk.length) {
            ADD_FAILURE() << chunk.type << " runs past the end of the file";
            return chunks;
        }
        const std::uint8_t* body = &file[at + 8];
        chunk.data.assign(body, body + chunk.length);
        const uLong crc = crc32(crc32(0, &file[at + 4], 4), body, chunk.length);
        chunk.crcMatches = crc == bigEndian32(body + chunk.length);
        chunks.push_back(std::move(chunk));
        at += 12 + chunks.back().length;
    }
    return chunks;
}

std::vector<CheckedChunk> pngcheckChunks(const std::string& path, int& status,
                                         std::string& output) {
    std::vector<CheckedChunk> chunks;
    const std::string command = std::string(PNGCHECK_EXECUTABLE) + " -v '" + path + "' 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        status = -1;
        return chunks;
    }
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        output += line;
        char type[5] = {};
        unsigned offset = 0, length = 0;
        if (std::sscanf(line, "  chunk %4s at offset 0x%x, length %u", type, &offset, &length) ==
            3) {
            chunks.push_back({type, length});
        }
    }
    const int raw = pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return chunks;
}
