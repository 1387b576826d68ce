#pragma once

#include "graphics/gl/FrameBuffer.h"
#include "graphics/gl/RenderBuffer.h"
#include "graphics/gl/Texture.h"

#include <glm/gtc/type_precision.hpp>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>
#include <gtest/gtest.h>
#include <vector>

// An 8-bit RGBA colour target with a depth buffer, standing in for the window in tests that
// draw: known size, nothing else drawing into it, read back as a whole.
class OffscreenTarget {
public:
    explicit OffscreenTarget(const glm::ivec2& size);

    // Binds it with a viewport over all of it, then clears colour and depth.
    void bindAndClear(const glm::vec4& color = {0, 0, 0, 1}, float depth = 1.0f) const;
    // All pixels, rows bottom first; the target is bound for reading afterwards.
    std::vector<glm::u8vec4> read() const;
    glm::u8vec4 at(const std::vector<glm::u8vec4>& pixels, int x, int y) const;

    const glm::ivec2 size;

private:
    Texture color{GL_TEXTURE_2D};
    RenderBuffer depth;
    FrameBuffer framebuffer;
};

// Colours compared channel by channel, within what a software rasteriser's rounding allows.
bool isNear(const glm::u8vec4& actual, const glm::u8vec4& expected, int tolerance = 3);
::testing::AssertionResult colorNear(const glm::u8vec4& actual, const glm::u8vec4& expected,
                                     int tolerance = 3);
