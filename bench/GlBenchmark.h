#pragma once

struct GLFWwindow;

// For the benchmarks that draw: the loggers, then a hidden window of the given size whose context
// has the game's start-up state (back faces culled, depth test, alpha blending). Ends the process
// when there is no display. endGlBenchmark closes the window again.
GLFWwindow* startGlBenchmark(int width, int height);
void endGlBenchmark(GLFWwindow* window);
