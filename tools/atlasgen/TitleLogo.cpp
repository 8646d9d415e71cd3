// Composition of the two logos of the title atlas.
#include "TitleLogo.h"

#include "Emblems.h"
#include "Lettering.h"

#include <algorithm>
#include <cmath>

namespace atlasgen {
namespace {

constexpr double pi = 3.14159265358979323846;

// The extents of a w x h box centred on (cx, cy) and turned by angle radians.
Box turnedBox(double cx, double cy, double w, double h, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    const double hw = 0.5 * (std::fabs(w * c) + std::fabs(h * s));
    const double hh = 0.5 * (std::fabs(w * s) + std::fabs(h * c));
    return {cx - hw, cy - hh, cx + hw, cy + hh};
}

void roundedBoxPath(cairo_t* cr, double w, double h, double r) {
    const double x = -0.5 * w, y = -0.5 * h;
    cairo_new_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

} // namespace

Art titleLogo(const FontBook& fonts, double aspect) {
    LetterStyle round;
    round.font = &fonts.comfortaaBold;
    round.weight = 0.035;
    Lettering wisp("Wisp", round);
    const double wispScale = 3.0;
    const double xHeight = -Lettering("x", round).extents().y0 * wispScale;

    LetterStyle outline;
    outline.font = &fonts.comicNeueBold;
    outline.weight = 0.045;
    outline.hollow = true;
    outline.wobble = 1.0;
    outline.seed = 71;
    Lettering quill("One Quill", outline);
    quill.tracking = 0.06;
    const double quillScale = 1.45;
    const Box quillBox = quill.extents();
    const double qcx = 0.5 * (quillBox.x0 + quillBox.x1), qcy = 0.5 * (quillBox.y0 + quillBox.y1);

    // The frame: a rounded box around the lettering, turned so that its right end dips into
    // the tops of the small letters of Wisp.
    const double pad = 20, corner = 22, frameLine = 10, gap = 12;
    const double angle = 6 * pi / 180;
    const double fw = quillBox.width() * quillScale + 2 * pad;
    const double fh = quillBox.height() * quillScale + 2 * pad;

    // Wisp's letter spacing is the free choice that gives the whole logo its aspect.
    double cx = 0, cy = 0;
    auto layout = [&](double tracking) {
        wisp.tracking = tracking;
        const Box w = wisp.extents();
        const Box wispBox = {w.x0 * wispScale, w.y0 * wispScale, w.x1 * wispScale,
                             w.y1 * wispScale};
        const Box outer = turnedBox(0, 0, fw + frameLine, fh + frameLine, angle);
        // The frame's lowest corner reaches this far below the top of the small letters.
        cx = wispBox.x1 - outer.x1 + 0.06 * fw;
        cy = -xHeight + 0.26 * fh - outer.y1;
        const Box frame = {cx + outer.x0, cy + outer.y0, cx + outer.x1, cy + outer.y1};
        return wispBox.united(frame);
    };
    solveMonotonic(
        [&](double t) {
            const Box b = layout(t);
            return b.width() / b.height();
        },
        aspect, 0.0, 0.25);

    auto onFrame = [=](cairo_t* cr) {
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, angle);
    };
    Art art;
    art.add(0, [=](cairo_t* cr) {
        cairo_save(cr);
        cairo_scale(cr, wispScale, wispScale);
        wisp.paint(cr);
        cairo_restore(cr);
        // The frame lies on top like a label; Wisp stops a clear gap short of it.
        cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
        onFrame(cr);
        roundedBoxPath(cr, fw + frameLine + 2 * gap, fh + frameLine + 2 * gap,
                       corner + 0.5 * frameLine + gap);
        cairo_fill(cr);
    });
    art.add(1, [=](cairo_t* cr) {
        onFrame(cr);
        roundedBoxPath(cr, fw, fh, corner);
        cairo_set_line_width(cr, frameLine);
        cairo_stroke(cr);
        cairo_scale(cr, quillScale, quillScale);
        cairo_translate(cr, -qcx, -qcy);
        quill.paint(cr);
    });
    return art;
}

Art groupLogo(const FontBook& fonts, double aspect) {
    LetterStyle style;
    style.font = &fonts.comicNeueBold;
    style.weight = 0.07;
    style.wobble = 1.0;
    style.seed = 5;

    const double capHeight = -Lettering("H", style).extents().y0;
    const double emblemSize = 1.15 * capHeight;
    const double space = 0.1 * Lettering::em;

    // Second line: W, the cog as its O, RKS.
    Lettering w("W", style), rks("RKS", style);
    style.seed = 9;
    Lettering kelp("KELP", style);
    rks.tracking = 0.04;
    const Box wBox = w.extents();
    const double cogX = wBox.x1 + space + 0.5 * emblemSize;
    const double rksX = cogX + 0.5 * emblemSize + space - rks.extents().x0;
    const Box rksBox = rks.extents();
    const double lineWidth = rksX + rksBox.x1 - wBox.x0;

    // First line: KELP then the roundel, spread to the same width.
    const double kelpWidth = lineWidth - emblemSize - space;
    kelp.fitTracking(kelpWidth / kelp.extents().height(), 0.0, 0.5);
    const Box kelpBox = kelp.extents();
    const double emblemX = wBox.x0 + lineWidth - 0.5 * emblemSize;
    const double emblemY = -0.5 * capHeight;

    // The second line's baseline is set so that the whole logo has the aspect asked for.
    const double top = std::min({kelpBox.y0, emblemY - 0.5 * emblemSize});
    const double firstBottom = std::max(kelpBox.y1, emblemY + 0.5 * emblemSize);
    const double secondDepth = std::max(wBox.y1, rksBox.y1);
    const double secondRise =
        std::max(-std::min(wBox.y0, rksBox.y0), 0.5 * (emblemSize + capHeight));
    const double height = lineWidth / aspect;
    const double secondBaseline = std::max(top + height - secondDepth, firstBottom + secondRise);

    Art art;
    art.place(kelp.art(), wBox.x0 - kelpBox.x0, 0, 1);
    art.place(kelpEmblem(), emblemX, emblemY, emblemSize / 200);
    art.place(w.art(), 0, secondBaseline, 1);
    art.place(cogEmblem(), cogX, secondBaseline - 0.5 * capHeight, emblemSize / 200);
    art.place(rks.art(), rksX, secondBaseline, 1);
    return art;
}

} // namespace atlasgen
