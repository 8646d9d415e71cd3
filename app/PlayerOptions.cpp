// The player's command line: what one-quill-wisp is asked to do, read without side effects.
#include "app/PlayerOptions.h"

#include "app/Schedule.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <set>

#ifndef WISP_VERSION
#error "WISP_VERSION must name the project's version"
#endif

namespace {

constexpr int kLargestWindow = 16384;       // pixels a side; beyond any GL's viewport limit
constexpr long kLargestAudioDelayMs = 5000; // either way; beyond any sound path's latency

// A whole number of digits only, no sign, no spaces, in [0, limit].
bool parseCount(const std::string& text, long limit, long& value) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != text.npos)
        return false;
    value = std::strtol(text.c_str(), nullptr, 10);
    return value <= limit;
}

// Whole milliseconds with an optional sign, within kLargestAudioDelayMs either way.
bool parseAudioDelay(const std::string& text, double& ms) {
    const bool negative = !text.empty() && text[0] == '-';
    const size_t digits = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    long magnitude = 0;
    if (!parseCount(text.substr(digits), kLargestAudioDelayMs, magnitude))
        return false;
    ms = static_cast<double>(negative ? -magnitude : magnitude);
    return true;
}

// A demo time in seconds on the schedule: a finite decimal number with 0 <= t < 114.
bool parseDemoTime(const std::string& text, double& seconds) {
    if (text.empty() || text.find_first_not_of("0123456789.") != text.npos)
        return false;
    char* end = nullptr;
    errno = 0;
    seconds = std::strtod(text.c_str(), &end);
    return errno == 0 && *end == '\0' && std::isfinite(seconds) && seconds >= 0.0 &&
           seconds < Schedule::kDemoEnd;
}

// WIDTHxHEIGHT in pixels, each 1..kLargestWindow.
bool parseWindowSize(const std::string& text, int& width, int& height) {
    const auto x = text.find('x');
    long w = 0, h = 0;
    if (x == text.npos || !parseCount(text.substr(0, x), kLargestWindow, w) ||
        !parseCount(text.substr(x + 1), kLargestWindow, h) || w < 1 || h < 1)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

PlayerOptions refuse(const std::string& problem) {
    PlayerOptions refused;
    refused.action = PlayerOptions::Action::Refuse;
    refused.problem = problem;
    return refused;
}

} // namespace

PlayerOptions parsePlayerOptions(const std::vector<std::string>& arguments) {
    PlayerOptions options;
    std::string problem;
    bool help = false, version = false;
    std::set<std::string> seen;
    const auto fail = [&problem](const std::string& what) {
        if (problem.empty())
            problem = what;
    };

    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const bool takesValue = name == "--window" || name == "--display" || name == "--from" ||
                                name == "--still" || name == "--audio-delay";
        const bool isFlag = name == "--mute" || name == "--loop" || name == "--help" ||
                            name == "-h" || name == "--version";
        if (!takesValue && !isFlag) {
            fail("unknown option '" + argument + "'");
            continue;
        }
        if (!seen.insert(name).second)
            fail(name + " is given twice");
        if (isFlag) {
            if (equals != argument.npos)
                fail(name + " takes no value");
            help = help || name == "--help" || name == "-h";
            version = version || name == "--version";
            options.demo.music = options.demo.music && name != "--mute";
            options.demo.loop = options.demo.loop || name == "--loop";
            continue;
        }

        std::string value;
        if (equals != argument.npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            fail(name + " needs a value");
            continue;
        }
        long display = 0;
        double seconds = 0.0;
        if (name == "--window") {
            if (parseWindowSize(value, options.demo.width, options.demo.height))
                options.demo.fullscreen = false;
            else
                fail("--window needs WIDTHxHEIGHT in pixels from 1 to " +
                     std::to_string(kLargestWindow) + ", not '" + value + "'");
        } else if (name == "--display") {
            if (parseCount(value, 999, display))
                options.demo.display = static_cast<int>(display);
            else
                fail("--display needs a display number counted from 0, not '" + value + "'");
        } else if (name == "--audio-delay") {
            if (!parseAudioDelay(value, options.demo.audioDelayMs))
                fail("--audio-delay needs whole milliseconds from -" +
                     std::to_string(kLargestAudioDelayMs) + " to " +
                     std::to_string(kLargestAudioDelayMs) + ", not '" + value + "'");
        } else if (parseDemoTime(value, seconds)) {
            (name == "--from" ? options.demo.from : options.demo.still) = seconds;
        } else {
            fail(name + " needs a demo time in seconds from 0 to below 114, not '" + value + "'");
        }
    }

    if (options.demo.still && options.demo.from)
        fail("--still holds one moment, so it cannot be combined with --from");
    if (options.demo.still && options.demo.loop)
        fail("--still holds one moment, so it cannot be combined with --loop");

    if (!problem.empty())
        return refuse(problem);
    if (help)
        options.action = PlayerOptions::Action::ShowHelp;
    else if (version)
        options.action = PlayerOptions::Action::ShowVersion;
    return options;
}

std::string usageLine() {
    return "usage: one-quill-wisp [--window WxH] [--display N] [--mute] [--from S] [--loop] "
           "[--still T] [--audio-delay MS] [--help] [--version]";
}

std::string helpText() {
    return usageLine() + "\n"
                         "Plays the demo: 114 seconds of pictures and music, fullscreen on the "
                         "desktop's display.\n"
                         "Releasing Escape or closing the window ends it.\n"
                         "\n"
                         "  --window WxH  play in a window of W by H pixels, cursor visible\n"
                         "  --display N   play on display N, counted from 0, at its desktop "
                         "resolution\n"
                         "  --mute        open no audio device; the show plays silently, in time\n"
                         "  --from S      begin at demo time S seconds (0 <= S < 114)\n"
                         "  --loop        after the end, start again from the beginning until "
                         "quit\n"
                         "  --still T     hold demo time T seconds on screen, silently, until "
                         "quit\n"
                         "  --audio-delay MS\n"
                         "                play the sound MS milliseconds later against the "
                         "picture (negative:\n"
                         "                earlier), for a projector or receiver that delays "
                         "the picture\n"
                         "  --help        show this help and exit\n"
                         "  --version     show the version and exit\n"
                         "\n"
                         "Exit status: 0 played or quit, 1 could not start, 2 bad options or no "
                         "such display.\n";
}

std::string versionText() {
    return std::string("one-quill-wisp ") + WISP_VERSION + "\n";
}
