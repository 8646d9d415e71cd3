// atlasgen: paints the title and greetings atlases, or the application icon, as PNG files.
//
//   atlasgen [--verbose] <output directory>
//   atlasgen --icons <output directory>
//
// Writes <output directory>/title_atlas.png (2048 x 2048) and greetings_atlas.png (2048 x 512);
// with --icons, one-quill-wisp-N.png for each icon size N instead. The same build always writes
// the same bytes. --verbose lists each sprite's wording, faces and on-screen stretch.
#include "Artwork.h"
#include "AtlasPainter.h"
#include "Icon.h"
#include "PngWriter.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

using namespace atlasgen;

namespace {

void writeIcons(const std::string& directory) {
    for (const int size : iconSizes) {
        writePng(paintIcon(size), directory + "/one-quill-wisp-" + std::to_string(size) + ".png");
    }
    std::fprintf(stderr, "atlasgen: wrote %zu icons, %d to %d pixels, into %s\n", iconSizes.size(),
                 iconSizes.front(), iconSizes.back(), directory.c_str());
}

} // namespace

int main(int argc, char** argv) {
    bool verbose = false;
    bool icons = false;
    std::string directory;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--verbose") == 0) {
            verbose = true;
        } else if (std::strcmp(argv[i], "--icons") == 0) {
            icons = true;
        } else if (directory.empty() && argv[i][0] != '-') {
            directory = argv[i];
        } else {
            directory.clear();
            break;
        }
    }
    if (directory.empty() || (icons && verbose)) {
        std::fprintf(stderr, "usage: atlasgen [--verbose] <output directory>\n"
                             "       atlasgen --icons <output directory>\n");
        return 2;
    }
    std::FILE* report = verbose ? stderr : nullptr;
    try {
        if (icons) {
            writeIcons(directory);
            return 0;
        }
        const FontBook fonts;
        std::fprintf(stderr, "atlasgen: painting the title atlas\n");
        const RgbaImage title =
            paintAtlas(titleAtlasSize, titleAtlasSize, titleArtwork(fonts), report);
        writePng(title, directory + "/title_atlas.png");
        std::fprintf(stderr, "atlasgen: painting the greetings atlas\n");
        const RgbaImage greetings =
            paintAtlas(greetingsAtlasWidth, greetingsAtlasHeight, greetingsArtwork(fonts), report);
        writePng(greetings, directory + "/greetings_atlas.png");
        std::fprintf(stderr, "atlasgen: wrote %s/title_atlas.png and %s/greetings_atlas.png\n",
                     directory.c_str(), directory.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "atlasgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
