// Reads an XM module from memory with DUMB and renders it as interleaved signed 16-bit stereo.
#include "app/ModuleRenderer.h"

#include <dumb.h>

namespace {
// DUMB steps through the module by 65536 / output rate per output frame.
constexpr float kRenderDelta = 65536.0f / Audio::kSampleRate;
constexpr float kRenderVolume = 1.0f;
} // namespace

ModuleRenderer::ModuleRenderer(const unsigned char* data, std::uint32_t size) {
    reader = dumbfile_open_memory(reinterpret_cast<const char*>(data), static_cast<long>(size));
    if (reader)
        module = dumb_read_xm_quick(reader);
}

ModuleRenderer::~ModuleRenderer() {
    if (renderer)
        duh_end_sigrenderer(renderer);
    if (module)
        unload_duh(module);
    if (reader)
        dumbfile_close(reader);
}

void ModuleRenderer::start() {
    if (renderer) {
        duh_end_sigrenderer(renderer);
        renderer = nullptr;
    }
    if (module)
        renderer = duh_start_sigrenderer(module, 0, Audio::kChannels, 0);
}

long ModuleRenderer::render(std::int16_t* out, long frames) {
    if (!renderer || frames <= 0)
        return 0;
    return duh_render(renderer, 16, 0, kRenderVolume, kRenderDelta, frames, out);
}
