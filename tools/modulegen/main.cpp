// modulegen: synthesises the demo's music and writes it as an XM module.
//
//   modulegen <out.xm>
//
// The output is written to <out.xm>.tmp and renamed into place, so a failed run never leaves a
// half-written module behind. The same build always writes the same bytes.
#include "Song.h"
#include "XmWriter.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

namespace {

bool writeAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "modulegen: cannot write %s\n", temp.c_str());
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::perror(("modulegen: cannot rename " + temp + " to " + path).c_str());
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: modulegen <out.xm>\n");
        return 2;
    }
    const std::string path = argv[1];
    try {
        std::printf("modulegen: synthesising instruments and composing the song\n");
        const Xm::Module module = Song::buildModule();
        std::printf("modulegen: %zu instruments, %zu patterns, %zu orders\n",
                    module.instruments.size(), module.patterns.size(), module.orders.size());
        const std::vector<std::uint8_t> bytes = Xm::writeModule(module);
        if (!writeAtomically(path, bytes))
            return 1;
        std::printf("modulegen: wrote %s (%zu bytes)\n", path.c_str(), bytes.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "modulegen: %s\n", e.what());
        return 1;
    }
    return 0;
}
