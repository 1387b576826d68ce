#include "tools/support/GlDriverPin.h"

#include "tests/support/ChildProcess.h"
#include "tools/support/OffscreenContext.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

// The contexts are made in children of their own: a driver, once pinned, stays in its process,
// and this process must not have loaded one for the first case to mean anything.
namespace {
TEST(GlDriverPinTest, NothingIsLoadedOrPinnedBeforeTheFirstContext) {
    EXPECT_TRUE(loadedGlDrivers().empty());
    EXPECT_EQ(pinLoadedGlDrivers(), 0u) << "nothing to pin is no error";
}

// Unloaded, the driver takes the roots of its own allocations with it and the leak report of
// every GL test fails on them.
TEST(GlDriverPinTest, TheDriverOfAContextOutlivesGlfwTerminate) {
    const ChildResult child = runInChild([] {
        GLFWwindow* window = openOffscreenContext(64, 64);
        if (window == nullptr) {
            std::fputs("no GL context: run under xvfb-run", stderr);
            std::_Exit(2);
        }
        const std::size_t whileOpen = loadedGlDrivers().size();
        closeOffscreenContext(window); // glfwTerminate: where the driver would be unloaded
        const std::size_t afterwards = loadedGlDrivers().size();
        std::fprintf(stderr, "%zu driver(s) while open, %zu after glfwTerminate", whileOpen, afterwards);
        std::_Exit(whileOpen > 0 && afterwards == whileOpen ? 0 : 1);
    });
    EXPECT_EQ(child.exitStatus, 0) << child.standardError;
}
} // namespace
