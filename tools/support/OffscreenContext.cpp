#include "tools/support/OffscreenContext.h"

#include "engine/HandleWrapper.h"
#include "engine/window/GLLibraries.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

GLFWwindow* openOffscreenContext(int width, int height) {
    if (glfwInit() != GLFW_TRUE) {
        return nullptr;
    }
    hintCoreContext();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(width, height, "Vornhalt offscreen", nullptr, nullptr);
    if (window == nullptr) {
        glfwTerminate();
        return nullptr;
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE; // core profiles need it for GLEW to load every entry point
    if (glewInit() != GLEW_OK) {
        closeOffscreenContext(window);
        return nullptr;
    }
    gGlContextAlive = true;
    return window;
}

void closeOffscreenContext(GLFWwindow* window) {
    glfwDestroyWindow(window);
    glfwTerminate();
    gGlContextAlive = false;
}
