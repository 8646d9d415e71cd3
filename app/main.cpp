// The demo's entry: reads the options, then plays the show.
#include "app/Demo.h"
#include "app/LaunchConsole.h"
#include "app/PlayerOptions.h"

#include <SDL.h>

#include <cstdio>
#include <exception>
#include <string>

namespace {
constexpr int kCannotStart = 1;
constexpr int kBadUsage = 2; // a bad option or value, or a display that is not there

// Says why the player cannot play, on stderr and where there is no console, and gives `status`.
int refuse(int status, const std::string& reason) {
    const std::string line = "one-quill-wisp: " + reason;
    std::fprintf(stderr, "%s\n", line.c_str());
    showFailureDialog(line);
    return status;
}
} // namespace

int main(int argc, char** argv) {
    useLaunchConsole();
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
        return refuse(kBadUsage, options.problem + "; " + usageLine());
    case PlayerOptions::Action::Play:
        break;
    }

    try {
        DemoOptions demoOptions = options.demo;
        demoOptions.prepareInFrames = true; // the first frame on screen sooner
        Demo demo(demoOptions);
        demo.run();
    } catch (const DisplayNotFound& error) {
        return refuse(kBadUsage, error.what());
    } catch (const std::exception& error) {
        return refuse(kCannotStart, error.what());
    }
    return 0;
}
