// The demo's entry: plays the whole show once, then exits.
#include "app/Demo.h"

#include <SDL.h>

#include <cstdio>
#include <exception>

int main(int, char**) {
    try {
        Demo demo;
        demo.run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "one-quill-wisp: %s\n", error.what());
        return 1;
    }
    return 0;
}
