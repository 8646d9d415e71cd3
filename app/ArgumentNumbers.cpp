// Strict readers for the numbers people type on a command line: seconds, whole numbers, sizes.
#include "app/ArgumentNumbers.h"

#include <cstdlib>

namespace ArgumentNumbers {

namespace {
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

bool parseSeconds(const std::string& text, double& seconds) {
    if (text.empty() || text.size() > 15)
        return false;
    int digits = 0, points = 0;
    for (const char c : text) {
        if (isDigit(c))
            ++digits;
        else if (c == '.')
            ++points;
        else
            return false;
    }
    if (digits == 0 || points > 1)
        return false;
    // Only digits and one point are left, which strtod reads the same in every C locale.
    seconds = std::strtod(text.c_str(), nullptr);
    return true;
}

bool parseWholeNumber(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9)
        return false;
    int result = 0;
    for (const char c : text) {
        if (!isDigit(c))
            return false;
        result = result * 10 + (c - '0');
    }
    value = result;
    return true;
}

bool parseSize(const std::string& text, int& width, int& height) {
    const auto separator = text.find('x');
    if (separator == std::string::npos)
        return false;
    int w = 0, h = 0;
    if (!parseWholeNumber(text.substr(0, separator), w) ||
        !parseWholeNumber(text.substr(separator + 1), h) || w < 1 || h < 1)
        return false;
    width = w;
    height = h;
    return true;
}

} // namespace ArgumentNumbers
