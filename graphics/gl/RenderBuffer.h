#pragma once

#include "graphics/gl/GLHandleWrapper.h"

#include <glm/vec2.hpp>

class FrameBuffer;

// Owner of one GL renderbuffer: depth storage that is never sampled.
class RenderBuffer : public GLHandleWrapper<noFrameBuffer> {
public:
    RenderBuffer();
    RenderBuffer(RenderBuffer&&) noexcept = default;
    ~RenderBuffer() { releaseHandle(); }

    void destroy() override;
    void bind() const;
    // Storage of format at size pixels, multisampled with that many samples, or single-sample
    // for 0. Leaves the renderbuffer bound.
    void allocate(GLenum storageFormat, const glm::ivec2& storageSize, GLsizei samples);
    // Attaches this renderbuffer to framebuffer, which stays bound to GL_FRAMEBUFFER.
    void attachTo(const FrameBuffer& framebuffer, GLenum attachment) const;

    const glm::ivec2& getSize() const { return size; }
    GLenum getFormat() const { return format; }

private:
    glm::ivec2 size{0, 0};
    GLenum format = GL_NONE;
    GLenum target = GL_RENDERBUFFER;
};
