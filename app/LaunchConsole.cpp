// A program started from a terminal or a desktop on Linux or in a browser: stdout and stderr are
// already where they belong, and a failure's line on stderr is all that is shown.
#include "app/LaunchConsole.h"

void useLaunchConsole() {}

void showFailureDialog(const std::string&) {}
