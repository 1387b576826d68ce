#pragma once

#include "engine/CallbackSet.h"
#include "engine/HandleWrapper.h"

#include <glm/vec2.hpp>
#include <memory>
#include <string>

struct GLFWwindow;
class InputManager;

// The game's one window with its OpenGL context, current on the main thread from construction
// on. Not resizable, so its size, and every view over it, stays what it was made with.
class Window : public HandleWrapper<GLFWwindow*, nullptr> {
public:
    using KeyCallbacks = CallbackSet<void(int key, int scancode, int action, int mods)>;
    using ResizeCallbacks = CallbackSet<void(int width, int height)>;

    // Ends the process when GLFW cannot make the window, or when a side is negative or beyond
    // what X can carry (above 32767 pixels), without asking GLFW.
    Window(int width, int height, const std::string& title, bool fullscreen);
    ~Window();

    void destroy() override;

    void swapBuffers();
    // True once the close control or the exit key asked for it; the window stays open until it
    // is destroyed.
    bool shouldClose();
    glm::ivec2 getSize();
    // Hides the cursor and keeps it in the window.
    void disableCursor();

    // GLFW's key callback: hands the key to keyCallbacks.
    static void keyCallback(GLFWwindow* handle, int key, int scancode, int action, int mods);

    KeyCallbacks keyCallbacks;
    // Nothing invokes it: the window cannot be resized.
    ResizeCallbacks resizeCallbacks;
    std::shared_ptr<InputManager> inputManager;

private:
    bool holdsWindow() const;
};
