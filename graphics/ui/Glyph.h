#pragma once

#include "graphics/gl/Texture.h"

#include <cstdint>
#include <glm/vec2.hpp>

// One character of a font rendered at one pixel size: its coverage bitmap as a one-channel
// texture (first row = top of the glyph) and the metrics to place it on a baseline.
struct Glyph {
    Texture texture;
    glm::ivec2 size;       // bitmap width and rows, pixels; 0 × 0 for a blank such as a space
    glm::ivec2 bearing;    // bitmap's left edge right of the pen, its top edge above the baseline
    std::uint32_t advance; // pen advance, 1/64 pixel
};
