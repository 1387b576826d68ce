#include "tests/support/GlTestContext.h"

#include "engine/HandleWrapper.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <vector>

namespace {
GLFWwindow* testWindow = nullptr;
}

void GlTestContext::SetUp() {
    ASSERT_EQ(glfwInit(), GLFW_TRUE) << "no X display: run the GL tests under xvfb-run";
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    testWindow = glfwCreateWindow(640, 480, "Vornhalt tests", nullptr, nullptr);
    ASSERT_NE(testWindow, nullptr);
    glfwMakeContextCurrent(testWindow);
    glewExperimental = GL_TRUE;
    ASSERT_EQ(glewInit(), GLEW_OK);
    gGlContextAlive = true;
}

void GlTestContext::TearDown() {
    glfwDestroyWindow(testWindow);
    testWindow = nullptr;
    glfwTerminate();
    gGlContextAlive = false;
}

GLFWwindow* GlTestContext::window() { return testWindow; }

std::vector<unsigned char> GlTestContext::readPixels(int x, int y, int width, int height) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
