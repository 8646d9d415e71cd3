// A font face found by its fontconfig name and loaded with FreeType for unhinted outline lettering.
#pragma once

#include <cairo.h>
#include <string>

namespace atlasgen {

class Font {
public:
    // Finds the installed face whose family and style match exactly; throws std::runtime_error
    // when fontconfig would substitute another family, so a missing package is never hidden.
    Font(const std::string& family, const std::string& style);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // The cairo face; its outlines are loaded without hinting, so they scale exactly.
    cairo_font_face_t* face() const { return cairoFace; }
    // The glyph that shows the character c; throws when the face has none.
    unsigned long glyphFor(char c) const;
    const std::string& name() const { return label; }
    const std::string& file() const { return path; }

private:
    std::string label;
    std::string path;
    void* ftFace = nullptr; // FT_Face, owned by cairoFace once that exists
    cairo_font_face_t* cairoFace = nullptr;
};

} // namespace atlasgen

namespace atlasgen {

// Every face the artwork letters with, each loaded once.
struct FontBook {
    Font comicNeueBold{"Comic Neue", "Bold"};
    Font comicNeueBoldItalic{"Comic Neue", "Bold Italic"};
    Font comfortaaBold{"Comfortaa", "Bold"};
};

} // namespace atlasgen
