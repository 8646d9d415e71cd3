// Hand lettering: glyph outlines placed along a gently bent baseline with a steady-hand wobble.
#include "Lettering.h"

#include <cmath>
#include <stdexcept>

namespace atlasgen {
namespace {

constexpr double pi = 3.14159265358979323846;

// xorshift32: the same sequence on every machine, unlike the standard distributions.
class HandNoise {
public:
    explicit HandNoise(std::uint32_t seed) : state(seed != 0 ? seed : 0x9E3779B9u) {}
    // A value in [-1, 1].
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483647.5 - 1.0;
    }

private:
    std::uint32_t state;
};

} // namespace

double solveMonotonic(const std::function<double(double)>& f, double target, double lo, double hi) {
    const bool rising = f(hi) > f(lo);
    for (int i = 0; i < 48; ++i) {
        const double mid = 0.5 * (lo + hi);
        if ((f(mid) < target) == rising) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return 0.5 * (lo + hi);
}

namespace {

cairo_t* scratchContext() {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(surface);
    cairo_surface_destroy(surface);
    return cr;
}

} // namespace

Lettering::Lettering(const std::string& text, const LetterStyle& letterStyle) : style(letterStyle) {
    if (style.font == nullptr) {
        throw std::runtime_error("lettering \"" + text + "\" has no font");
    }
    cairo_t* cr = scratchContext();
    setFont(cr);
    cairo_scaled_font_t* scaled = cairo_get_scaled_font(cr);
    HandNoise noise(style.seed);
    for (char c : text) {
        cairo_glyph_t glyph = {style.font->glyphFor(c), 0, 0};
        cairo_text_extents_t ext;
        cairo_scaled_font_glyph_extents(scaled, &glyph, 1, &ext);
        const double tiltDegrees = style.wobble * noise.next();
        const double lift = 0.8 * style.wobble * noise.next();
        letters.push_back({c == ' ' ? 0 : glyph.index, ext.x_advance, tiltDegrees, lift});
    }
    cairo_destroy(cr);
}

void Lettering::setFont(cairo_t* cr) const {
    cairo_set_font_face(cr, style.font->face());
    cairo_set_font_size(cr, em);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

void Lettering::addPath(cairo_t* cr) const {
    double length = 0;
    for (const Letter& l : letters) {
        length += l.advance + tracking * em;
    }
    length -= tracking * em;
    const double climb = std::tan(tilt * pi / 180.0);
    cairo_save(cr);
    setFont(cr);
    double x = 0;
    for (const Letter& l : letters) {
        const double centre = x + 0.5 * l.advance;
        x += l.advance + tracking * em;
        if (l.glyph == 0) {
            continue;
        }
        // The baseline is a parabola through both ends, rising by bend * length at mid-line.
        const double u = length > 0 ? centre / length : 0.5;
        const double y = -4.0 * bend * length * u * (1 - u) - climb * centre;
        const double slope = -4.0 * bend * (1 - 2 * u) - climb;
        cairo_save(cr);
        cairo_translate(cr, centre, y - l.lift);
        cairo_rotate(cr, std::atan(slope) + l.tiltDegrees * pi / 180.0);
        cairo_glyph_t glyph = {l.glyph, -0.5 * l.advance, 0};
        cairo_glyph_path(cr, &glyph, 1);
        cairo_restore(cr);
    }
    cairo_restore(cr);
}

void Lettering::paint(cairo_t* cr) const {
    cairo_new_path(cr);
    addPath(cr);
    if (style.weight <= 0) {
        cairo_fill(cr);
        return;
    }
    if (!style.hollow) {
        cairo_fill_preserve(cr);
    }
    cairo_set_line_width(cr, style.weight * em);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

Box Lettering::extents() const {
    cairo_t* cr = scratchContext();
    addPath(cr);
    Box box;
    cairo_fill_extents(cr, &box.x0, &box.y0, &box.x1, &box.y1);
    if (style.weight > 0) {
        cairo_set_line_width(cr, style.weight * em);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        Box pen;
        cairo_stroke_extents(cr, &pen.x0, &pen.y0, &pen.x1, &pen.y1);
        box = box.united(pen);
    }
    cairo_destroy(cr);
    return box;
}

double Lettering::aspect() const {
    const Box box = extents();
    return box.width() / box.height();
}

Art Lettering::art(int layer) const {
    Art result;
    const Lettering copy = *this;
    result.add(layer, [copy](cairo_t* cr) { copy.paint(cr); });
    return result;
}

double Lettering::fit(double& parameter, double target, double lo, double hi) {
    parameter = solveMonotonic(
        [this, &parameter](double value) {
            parameter = value;
            return aspect();
        },
        target, lo, hi);
    return aspect();
}

double Lettering::fitTracking(double target, double lo, double hi) {
    return fit(tracking, target, lo, hi);
}

double Lettering::fitTilt(double target, double lo, double hi) {
    return fit(tilt, target, lo, hi);
}

double Lettering::fitBend(double target, double lo, double hi) {
    return fit(bend, target, lo, hi);
}

} // namespace atlasgen
