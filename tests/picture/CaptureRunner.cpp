// Starting the capture executable as a child process without a shell in between.
#include "CaptureRunner.h"

#include <cstdio>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace picture {

Frame captureFrame(const std::string& executable, double time, int width, int height,
                   const std::string& outPath) {
    char timeText[32];
    std::snprintf(timeText, sizeof timeText, "%.6f", time);
    const std::string sizeText = std::to_string(width) + "x" + std::to_string(height);
    std::vector<std::string> args = {executable, "--time", timeText, "--size",
                                     sizeText,   "--out",  outPath};
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    std::remove(outPath.c_str());
    const pid_t child = fork();
    if (child < 0) {
        throw std::runtime_error("cannot start " + executable);
    }
    if (child == 0) {
        execv(executable.c_str(), argv.data());
        std::perror(executable.c_str());
        _exit(127);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        throw std::runtime_error("lost track of " + executable);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        throw std::runtime_error(executable + " --time " + timeText + " --size " + sizeText +
                                 " failed with status " + std::to_string(code));
    }
    return readPng(outPath);
}

} // namespace picture
