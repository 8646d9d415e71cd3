// The greetings heading and the fourteen captions: invented group names in hand-lettered capitals.
#include "Artwork.h"

namespace atlasgen {
namespace {

// One name for each caption slot, in the order they are shown; each is chosen so that its
// natural shape fills its slot's aspect with little change of letter spacing.
const char* const groupNames[14] = {
    "BLOTCH", "SNIBBO", "SOUP TOAD", "BLORP", "GUB",    "MOTH SIGNAL", "BOGWIT",
    "OOF",    "GLUMPF", "ZIGGLE",    "WUB",   "SPLONK", "TIN GOAT",    "TOFFO",
};

} // namespace

std::vector<SpriteArtwork> greetingsArtwork(const FontBook& fonts) {
    LetterStyle heading;
    heading.font = &fonts.comicNeueBoldItalic;
    heading.weight = 0.03;
    heading.wobble = 1.0;
    heading.seed = 31;

    LetterStyle names;
    names.font = &fonts.comicNeueBold;
    names.weight = 0.03;
    names.wobble = 1.5;

    std::vector<SpriteArtwork> sprites;
    const SpriteSlot& head = greetingsHeading();
    // The heading is wider than its slot when set straight, so it rises on a gentle arch.
    Lettering title("WE GREET:", heading);
    title.tracking = 0.02;
    title.fitBend(head.shownAspect, 0.0, 0.12);
    sprites.push_back({head, title.art(), {ink}, "WE GREET:", fonts.comicNeueBoldItalic.name()});
    for (size_t i = 0; i < greetingCaptions().size(); ++i) {
        const SpriteSlot& slot = greetingCaptions()[i];
        names.seed = 40 + static_cast<std::uint32_t>(i);
        sprites.push_back({slot,
                           letteredLine(groupNames[i], names, slot.shownAspect, -0.05, 0.15),
                           {ink},
                           groupNames[i],
                           fonts.comicNeueBold.name()});
    }
    return sprites;
}

} // namespace atlasgen
