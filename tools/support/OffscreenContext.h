#pragma once

struct GLFWwindow;

// A hidden window with an OpenGL 4.3 core context, current on this thread, with GLEW loaded and
// gGlContextAlive set: for the tests, benchmarks and tools that draw without the game's window.
// Null when there is no X display or no such context. Close it with closeOffscreenContext.
GLFWwindow* openOffscreenContext(int width, int height);
void closeOffscreenContext(GLFWwindow* window);
