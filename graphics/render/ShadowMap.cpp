#include "graphics/render/ShadowMap.h"

#include "graphics/shaders/Shaders.h"

ShadowMap::ShadowMap() : depthMapShader(&getShaders().depthMap) {}

void ShadowMap::setSize(const glm::ivec2& newSize) {
    size = newSize;
    framebuffer.bind(GL_FRAMEBUFFER);
    depthTexture.bind();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, size.x, size.y, 0, GL_DEPTH_COMPONENT,
                 GL_FLOAT, nullptr);
    // Outside the map nothing casts a shadow: the border reads as the far plane.
    const GLfloat border[] = {1.0f, 1.0f, 1.0f, 1.0f};
    glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_BORDER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_BORDER);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    framebuffer.attachTexture(depthTexture, GL_DEPTH_ATTACHMENT);
    FrameBuffer(0).bind(GL_FRAMEBUFFER);
}
