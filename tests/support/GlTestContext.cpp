#include "tests/support/GlTestContext.h"

#include "tools/support/OffscreenContext.h"

#include <GL/glew.h>
#include <vector>

namespace {
GLFWwindow* testWindow = nullptr;
}

void GlTestContext::SetUp() {
    testWindow = openOffscreenContext(640, 480);
    ASSERT_NE(testWindow, nullptr) << "no GL 4.3 context: run the GL tests under xvfb-run";
}

void GlTestContext::TearDown() {
    closeOffscreenContext(testWindow);
    testWindow = nullptr;
}

GLFWwindow* GlTestContext::window() { return testWindow; }

std::vector<unsigned char> GlTestContext::readPixels(int x, int y, int width, int height) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
