#include "graphics/gl/FrameBuffer.h"

#include "graphics/gl/Texture.h"

FrameBuffer::FrameBuffer() { glGenFramebuffers(1, &handle); }

void FrameBuffer::destroy() {
    checkValid();
    glDeleteFramebuffers(1, &handle);
}

void FrameBuffer::bind(GLenum target) const {
    checkValid();
    glBindFramebuffer(target, handle);
}

void FrameBuffer::clear(GLbitfield mask) const {
    bind(GL_FRAMEBUFFER);
    glClear(mask);
}

void FrameBuffer::attachTexture(const Texture& texture, GLenum attachment) const {
    bind(GL_FRAMEBUFFER);
    texture.bind();
    glFramebufferTexture2D(GL_FRAMEBUFFER, attachment, texture.getTarget(), texture.getHandle(), 0);
}

void FrameBuffer::blitTo(GLenum attachment, const glm::ivec2& srcStart, const glm::ivec2& srcEnd,
                         const FrameBuffer& destination, const glm::ivec2& dstStart,
                         const glm::ivec2& dstEnd, GLenum filter, GLbitfield mask) const {
    bind(GL_READ_FRAMEBUFFER);
    destination.bind(GL_DRAW_FRAMEBUFFER);
    if (attachment != GL_DEPTH_ATTACHMENT) {
        glReadBuffer(attachment);
        glDrawBuffer(attachment);
    }
    glBlitFramebuffer(srcStart.x, srcStart.y, srcEnd.x, srcEnd.y, dstStart.x, dstStart.y, dstEnd.x,
                      dstEnd.y, mask, filter);
}
