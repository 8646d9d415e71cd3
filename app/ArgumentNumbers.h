// Strict readers for the numbers people type on a command line: seconds, whole numbers, sizes.
#pragma once

#include <string>

namespace ArgumentNumbers {

// Plain decimal seconds, "12", "12.5" or ".5": digits with at most one point, nothing else (no
// sign, spaces, exponent, hex, "inf" or "nan"), at most 15 characters. Returns false for
// anything else.
bool parseSeconds(const std::string& text, double& seconds);

// A whole number written with 1 to 9 decimal digits and nothing else. Returns false otherwise.
bool parseWholeNumber(const std::string& text, int& value);

// WIDTHxHEIGHT in pixels, each a whole number as above and at least 1. Returns false otherwise.
bool parseSize(const std::string& text, int& width, int& height);

} // namespace ArgumentNumbers
