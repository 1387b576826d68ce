#include "graphics/gl/Texture.h"

#include "engine/Logging.h"
#include "graphics/gl/Image.h"

#include <algorithm>

std::uint32_t textureUnitCounter = 0;

Texture::Texture(GLenum target) : Texture(target, textureUnitCounter++) {}

Texture::Texture(GLenum target, std::uint32_t sharedUnit) : unit(sharedUnit), target(target) {
    glGenTextures(1, &handle);
    bind();
    if (target == GL_TEXTURE_2D) {
        setDefaultParameters();
    }
}

void Texture::destroy() {
    checkValid();
    const GLuint name = std::exchange(handle, 0);
    glDeleteTextures(1, &name);
}

void Texture::bind() const {
    glActiveTexture(GL_TEXTURE0 + unit);
    checkValid();
    glBindTexture(target, handle);
}

void Texture::setDefaultParameters() const {
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_REPEAT);
    if (target == GL_TEXTURE_3D || target == GL_TEXTURE_CUBE_MAP) {
        glTexParameteri(target, GL_TEXTURE_WRAP_R, GL_REPEAT);
    }
}

void Texture::allocateMultisample(GLsizei width, GLsizei height) const {
    bind();
    glTexImage2DMultisample(target, multisampleCount(), GL_RGBA, width, height, GL_TRUE);
}

void Texture::setImage(const Image& image) const {
    const GLenum format = imageFormat(image.channels);
    bind();
    uploadImage(target, format, image);
}

void Texture::generateMipmaps() const {
    bind();
    glGenerateMipmap(target);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
}

void Texture::setFilters(GLint minification, GLint magnification) const {
    bind();
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, minification);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, magnification);
}

GLsizei Texture::multisampleCount() {
    static const GLsizei count = [] {
        GLint renderbufferLimit = 0;
        GLint textureLimit = 0;
        glGetIntegerv(GL_MAX_SAMPLES, &renderbufferLimit);
        glGetIntegerv(GL_MAX_COLOR_TEXTURE_SAMPLES, &textureLimit);
        return std::max(1, std::min({4, renderbufferLimit, textureLimit}));
    }();
    return count;
}

GLenum imageFormat(int channels) {
    switch (channels) {
    case 1: return GL_RED;
    case 2: return GL_RG;
    case 3: return GL_RGB;
    case 4: return GL_RGBA;
    default: fatal(getGeneralLogger(), "Unknown image format with {} channels", channels);
    }
}

void uploadImage(GLenum target, GLenum format, const Image& image) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(target, 0, static_cast<GLint>(format), image.width, image.height, 0, format,
                 GL_UNSIGNED_BYTE, image.data);
}
