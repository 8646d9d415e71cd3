// Composes the scenes of the show into one window frame at a given demo time.
#include "PictureModel.h"

#include "GreetingsOverlay.h"
#include "Letterbox.h"
#include "MetaballsPicture.h"
#include "TitlePicture.h"

#include <utility>

namespace picture {

PictureModel::PictureModel(std::string contentDir) : contentDir_(std::move(contentDir)) {}

const AtlasTexture& PictureModel::titleAtlas() {
    if (titleAtlas_.empty()) {
        titleAtlas_ = AtlasTexture::loadPremultiplied(contentDir_ + "/title_atlas.png");
    }
    return titleAtlas_;
}

const AtlasTexture& PictureModel::greetingsAtlas() {
    if (greetingsAtlas_.empty()) {
        greetingsAtlas_ = AtlasTexture::loadPremultiplied(contentDir_ + "/greetings_atlas.png");
    }
    return greetingsAtlas_;
}

Frame PictureModel::render(double clock, int width, int height) {
    Frame frame(width, height);
    const Letterbox box = letterbox(width, height);
    if (clock < kMetaballsStart) {
        renderTitle(frame, box, clock, titleAtlas());
        return frame;
    }
    const double tau = clock - kMetaballsStart;
    renderMetaballs(frame, box, tau);
    if (tau > kGreetingsStart) {
        for (const OverlaySprite& sprite : greetingsLayout(
                 tau - kGreetingsStart, static_cast<float>(width), static_cast<float>(height))) {
            drawOverlaySprite(frame, box, sprite, greetingsAtlas());
        }
    }
    return frame;
}

} // namespace picture
