// The demo's entry: reads the options, then plays the show.
#include "app/Demo.h"
#include "app/PlayerOptions.h"

#include <SDL.h>

#include <cstdio>
#include <exception>

namespace {
constexpr int kCannotStart = 1;
constexpr int kBadUsage = 2; // a bad option or value, or a display that is not there
} // namespace

int main(int argc, char** argv) {
    const PlayerOptions options =
        parsePlayerOptions(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    switch (options.action) {
    case PlayerOptions::Action::ShowHelp:
        std::fputs(helpText().c_str(), stdout);
        return 0;
    case PlayerOptions::Action::ShowVersion:
        std::fputs(versionText().c_str(), stdout);
        return 0;
    case PlayerOptions::Action::Refuse:
        std::fprintf(stderr, "one-quill-wisp: %s; %s\n", options.problem.c_str(),
                     usageLine().c_str());
        return kBadUsage;
    case PlayerOptions::Action::Play:
        break;
    }

    try {
        DemoOptions demoOptions = options.demo;
        demoOptions.prepareInFrames = true; // the first frame on screen sooner
        Demo demo(demoOptions);
        demo.run();
    } catch (const DisplayNotFound& error) {
        std::fprintf(stderr, "one-quill-wisp: %s\n", error.what());
        return kBadUsage;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "one-quill-wisp: %s\n", error.what());
        return kCannotStart;
    }
    return 0;
}
