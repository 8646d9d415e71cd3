// The player's command line: accepted options and their values, and refusals naming the fault.
#include "app/PlayerOptions.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Action = PlayerOptions::Action;
using Args = std::vector<std::string>;

std::string joined(const Args& args) {
    std::string text;
    for (const std::string& arg : args)
        text += (text.empty() ? "" : " ") + arg;
    return text;
}

struct Accepted {
    Args args;
    Action action;
    int width, height;
    bool fullscreen, music;
    int display;
    std::optional<double> from, still;
    bool loop;
};

void PrintTo(const Accepted& c, std::ostream* os) {
    *os << "'" << joined(c.args) << "'";
}

class AcceptedOptions : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedOptions, SetTheDemoUp) {
    const Accepted& c = GetParam();
    const PlayerOptions options = parsePlayerOptions(c.args);
    EXPECT_EQ(options.action, c.action) << options.problem;
    EXPECT_EQ(options.problem, "");
    const DemoOptions& demo = options.demo;
    EXPECT_EQ(demo.width, c.width);
    EXPECT_EQ(demo.height, c.height);
    EXPECT_EQ(demo.fullscreen, c.fullscreen);
    EXPECT_EQ(demo.music, c.music);
    EXPECT_EQ(demo.display, c.display);
    EXPECT_EQ(demo.from, c.from);
    EXPECT_EQ(demo.still, c.still);
    EXPECT_EQ(demo.loop, c.loop);
}

constexpr auto none = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    PlayerOptions, AcceptedOptions,
    ::testing::Values(
        // Nothing given: the show as it always played.
        Accepted{{}, Action::Play, 0, 0, true, true, -1, none, none, false},
        Accepted{
            {"--window", "640x360"}, Action::Play, 640, 360, false, true, -1, none, none, false},
        Accepted{{"--window=1x16384", "--display", "1", "--mute"},
                 Action::Play,
                 1,
                 16384,
                 false,
                 false,
                 1,
                 none,
                 none,
                 false},
        Accepted{{"--display=0", "--from", "40", "--loop"},
                 Action::Play,
                 0,
                 0,
                 true,
                 true,
                 0,
                 40.0,
                 none,
                 true},
        Accepted{{"--from=0"}, Action::Play, 0, 0, true, true, -1, 0.0, none, false},
        Accepted{{"--still", "113.99"}, Action::Play, 0, 0, true, true, -1, none, 113.99, false},
        Accepted{
            {"--still", ".5", "--mute"}, Action::Play, 0, 0, true, false, -1, none, 0.5, false},
        // Help and version win over playing, whatever else is asked.
        Accepted{{"--mute", "--help"}, Action::ShowHelp, 0, 0, true, false, -1, none, none, false},
        Accepted{{"-h"}, Action::ShowHelp, 0, 0, true, true, -1, none, none, false},
        Accepted{
            {"--version", "--help"}, Action::ShowHelp, 0, 0, true, true, -1, none, none, false},
        Accepted{
            {"--loop", "--version"}, Action::ShowVersion, 0, 0, true, true, -1, none, none, true}));

struct Refused {
    Args args;
    std::string named; // what the message must mention
};

void PrintTo(const Refused& c, std::ostream* os) {
    *os << "'" << joined(c.args) << "'";
}

class RefusedOptions : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedOptions, NameTheProblem) {
    const Refused& c = GetParam();
    const PlayerOptions options = parsePlayerOptions(c.args);
    EXPECT_EQ(options.action, Action::Refuse);
    EXPECT_NE(options.problem.find(c.named), std::string::npos) << options.problem;
    EXPECT_EQ(options.problem.find('\n'), std::string::npos) << options.problem;
}

INSTANTIATE_TEST_SUITE_P(
    PlayerOptions, RefusedOptions,
    ::testing::Values(
        Refused{{"--fullscreen"}, "'--fullscreen'"}, Refused{{"play"}, "'play'"},
        Refused{{"--help", "--bogus"}, "'--bogus'"}, Refused{{"--window", "640"}, "'640'"},
        Refused{{"--window", "0x360"}, "'0x360'"}, Refused{{"--window", "640x-360"}, "'640x-360'"},
        Refused{{"--window", "640x360x2"}, "'640x360x2'"},
        Refused{{"--window", " 640x360"}, "' 640x360'"},
        Refused{{"--window", "16385x100"}, "'16385x100'"},
        Refused{{"--window"}, "--window needs a value"}, Refused{{"--display", "-1"}, "'-1'"},
        Refused{{"--display", "one"}, "'one'"}, Refused{{"--display="}, "--display needs"},
        Refused{{"--from", "114"}, "'114'"}, Refused{{"--from", "-0.5"}, "'-0.5'"},
        Refused{{"--from", "nan"}, "'nan'"}, Refused{{"--from", "1.2.3"}, "'1.2.3'"},
        Refused{{"--still", "."}, "'.'"}, Refused{{"--still"}, "--still needs"},
        Refused{{"--still", "5", "--from", "3"}, "--from"},
        Refused{{"--loop", "--still", "5"}, "--loop"},
        Refused{{"--mute", "--mute"}, "--mute is given twice"},
        Refused{{"--from", "3", "--from=4"}, "--from is given twice"},
        Refused{{"--mute=yes"}, "--mute takes no value"},
        Refused{{"--audio-delay", "5001"}, "'5001'"},
        Refused{{"--audio-delay", "-5001"}, "'-5001'"}, Refused{{"--audio-delay", "1.5"}, "'1.5'"},
        Refused{{"--audio-delay", "+-3"}, "'+-3'"}, Refused{{"--audio-delay=-"}, "'-'"},
        Refused{{"--audio-delay", "ms"}, "'ms'"}));

TEST(PlayerOptions, AudioDelayTakesSignedWholeMilliseconds) {
    const std::pair<const char*, double> delays[] = {
        {"100", 100.0}, {"+100", 100.0}, {"-250", -250.0}, {"0", 0.0}, {"5000", 5000.0}};
    for (const auto& [text, ms] : delays) {
        const PlayerOptions options = parsePlayerOptions({"--audio-delay", text});
        EXPECT_EQ(options.action, Action::Play) << text << ": " << options.problem;
        EXPECT_EQ(options.demo.audioDelayMs, ms) << text;
    }
    EXPECT_EQ(parsePlayerOptions({}).demo.audioDelayMs, 0.0);
}

TEST(PlayerOptions, HelpNamesEveryOptionAndUsageIsOneLine) {
    const std::string help = helpText();
    EXPECT_EQ(help.rfind(usageLine() + "\n", 0), 0u);
    EXPECT_EQ(usageLine().find('\n'), std::string::npos);
    for (const char* option : {"--window", "--display", "--mute", "--from", "--loop", "--still",
                               "--audio-delay", "--help", "--version"}) {
        EXPECT_NE(usageLine().find(option), std::string::npos) << option;
        EXPECT_NE(help.find("\n  " + std::string(option)), std::string::npos) << option;
    }
}

} // namespace
