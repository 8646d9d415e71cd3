// Packs square PNG images into one Windows icon file (.ico), each image stored as it is, which
// Windows Vista and later read at every size.
//
//   icopack <output.ico> <image.png>...
//
// Each PNG must be 1 to 256 pixels a side. The images keep their order. The output is written to
// a temporary file and renamed into place, so a failed run never leaves a half-written icon.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr int kLargestSide = 256; // pixels; an icon directory entry stores 256 as 0

struct Png {
    std::vector<unsigned char> bytes;
    std::uint32_t width = 0, height = 0;
};

std::uint32_t bigEndian32(const unsigned char* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

void little16(std::string& out, unsigned value) {
    out += char(value & 0xff);
    out += char(value >> 8 & 0xff);
}

void little32(std::string& out, std::uint32_t value) {
    little16(out, value & 0xffff);
    little16(out, value >> 16);
}

// Reads a PNG and its size from its IHDR chunk; returns an empty problem when it is usable.
std::string readPng(const std::string& path, Png& png) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "cannot read " + path;
    png.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    // Signature, then the IHDR chunk: length, "IHDR", width, height.
    if (png.bytes.size() < 24 || !std::equal(kPngSignature, kPngSignature + 8, png.bytes.begin()) ||
        std::string(png.bytes.begin() + 12, png.bytes.begin() + 16) != "IHDR")
        return path + " is not a PNG image";
    png.width = bigEndian32(&png.bytes[16]);
    png.height = bigEndian32(&png.bytes[20]);
    if (png.width < 1 || png.width > kLargestSide || png.height < 1 || png.height > kLargestSide)
        return path + " is " + std::to_string(png.width) + "x" + std::to_string(png.height) +
               "; an icon image is 1 to 256 pixels a side";
    return "";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: icopack <output.ico> <image.png>...\n");
        return 2;
    }
    const std::string output = argv[1];
    std::vector<Png> images(argc - 2);
    for (int i = 2; i < argc; ++i) {
        const std::string problem = readPng(argv[i], images[i - 2]);
        if (!problem.empty()) {
            std::fprintf(stderr, "icopack: %s\n", problem.c_str());
            return 1;
        }
    }

    // ICONDIR (6 bytes), one ICONDIRENTRY (16 bytes) per image, then the images.
    std::string out;
    little16(out, 0);
    little16(out, 1); // an icon, not a cursor
    little16(out, images.size());
    std::uint32_t offset = 6 + 16 * images.size();
    for (const Png& png : images) {
        out += char(png.width % kLargestSide);
        out += char(png.height % kLargestSide);
        out += char(0); // no palette
        out += char(0);
        little16(out, 1);  // colour planes
        little16(out, 32); // bits per pixel
        little32(out, png.bytes.size());
        little32(out, offset);
        offset += png.bytes.size();
    }
    for (const Png& png : images)
        out.append(png.bytes.begin(), png.bytes.end());

    const std::string temporary = output + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary);
        if (!file || !file.write(out.data(), out.size()) || !file.flush()) {
            std::fprintf(stderr, "icopack: cannot write %s\n", temporary.c_str());
            std::remove(temporary.c_str());
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), output.c_str()) != 0) {
        std::fprintf(stderr, "icopack: cannot rename %s to %s\n", temporary.c_str(),
                     output.c_str());
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
