// Windows: the player is a GUI program, so double-clicking it opens no console window. Started
// from a console, it writes to that console; double-clicked, a failure shows in a message box.
#include "app/LaunchConsole.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// True when `handle` leads to a file, pipe or console, i.e. the caller redirected it.
bool goesSomewhere(DWORD stdHandle) {
    const HANDLE handle = GetStdHandle(stdHandle);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

void useLaunchConsole() {
    const bool out = goesSomewhere(STD_OUTPUT_HANDLE);
    const bool err = goesSomewhere(STD_ERROR_HANDLE);
    if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    // Unbuffered, as a console's own streams are, so each line shows as it is written.
    if (!out && std::freopen("CONOUT$", "w", stdout))
        std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (!err && std::freopen("CONOUT$", "w", stderr))
        std::setvbuf(stderr, nullptr, _IONBF, 0);
}

void showFailureDialog(const std::string& line) {
    const char* quiet = std::getenv("WISP_NO_MESSAGE_BOX");
    if (quiet && std::strcmp(quiet, "1") == 0)
        return;
    MessageBoxA(nullptr, line.c_str(), "One Quill Wisp", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}
