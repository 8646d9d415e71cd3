// How the player's text reaches the person who started it: the console it was started from, and
// for a start-up failure a dialog where there may be no console at all.
#pragma once

#include <string>

// Connects stdout and stderr to the console the program was started from when they go nowhere
// yet (a Windows GUI program has no console of its own); a redirect is kept. Call before
// printing anything. Elsewhere, nothing to do.
void useLaunchConsole();

// Shows a start-up failure's one line, already printed on stderr, to someone who may have
// started the program without a console: a message box on Windows, which waits for OK, unless
// the environment variable WISP_NO_MESSAGE_BOX is set to 1. Elsewhere, nothing.
void showFailureDialog(const std::string& line);
