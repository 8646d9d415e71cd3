// One line of hand lettering laid out as glyph outlines, and fitting its shape to an aspect ratio.
#pragma once

#include "Art.h"
#include "Font.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace atlasgen {

// How a line is drawn: the face, the pen's weight and the small unsteadiness of a hand.
struct LetterStyle {
    const Font* font = nullptr;
    double weight = 0;      // pen width traced around each outline, in em
    double wobble = 0;      // each letter tilts up to this many degrees and lifts to match
    std::uint32_t seed = 1; // chooses each letter's tilt and lift
    bool hollow = false;    // trace the outlines only, leaving the letters open
};

// Returns the x in [lo, hi] where the monotonic f(x) comes closest to target.
double solveMonotonic(const std::function<double(double)>& f, double target, double lo, double hi);

// Design units: 1 em = 100 units, the baseline starts at the origin, y grows downwards.
class Lettering {
public:
    static constexpr double em = 100.0;

    Lettering(const std::string& text, const LetterStyle& style);

    double tracking = 0; // extra space after each letter, in em
    double bend = 0;     // the baseline's rise at mid-line, as a fraction of the line's length
    double tilt = 0;     // the baseline's climb from left to right, in degrees

    // Adds the outlines to the current path.
    void addPath(cairo_t* cr) const;
    // Fills the outlines and traces them with the pen.
    void paint(cairo_t* cr) const;
    // The ink's extents, including the pen.
    Box extents() const;
    double aspect() const;
    // A single-layer drawing of the line as it is now.
    Art art(int layer = 0) const;

    // Solve the tracking (em) or the bend within [lo, hi] so that width / height of the ink is
    // as close to aspect as that range allows; return the aspect reached.
    double fitTracking(double aspect, double lo, double hi);
    double fitBend(double aspect, double lo, double hi);
    double fitTilt(double aspect, double lo, double hi);

private:
    // Solves one shaping parameter so that the lettering's aspect ratio meets `target`.
    double fit(double& parameter, double target, double lo, double hi);
    struct Letter {
        unsigned long glyph; // 0 for a space, which only advances
        double advance;      // design units
        double tiltDegrees;  // the hand's tilt of this letter
        double lift;         // design units, upwards
    };
    LetterStyle style;
    std::vector<Letter> letters;

    void setFont(cairo_t* cr) const;
};

} // namespace atlasgen
