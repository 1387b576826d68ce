// Linked into the executables whose leak report must stay clean (the tests, the benchmarks, the
// tools, and the game in the sanitized build), never into the game's library.
//
// The GL driver is loaded when the first context is made and unloaded by glfwTerminate; in between
// is the only time it can be found without knowing where the system keeps it. This definition
// stands in front of the one in the shared GLFW library (the executable's own symbol wins), pins
// the driver, then hands over to GLFW's. GLFW must stay a shared library for that: linked
// statically, the two definitions would clash at link time.
#include "tools/support/GlDriverPin.h"

#include <GLFW/glfw3.h>
#include <dlfcn.h>

extern "C" void glfwTerminate() {
    pinLoadedGlDrivers();
    using Terminate = void (*)();
    static const auto glfwOwnTerminate = reinterpret_cast<Terminate>(dlsym(RTLD_NEXT, "glfwTerminate"));
    // Without GLFW's own (linked statically after all, or not at all) there is nothing to hand
    // over to: the pin is all this can do, and calling through null would end the process.
    if (glfwOwnTerminate) {
        glfwOwnTerminate();
    }
}
