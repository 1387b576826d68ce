#include "bench/GlBenchmark.h"

#include "engine/Logging.h"
#include "tools/support/OffscreenContext.h"

#include <GL/glew.h>

GLFWwindow* startGlBenchmark(int width, int height) {
    setupLogging();
    GLFWwindow* window = openOffscreenContext(width, height);
    if (window == nullptr) {
        fatal(getGeneralLogger(), "No GL 4.3 context: run the benchmark under an X display");
    }
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    return window;
}

void endGlBenchmark(GLFWwindow* window) { closeOffscreenContext(window); }
