#include "tests/graphics/OffscreenTarget.h"

#include <cstdlib>

OffscreenTarget::OffscreenTarget(const glm::ivec2& size) : size(size) {
    color.bind();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size.x, size.y, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    framebuffer.attachTexture(color, GL_COLOR_ATTACHMENT0);
    depth.allocate(GL_DEPTH_COMPONENT24, size, 0);
    depth.attachTo(framebuffer, GL_DEPTH_ATTACHMENT);
}

void OffscreenTarget::bindAndClear(const glm::vec4& clearColor, float clearDepth) const {
    framebuffer.bind(GL_FRAMEBUFFER);
    glViewport(0, 0, size.x, size.y);
    glClearColor(clearColor.r, clearColor.g, clearColor.b, clearColor.a);
    glClearDepth(clearDepth);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

std::vector<glm::u8vec4> OffscreenTarget::read() const {
    std::vector<glm::u8vec4> pixels(static_cast<std::size_t>(size.x) * size.y);
    framebuffer.bind(GL_READ_FRAMEBUFFER);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size.x, size.y, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

glm::u8vec4 OffscreenTarget::at(const std::vector<glm::u8vec4>& pixels, int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * size.x + static_cast<std::size_t>(x)];
}

bool isNear(const glm::u8vec4& actual, const glm::u8vec4& expected, int tolerance) {
    for (int i = 0; i < 4; ++i) {
        if (std::abs(int(actual[i]) - int(expected[i])) > tolerance) {
            return false;
        }
    }
    return true;
}

::testing::AssertionResult colorNear(const glm::u8vec4& actual, const glm::u8vec4& expected,
                                     int tolerance) {
    if (isNear(actual, expected, tolerance)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << int(actual.r) << ", " << int(actual.g) << ", " << int(actual.b) << ", "
           << int(actual.a) << ") is not (" << int(expected.r) << ", " << int(expected.g) << ", "
           << int(expected.b) << ", " << int(expected.a) << ")";
}
