#pragma once

#include "graphics/gl/GLHandleWrapper.h"

#include <glm/vec2.hpp>

class Texture;

// Owner of one GL framebuffer. One made from the name 0 stands for the window's own framebuffer:
// 0 is a valid handle here, since the empty value has all bits set.
class FrameBuffer : public GLHandleWrapper<noFrameBuffer> {
public:
    FrameBuffer();
    explicit FrameBuffer(GLuint name) : HandleWrapper(name) {}
    FrameBuffer(FrameBuffer&&) noexcept = default;
    ~FrameBuffer() { releaseHandle(); }

    void destroy() override;
    void bind(GLenum target = GL_FRAMEBUFFER) const;
    // Binds this framebuffer for drawing and reading and clears the buffers in mask
    // (GL_COLOR_BUFFER_BIT and so on), whatever the viewport.
    void clear(GLbitfield mask) const;
    // Attaches level 0 of the texture, single-sample or multisampled alike. Leaves this
    // framebuffer bound to GL_FRAMEBUFFER and the texture bound on its unit.
    void attachTexture(const Texture& texture, GLenum attachment) const;
    // Copies a rectangle (start inclusive, end exclusive corners, in pixels) into destination. A
    // colour attachment is read here and written there; GL_DEPTH_ATTACHMENT leaves the read and
    // draw buffers alone. Leaves this bound for reading and destination for drawing.
    void blitTo(GLenum attachment, const glm::ivec2& srcStart, const glm::ivec2& srcEnd,
                const FrameBuffer& destination, const glm::ivec2& dstStart,
                const glm::ivec2& dstEnd, GLenum filter, GLbitfield mask) const;
};
