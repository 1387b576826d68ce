#include "graphics/gl/FrameBuffer.h"
#include "graphics/gl/RenderBuffer.h"
#include "graphics/gl/Texture.h"

#include "tests/support/GlTestContext.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

namespace {
constexpr int side = 8;

GLint integer(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

// An 8 × 8 colour texture whose texel (x, y) holds (30x, 30y, 7, 255), attached to its framebuffer.
struct ColorTarget {
    ColorTarget() {
        std::vector<unsigned char> texels;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                texels.insert(texels.end(), {static_cast<unsigned char>(30 * x),
                                             static_cast<unsigned char>(30 * y), 7, 255});
            }
        }
        texture.bind();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     texels.data());
        framebuffer.attachTexture(texture, GL_COLOR_ATTACHMENT0);
    }

    Texture texture{GL_TEXTURE_2D};
    FrameBuffer framebuffer;
};

TEST(FrameBuffer, MadeFromZeroStandsForTheWindowAndPassesTheCheck) {
    const FrameBuffer offscreen;
    offscreen.bind(GL_FRAMEBUFFER);
    LogCapture capture;
    {
        const FrameBuffer window(0);
        window.bind(GL_FRAMEBUFFER);
        EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
    }
    EXPECT_TRUE(capture.lines().empty());
    const FrameBuffer empty(noFrameBuffer);
    empty.checkValid();
    EXPECT_EQ(capture.count("Accessing invalid handle."), 1u);
}

TEST(FrameBuffer, AttachingATextureLeavesBothBound) {
    const ColorTarget target;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glActiveTexture(GL_TEXTURE0);
    target.framebuffer.attachTexture(target.texture, GL_COLOR_ATTACHMENT0);
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(target.framebuffer.getHandle()));
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE),
              static_cast<GLint>(GL_TEXTURE0 + target.texture.getUnit()));
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(target.texture.getHandle()));
    GLint attached = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &attached);
    EXPECT_EQ(attached, static_cast<GLint>(target.texture.getHandle()));
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER),
              static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
}

TEST(FrameBuffer, BlitsAColourRectangleFromItsStartCornerToTheDestinationsStartCorner) {
    const ColorTarget source;
    ColorTarget destination;
    destination.framebuffer.bind(GL_FRAMEBUFFER);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    source.framebuffer.blitTo(GL_COLOR_ATTACHMENT0, {2, 3}, {4, 5}, destination.framebuffer, {4, 5},
                              {6, 7}, GL_NEAREST, GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(integer(GL_READ_FRAMEBUFFER_BINDING),
              static_cast<GLint>(source.framebuffer.getHandle()));
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING),
              static_cast<GLint>(destination.framebuffer.getHandle()));
    destination.framebuffer.bind(GL_READ_FRAMEBUFFER);
    const auto pixels = GlTestContext::readPixels(0, 0, side, side);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const unsigned char* pixel = &pixels[4 * (y * side + x)];
            const bool inside = x >= 4 && x < 6 && y >= 5 && y < 7;
            SCOPED_TRACE(testing::Message() << "(" << x << ", " << y << ")");
            EXPECT_EQ(pixel[0], inside ? 30 * (x - 2) : 0);
            EXPECT_EQ(pixel[1], inside ? 30 * (y - 2) : 0);
        }
    }
}

// A framebuffer with only a depth renderbuffer, cleared to the given depth.
struct DepthTarget {
    explicit DepthTarget(float depth) {
        depthBuffer.allocate(GL_DEPTH_COMPONENT24, {side, side}, 0);
        depthBuffer.attachTo(framebuffer, GL_DEPTH_ATTACHMENT);
        glDrawBuffer(GL_NONE);
        glReadBuffer(GL_NONE);
        glClearDepth(depth);
        glClear(GL_DEPTH_BUFFER_BIT);
        glClearDepth(1.0);
    }

    FrameBuffer framebuffer;
    RenderBuffer depthBuffer;
};

TEST(FrameBuffer, ADepthBlitCopiesDepthAndLeavesReadAndDrawBuffersAlone) {
    const DepthTarget source(0.25f);
    const DepthTarget destination(1.0f);
    source.framebuffer.blitTo(GL_DEPTH_ATTACHMENT, {0, 0}, {4, 4}, destination.framebuffer, {0, 0},
                              {4, 4}, GL_NEAREST, GL_DEPTH_BUFFER_BIT);
    EXPECT_EQ(integer(GL_READ_BUFFER), GL_NONE);
    EXPECT_EQ(integer(GL_DRAW_BUFFER), GL_NONE);
    destination.framebuffer.bind(GL_READ_FRAMEBUFFER);
    float depths[2] = {};
    glReadPixels(1, 1, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depths[0]);
    glReadPixels(6, 6, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depths[1]);
    EXPECT_NEAR(depths[0], 0.25f, 1e-4f);
    EXPECT_NEAR(depths[1], 1.0f, 1e-4f);
}

TEST(RenderBuffer, RecordsItsStorageAndAttachesToTheFramebuffer) {
    const FrameBuffer framebuffer;
    RenderBuffer depth;
    EXPECT_EQ(depth.getSize(), glm::ivec2(0, 0));
    depth.allocate(GL_DEPTH_COMPONENT, {16, 8}, Texture::multisampleCount());
    depth.attachTo(framebuffer, GL_DEPTH_ATTACHMENT);
    EXPECT_EQ(depth.getSize(), glm::ivec2(16, 8));
    EXPECT_EQ(depth.getFormat(), static_cast<GLenum>(GL_DEPTH_COMPONENT));
    GLint samples = 0, width = 0, attached = 0;
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_SAMPLES, &samples);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &width);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &attached);
    EXPECT_EQ(samples, Texture::multisampleCount());
    EXPECT_EQ(width, 16);
    EXPECT_EQ(attached, static_cast<GLint>(depth.getHandle()));
}
} // namespace
