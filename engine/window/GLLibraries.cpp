#include "engine/window/GLLibraries.h"

#include "engine/HandleWrapper.h"
#include "engine/Logging.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

GLLibraries::~GLLibraries() {
    glewInitialized = false;
    if (glfwInitialized) {
        getGeneralLogger()->debug("Terminating GLFW");
        glfwTerminate();
        gGlContextAlive = false;
        glfwInitialized = false;
    }
}

std::unique_ptr<Window> GLLibraries::createWindow(int width, int height, bool fullscreen) {
    if (!glfwInitialized) {
        getGeneralLogger()->debug("Initializing GLFW");
        // Before glfwInit, so that the reason of a failed start (no display) is logged too.
        glfwSetErrorCallback(glfwErrorCallback);
        if (glfwInit() != GLFW_TRUE) {
            fatal(getGeneralLogger(), "GLFW Initialization failed");
        }
        glfwInitialized = true;
        gGlContextAlive = true;
        getGlLogger()->debug("Setting OpenGL Version to 4.3 Core");
        hintCoreContext();
        glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    }
    auto window = std::make_unique<Window>(width, height, "Vornhalt", fullscreen);
    if (glewInitialized) {
        return window;
    }
    getGeneralLogger()->debug("Initializing GLEW");
    glewExperimental = GL_TRUE; // core profiles need it for GLEW to load every entry point
    const GLenum result = glewInit();
    if (result == GLEW_ERROR_NO_GL_VERSION) {
        fatal(getGeneralLogger(), "A window has to be created to initialize GLEW");
    }
    if (result != GLEW_OK) {
        fatal(getGeneralLogger(), "{}", reinterpret_cast<const char*>(glewGetErrorString(result)));
    }
    glewInitialized = true;
    return window;
}

void glfwErrorCallback(int code, const char* description) {
    getGeneralLogger()->error("GLFW Error {}: {}", code, description);
}

void hintCoreContext() {
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
}
