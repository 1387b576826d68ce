#pragma once

#include "graphics/gl/FrameBuffer.h"
#include "graphics/gl/Texture.h"

#include <glm/vec2.hpp>

class DepthMapShader;

// The depth target of the shadow pass: a framebuffer with only a depth texture, seen from the
// shadow-casting light. Sampled outside its texels it reads depth 1 (lit).
class ShadowMap {
public:
    ShadowMap();

    // Allocates the depth texture at size texels and completes the framebuffer; leaves the
    // window's framebuffer bound.
    void setSize(const glm::ivec2& newSize);

    DepthMapShader& getShader() const { return *depthMapShader; }
    const FrameBuffer& getFramebuffer() const { return framebuffer; }
    const Texture& getDepthTexture() const { return depthTexture; }
    const glm::ivec2& getSize() const { return size; }

private:
    DepthMapShader* depthMapShader;
    FrameBuffer framebuffer;
    Texture depthTexture{GL_TEXTURE_2D};
    glm::ivec2 size{0, 0};
};
