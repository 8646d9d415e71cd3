// The whole window the demo shows at a demo time: the title picture until 18 s, then the
// metaballs picture with its greetings overlay until 114 s, in the letterboxed drawing area.
#pragma once

#include "AtlasTexture.h"
#include "Frame.h"

#include <string>

namespace picture {

class PictureModel {
public:
    // contentDir holds title_atlas.png and greetings_atlas.png; each is decoded on first need.
    explicit PictureModel(std::string contentDir);

    // The window of width x height pixels at demo time `clock` seconds (0 <= clock < 114).
    // Pixels the demo never writes (the bands during the title) are black.
    Frame render(double clock, int width, int height);

private:
    const AtlasTexture& titleAtlas();
    const AtlasTexture& greetingsAtlas();

    std::string contentDir_;
    AtlasTexture titleAtlas_;
    AtlasTexture greetingsAtlas_;
};

// Demo time at which the metaballs scene starts and the title scene ends, in seconds.
constexpr double kMetaballsStart = 18.0;
// Metaballs scene time after which the greetings overlay is drawn, in seconds.
constexpr double kGreetingsStart = 47.0;

} // namespace picture
