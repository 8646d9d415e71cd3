// The player's command line: what one-quill-wisp is asked to do, read without side effects.
#pragma once

#include "app/Demo.h"

#include <string>
#include <vector>

struct PlayerOptions {
    enum class Action {
        Play,        // play with `demo`
        ShowHelp,    // print helpText() on stdout, exit 0
        ShowVersion, // print versionText() on stdout, exit 0
        Refuse,      // print `problem` and the usage on stderr as one line, exit 2
    };
    Action action = Action::Play;
    DemoOptions demo;
    std::string problem; // with Refuse: what is wrong, naming the option
};

// Reads the arguments that follow the program's name. Each option taking a value accepts it as
// the next argument or after '=' (--window 1280x720, --window=1280x720). The first problem found
// is the one reported; with none, --help wins over --version, and both over playing.
PlayerOptions parsePlayerOptions(const std::vector<std::string>& arguments);

// "usage: one-quill-wisp [--window WxH] ..." on one line, without a newline.
std::string usageLine();
// The usage and one line for each option, ending in a newline.
std::string helpText();
// "one-quill-wisp VERSION", ending in a newline.
std::string versionText();
