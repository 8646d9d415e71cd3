/* Stamps what the demo does on screen, for bench/demo_timings: preloaded into the demo
 * (LD_PRELOAD), it writes one line to $WISP_PROBE_OUT for each event, with the CLOCK_MONOTONIC
 * time in nanoseconds at which the call returned:
 *   context NS      SDL_GL_CreateContext returned a context
 *   swap NS         SDL_GL_SwapWindow returned
 *   gone NS         XUnmapWindow, SDL_HideWindow or SDL_DestroyWindow returned (the window left
 *                   the screen)
 *   escape NS       SDL_PollEvent handed the demo Escape's release
 *   callback NS     the audio callback was entered for the first time */
#define _GNU_SOURCE
#include <SDL.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static FILE* out;
static int contextMade, gone;

static void stamp(const char* what) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (!out) {
        const char* path = getenv("WISP_PROBE_OUT");
        out = fopen(path ? path : "/dev/null", "w");
        if (!out)
            return;
    }
    fprintf(out, "%s %lld\n", what, (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
    fflush(out);
}

int SDL_PollEvent(SDL_Event* event) {
    static int (*real)(SDL_Event*);
    if (!real)
        real = (int (*)(SDL_Event*))dlsym(RTLD_NEXT, "SDL_PollEvent");
    const int result = real(event);
    if (result && event && event->type == SDL_KEYUP && event->key.keysym.sym == SDLK_ESCAPE)
        stamp("escape");
    return result;
}

SDL_GLContext SDL_GL_CreateContext(SDL_Window* window) {
    static SDL_GLContext (*real)(SDL_Window*);
    if (!real)
        real = (SDL_GLContext(*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_GL_CreateContext");
    SDL_GLContext context = real(window);
    if (context) {
        contextMade = 1;
        stamp("context");
    }
    return context;
}

void SDL_GL_SwapWindow(SDL_Window* window) {
    static void (*real)(SDL_Window*);
    if (!real)
        real = (void (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    real(window);
    stamp("swap");
}

int XUnmapWindow(void* display, unsigned long window) {
    static int (*real)(void*, unsigned long);
    if (!real)
        real = (int (*)(void*, unsigned long))dlsym(RTLD_NEXT, "XUnmapWindow");
    const int result = real(display, window);
    if (contextMade && !gone++)
        stamp("gone");
    return result;
}

void SDL_HideWindow(SDL_Window* window) {
    static void (*real)(SDL_Window*);
    if (!real)
        real = (void (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_HideWindow");
    real(window);
    if (contextMade && !gone++)
        stamp("gone");
}

void SDL_DestroyWindow(SDL_Window* window) {
    static void (*real)(SDL_Window*);
    if (!real)
        real = (void (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_DestroyWindow");
    /* Window creation destroys a probe window before any context: only the demo's counts. */
    real(window);
    if (contextMade && !gone++)
        stamp("gone");
}

static SDL_AudioCallback demoCallback;

static void stampedCallback(void* userData, Uint8* stream, int length) {
    static int called;
    if (!called++)
        stamp("callback");
    demoCallback(userData, stream, length);
}

int SDL_OpenAudio(SDL_AudioSpec* desired, SDL_AudioSpec* obtained) {
    static int (*real)(SDL_AudioSpec*, SDL_AudioSpec*);
    if (!real)
        real = (int (*)(SDL_AudioSpec*, SDL_AudioSpec*))dlsym(RTLD_NEXT, "SDL_OpenAudio");
    if (desired && desired->callback) {
        demoCallback = desired->callback;
        desired->callback = stampedCallback;
    }
    return real(desired, obtained);
}
