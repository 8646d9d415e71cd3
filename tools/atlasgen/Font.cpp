// Font lookup through fontconfig and loading through FreeType into cairo.
#include "Font.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdexcept>
#include <strings.h>

namespace atlasgen {
namespace {

FT_Library library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) {
            throw std::runtime_error("cannot initialise FreeType");
        }
        return l;
    }();
    return lib;
}

const cairo_user_data_key_t faceKey = {};

void releaseFace(void* face) {
    FT_Done_Face(static_cast<FT_Face>(face));
}

std::string fontconfigFile(const std::string& family, const std::string& style) {
    if (!FcInit()) {
        throw std::runtime_error("cannot initialise fontconfig");
    }
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddString(pattern, FC_STYLE, reinterpret_cast<const FcChar8*>(style.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) {
        throw std::runtime_error("no font matches " + family + " " + style);
    }
    FcChar8* foundFamily = nullptr;
    FcChar8* foundStyle = nullptr;
    FcChar8* file = nullptr;
    const bool found = FcPatternGetString(match, FC_FAMILY, 0, &foundFamily) == FcResultMatch &&
                       FcPatternGetString(match, FC_STYLE, 0, &foundStyle) == FcResultMatch &&
                       FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
    const bool exact =
        found && strcasecmp(reinterpret_cast<const char*>(foundFamily), family.c_str()) == 0 &&
        strcasecmp(reinterpret_cast<const char*>(foundStyle), style.c_str()) == 0;
    const std::string path = found ? reinterpret_cast<const char*>(file) : "";
    FcPatternDestroy(match);
    if (!exact) {
        throw std::runtime_error("font " + family + " " + style +
                                 " is not installed (run scripts/setup)");
    }
    return path;
}

} // namespace

Font::Font(const std::string& family, const std::string& style)
    : label(family + " " + style), path(fontconfigFile(family, style)) {
    FT_Face face = nullptr;
    if (FT_New_Face(library(), path.c_str(), 0, &face) != 0) {
        throw std::runtime_error("cannot load font file " + path);
    }
    ftFace = face;
    cairoFace = cairo_ft_font_face_create_for_ft_face(face, FT_LOAD_NO_HINTING);
    if (cairo_font_face_set_user_data(cairoFace, &faceKey, face, releaseFace) !=
        CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(cairoFace);
        FT_Done_Face(face);
        throw std::runtime_error("cannot attach font " + path + " to cairo");
    }
}

Font::~Font() {
    cairo_font_face_destroy(cairoFace);
}

unsigned long Font::glyphFor(char c) const {
    const FT_UInt index =
        FT_Get_Char_Index(static_cast<FT_Face>(ftFace), static_cast<unsigned char>(c));
    if (index == 0) {
        throw std::runtime_error(label + " has no glyph for '" + std::string(1, c) + "'");
    }
    return index;
}

} // namespace atlasgen
