// Fitting each sprite of an atlas into its slot and laying it down in its colours.
#include "AtlasPainter.h"

#include "SpriteFitter.h"

#include <stdexcept>

namespace atlasgen {

RgbaImage paintAtlas(int width, int height, const std::vector<SpriteArtwork>& sprites,
                     std::FILE* report) {
    RgbaImage image(width, height);
    for (const SpriteArtwork& sprite : sprites) {
        const PixelRect& rect = sprite.slot.rect;
        FittedSprite fitted;
        try {
            fitted = fitArt(sprite.art, rect.w, rect.h);
        } catch (const std::exception& e) {
            throw std::runtime_error(std::string("sprite ") + sprite.slot.name + ": " + e.what());
        }
        if (fitted.layers.size() != sprite.colours.size()) {
            throw std::runtime_error(std::string("sprite ") + sprite.slot.name +
                                     " has a layer without a colour");
        }
        image.stamp(fitted.layers, sprite.colours, rect.x, rect.y);
        if (report != nullptr) {
            const double rectAspect = double(rect.w) / rect.h;
            const double onScreen =
                fitted.scaleX / fitted.scaleY * sprite.slot.shownAspect / rectAspect;
            std::fprintf(report, "  %-11s %4d x %-4d %+6.1f%%  %-22s %s\n", sprite.slot.name,
                         rect.w, rect.h, (onScreen - 1) * 100, sprite.wording.c_str(),
                         sprite.fonts.c_str());
        }
    }
    return image;
}

} // namespace atlasgen
