#include "graphics/gl/RenderBuffer.h"

#include "graphics/gl/FrameBuffer.h"

RenderBuffer::RenderBuffer() { glGenRenderbuffers(1, &handle); }

void RenderBuffer::destroy() {
    checkValid();
    glDeleteRenderbuffers(1, &handle);
}

void RenderBuffer::bind() const {
    checkValid();
    glBindRenderbuffer(target, handle);
}

void RenderBuffer::allocate(GLenum storageFormat, const glm::ivec2& storageSize, GLsizei samples) {
    bind();
    format = storageFormat;
    size = storageSize;
    if (samples > 0) {
        glRenderbufferStorageMultisample(target, samples, format, size.x, size.y);
    } else {
        glRenderbufferStorage(target, format, size.x, size.y);
    }
}

void RenderBuffer::attachTo(const FrameBuffer& framebuffer, GLenum attachment) const {
    framebuffer.bind(GL_FRAMEBUFFER);
    bind();
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, target, handle);
}
