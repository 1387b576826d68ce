#pragma once

#include "graphics/gl/GLHandleWrapper.h"

#include <cstdint>

struct Image;

// Texture units are handed out once per texture, in creation order, and never given back, so no
// two textures ever share a unit and a sampler uniform is simply set to its texture's unit.
extern std::uint32_t textureUnitCounter;

// Owner of one GL texture, always bound on a texture unit of its own.
class Texture : public GLHandleWrapper<0> {
public:
    // Takes the next unit and binds the new texture there. A GL_TEXTURE_2D also gets the default
    // sampling (linear filters, repeat wrapping); other targets get nothing yet.
    explicit Texture(GLenum target);
    // The same on a unit that it shares with other textures and takes nothing from the counter.
    // Only for textures that are bound again right before every use (glyphs): binding one
    // displaces the others from that unit.
    Texture(GLenum target, std::uint32_t sharedUnit);
    Texture(Texture&&) noexcept = default;
    virtual ~Texture() { releaseHandle(); }

    void destroy() override;
    // Makes this texture's own unit active and binds the texture there.
    void bind() const;
    void setDefaultParameters() const;
    // Multisampled RGBA storage with fixed sample locations, multisampleCount() samples.
    void allocateMultisample(GLsizei width, GLsizei height) const;
    // Level 0 from the image's pixels. A channel count outside 1 to 4 is fatal; a failed load
    // carries 0.
    void setImage(const Image& image) const;
    void generateMipmaps() const;
    // Minification and magnification filters, e.g. GL_NEAREST for pixel art.
    void setFilters(GLint minification, GLint magnification) const;

    std::uint32_t getUnit() const { return unit; }
    GLenum getTarget() const { return target; }

    // The samples of every multisampled target: 4, or the driver's limit where it offers fewer.
    static GLsizei multisampleCount();

protected:
    std::uint32_t unit;
    GLenum target;
};

// The GL format, used as internal and pixel format, of an image with that many 8-bit channels.
// Any count outside 1 to 4 logs "Unknown image format with {} channels" and ends the process.
GLenum imageFormat(int channels);

// Level 0 of target (bound by the caller) in the given format, with tightly packed rows: under
// GL's default unpack alignment of 4, an RGB or one-channel image whose rows are not a multiple
// of four bytes would be read past the end of its pixels.
void uploadImage(GLenum target, GLenum format, const Image& image);
