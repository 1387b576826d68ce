#include "engine/window/Window.h"

#include "engine/input/InputManager.h"
#include "engine/platform/XInput2RawInput.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

namespace {
// X keeps a window's extent in signed 16-bit coordinates, so a side above 32767 pixels wraps in
// the server's clip regions, and one above 65535 does not fit the protocol at all: the request
// fails later, in Xlib's error handler, which ends the process without a word of ours. GLFW
// asserts on a negative side. Zero is left to GLFW, which reports it and makes no window.
constexpr int largestWindowSide = 32767;

bool windowSystemTakes(int width, int height) {
    return width >= 0 && height >= 0 && width <= largestWindowSide && height <= largestWindowSide;
}
} // namespace

Window::Window(int width, int height, const std::string& title, bool fullscreen) {
    getGlLogger()->debug("Creating GLFW Window");
    if (windowSystemTakes(width, height)) {
        GLFWmonitor* monitor = fullscreen ? glfwGetPrimaryMonitor() : nullptr;
        // A windowed window has a title bar and border; a fullscreen one has none.
        glfwWindowHint(GLFW_DECORATED, monitor == nullptr ? GLFW_TRUE : GLFW_FALSE);
        handle = glfwCreateWindow(width, height, title.c_str(), monitor, nullptr);
    } else {
        getGeneralLogger()->error("Invalid window size {}x{}: the window system takes 1 to {} "
                                  "pixels a side",
                                  width, height, largestWindowSide);
    }
    checkValid();
    if (handle == nullptr) {
        fatal(getGeneralLogger(), "Failed to create GLFW window.");
    }
    glfwSetWindowUserPointer(handle, this);
    getGlLogger()->debug("Make OpenGL Context current on GLFW Window");
    glfwMakeContextCurrent(handle);
    inputManager =
        std::make_shared<InputManager>(keyCallbacks, this, XInput2RawInput::forWindow(handle));
    getGlLogger()->debug("Unlimit the buffer swap interval");
    glfwSwapInterval(0); // swaps do not wait for the display's refresh
    // The only callback: keys reach the game through keyCallbacks, inside InputManager::update.
    glfwSetKeyCallback(handle, Window::keyCallback);
}

Window::~Window() {
    // The input manager first: its raw-mouse handler unregisters from the window's display.
    inputManager.reset();
    releaseHandle();
}

void Window::destroy() {
    if (handle == nullptr) {
        return;
    }
    getGlLogger()->debug("Destroying GLFW window");
    glfwDestroyWindow(std::exchange(handle, nullptr));
}

// GLFW dereferences a null window, so an empty handle goes no further than its error line.
bool Window::holdsWindow() const {
    checkValid();
    return handle != nullptr;
}

void Window::swapBuffers() {
    if (holdsWindow()) {
        glfwSwapBuffers(handle);
    }
}

bool Window::shouldClose() { return holdsWindow() && glfwWindowShouldClose(handle) != 0; }

glm::ivec2 Window::getSize() {
    glm::ivec2 size(0);
    if (holdsWindow()) {
        glfwGetWindowSize(handle, &size.x, &size.y);
    }
    return size;
}

void Window::disableCursor() {
    if (holdsWindow()) {
        glfwSetInputMode(handle, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
    }
}

void Window::keyCallback(GLFWwindow* handle, int key, int scancode, int action, int mods) {
    auto* window = static_cast<Window*>(glfwGetWindowUserPointer(handle));
    window->keyCallbacks.invoke(key, scancode, action, mods);
}
