#pragma once

#include "engine/NonCopyable.h"
#include "engine/window/Window.h"

#include <memory>

// GLFW and GLEW, initialised on first use and GLFW terminated at the end. The window must be
// destroyed before its GLLibraries.
class GLLibraries : public NonCopyable {
public:
    GLLibraries() = default;
    ~GLLibraries();

    // The game's window, titled "Vornhalt", with an OpenGL 4.3 core context and not resizable.
    // Ends the process when GLFW, the window or GLEW fails.
    std::unique_ptr<Window> createWindow(int width, int height, bool fullscreen);

private:
    bool glewInitialized = false;
    bool glfwInitialized = false;
};

void glfwErrorCallback(int code, const char* description);

// The context every window of ours asks GLFW for: OpenGL 4.3, core profile. The hidden windows of
// the tests and tools ask for it too, so that they draw with what the game draws with.
void hintCoreContext();
