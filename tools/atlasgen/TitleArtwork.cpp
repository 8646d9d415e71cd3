// The ten drawings of the title atlas: captions, the two logos and the fox.
#include "Artwork.h"

#include "FoxSilhouette.h"
#include "TitleLogo.h"

#include <algorithm>
#include <stdexcept>

namespace atlasgen {
namespace {

const SpriteSlot& titleSlot(const std::string& name) {
    for (const SpriteSlot& slot : titleSprites()) {
        if (name == slot.name) {
            return slot;
        }
    }
    throw std::runtime_error("no title sprite named " + name);
}

// Small lower-case words on a gentle arch, rising just enough to fill their slot's aspect.
Art archedWords(const std::string& text, const LetterStyle& style, double aspect, double maxTilt) {
    Lettering line(text, style);
    line.bend = 0.05;
    line.tracking = 0.01;
    line.fitTilt(aspect, 0.0, maxTilt);
    return line.art();
}

// The credit line: the name duskmere large, between "A" and PRODUCTION set smaller on the same
// baseline; their size is chosen so that the line fills its aspect.
Art creditLine(const LetterStyle& style, double aspect) {
    Lettering article("A", style), name("duskmere", style), production("PRODUCTION", style);
    const Box articleBox = article.extents(), nameBox = name.extents();
    const Box productionBox = production.extents();
    const double space = 0.3 * Lettering::em;
    double articleX = 0, productionX = 0;
    auto layout = [&](double s) {
        articleX = nameBox.x0 - space * s - s * articleBox.x1;
        productionX = nameBox.x1 + space * s - s * productionBox.x0;
        const Box small = {
            articleX + s * articleBox.x0, s * std::min(articleBox.y0, productionBox.y0),
            productionX + s * productionBox.x1, s * std::max(articleBox.y1, productionBox.y1)};
        return nameBox.united(small);
    };
    const double scale = solveMonotonic(
        [&](double s) {
            const Box b = layout(s);
            return b.width() / b.height();
        },
        aspect, 0.5, 1.0);
    layout(scale);
    Art art = name.art();
    art.place(article.art(), articleX, 0, scale);
    art.place(production.art(), productionX, 0, scale);
    return art;
}

} // namespace

Art letteredLine(const std::string& text, const LetterStyle& style, double aspect,
                 double minTracking, double maxTracking) {
    Lettering line(text, style);
    line.fitTracking(aspect, minTracking, maxTracking);
    return line.art();
}

std::vector<SpriteArtwork> titleArtwork(const FontBook& fonts) {
    LetterStyle marker;
    marker.font = &fonts.comicNeueBold;
    marker.weight = 0.035;
    marker.wobble = 1.5;

    LetterStyle script;
    script.font = &fonts.comicNeueBold;
    script.weight = 0.01;
    script.wobble = 1.2;

    LetterStyle doge;
    doge.font = &fonts.comicNeueBold;
    doge.weight = 0.02;
    doge.wobble = 2.0;

    std::vector<SpriteArtwork> sprites;
    auto add = [&](const std::string& name, Art art, std::vector<Colour> colours,
                   const std::string& wording, const std::string& faces) {
        sprites.push_back({titleSlot(name), std::move(art), std::move(colours), wording, faces});
    };
    auto aspectOf = [](const std::string& name) { return titleSlot(name).shownAspect; };

    marker.seed = 11;
    add("called", letteredLine("CALLED", marker, aspectOf("called"), -0.05, 0.3), {ink}, "CALLED",
        fonts.comicNeueBold.name());
    marker.seed = 12;
    add("heregoes", letteredLine("HERE GOES...", marker, aspectOf("heregoes"), -0.05, 0.3), {ink},
        "HERE GOES...", fonts.comicNeueBold.name());
    add("kelpworks", groupLogo(fonts, aspectOf("kelpworks")), {ink}, "KELP / WORKS",
        fonts.comicNeueBold.name());
    add("wisp", foxSilhouette(), {ink}, "fox silhouette", "none");
    add("wisplogo", titleLogo(fonts, aspectOf("wisplogo")), {logoRed, logoBlue}, "One Quill Wisp",
        fonts.comfortaaBold.name() + ", " + fonts.comicNeueBold.name());
    marker.seed = 13;
    add("presents", letteredLine("PRESENTS", marker, aspectOf("presents"), -0.05, 0.3), {ink},
        "PRESENTS", fonts.comicNeueBold.name());
    script.seed = 14;
    add("duskmere", creditLine(script, aspectOf("duskmere")), {ink}, "A duskmere PRODUCTION",
        fonts.comicNeueBold.name());
    doge.seed = 15;
    add("suchwisp", archedWords("such wisp", doge, aspectOf("suchwisp"), 20), {ink}, "such wisp",
        fonts.comicNeueBold.name());
    doge.seed = 16;
    add("veryquill", archedWords("very quill", doge, aspectOf("veryquill"), 20), {ink},
        "very quill", fonts.comicNeueBold.name());
    doge.seed = 17;
    add("wow", archedWords("wow", doge, aspectOf("wow"), 25), {ink}, "wow",
        fonts.comicNeueBold.name());
    return sprites;
}

} // namespace atlasgen
