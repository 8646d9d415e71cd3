// Where the sprites of the two atlases must lie, as the demo's shaders and overlay cut them out.
#pragma once

#include <string>
#include <vector>

struct SpriteBox {
    std::string name;
    int x, y, w, h; // atlas pixels, top-left origin
};

// The title sprites, from their uv rectangles (u, v, width, height) in fractions of 2048.
const std::vector<SpriteBox>& titleBoxes();
// The greetings heading and captions, from their texture coordinates (left u, top v, right u,
// bottom v), u in fractions of 2048 and v in fractions of 512.
const std::vector<SpriteBox>& greetingsBoxes();
