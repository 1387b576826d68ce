#include "engine/window/Window.h"

#include "engine/input/InputManager.h"
#include "engine/window/GLLibraries.h"
#include "engine/window/RelativeViewportView.h"
#include "tests/engine/platform/XTestDriver.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/LogCapture.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

// GLFW's X11 window id (glfw3native.h would drag X's headers, whose Window clashes with ours).
extern "C" unsigned long glfwGetX11Window(GLFWwindow* window);

// The game's window under Xvfb, made the game's way, through GLLibraries. These tests take the
// keyboard focus of the shared display, so CTest runs them one at a time (RESOURCE_LOCK x_input).
namespace {
using namespace std::chrono_literals;

constexpr unsigned long keysymA = 0x61; // XK_a

class WindowTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(x.isOpen()) << "no X display: run under xvfb-run"; }

    Window& open(int width = 640, int height = 480, bool fullscreen = false) {
        window = libraries->createWindow(width, height, fullscreen);
        return *window;
    }

    // Pumps the window until the condition holds; false after five seconds.
    bool eventually(const std::function<bool()>& condition) {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        do {
            window->inputManager->update();
            if (condition()) {
                return true;
            }
            std::this_thread::sleep_for(1ms);
        } while (std::chrono::steady_clock::now() < deadline);
        return false;
    }

    unsigned long xWindow() { return glfwGetX11Window(window->getHandle()); }

    XTestDriver x;
    std::unique_ptr<GLLibraries> libraries = std::make_unique<GLLibraries>();
    std::unique_ptr<Window> window; // destroyed before the libraries, as the engine does
};

TEST_F(WindowTest, HasACurrentCoreContextOfAtLeast43) {
    GLFWwindow* handle = open().getHandle();
    EXPECT_EQ(glfwGetCurrentContext(), handle);
    const int major = glfwGetWindowAttrib(handle, GLFW_CONTEXT_VERSION_MAJOR);
    const int minor = glfwGetWindowAttrib(handle, GLFW_CONTEXT_VERSION_MINOR);
    EXPECT_GE(major * 10 + minor, 43) << major << "." << minor;
    GLint profile = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile); // through GLEW: it is loaded too
    EXPECT_TRUE(profile & GL_CONTEXT_CORE_PROFILE_BIT);
    EXPECT_TRUE(gGlContextAlive);
}

TEST_F(WindowTest, IsTitledVornhaltDecoratedAndOfFixedSize) {
    GLFWwindow* handle = open(800, 600).getHandle();
    EXPECT_EQ(x.windowTitle(xWindow()), "Vornhalt");
    EXPECT_EQ(x.fixedSize(xWindow()), std::make_optional(std::pair{800, 600}))
        << "a resizable window would leave the views' pixels behind";
    EXPECT_EQ(glfwGetWindowAttrib(handle, GLFW_DECORATED), GLFW_TRUE);
    EXPECT_EQ(glfwGetWindowMonitor(handle), nullptr);
    EXPECT_EQ(window->getSize(), glm::ivec2(800, 600));
}

TEST_F(WindowTest, FullscreenTakesThePrimaryMonitorWithoutDecoration) {
    GLFWwindow* handle = open(1920, 1080, true).getHandle();
    EXPECT_EQ(glfwGetWindowMonitor(handle), glfwGetPrimaryMonitor());
    EXPECT_EQ(glfwGetWindowAttrib(handle, GLFW_DECORATED), GLFW_FALSE);
}

TEST_F(WindowTest, ItsInputManagerTakesTheMiceOfItsDisplay) {
    open();
    const auto& mice = window->inputManager->rawMouseHandler->mice;
    ASSERT_EQ(mice.size(), 2u);
    EXPECT_EQ(mice[0]->name, "Xvfb mouse");
    EXPECT_EQ(mice[1]->device, 0u);
    EXPECT_EQ(window->inputManager->keyCallbacks, &window->keyCallbacks);
}

TEST_F(WindowTest, KeyListenersHearAnXTestKeyPressAndKeysArePolled) {
    open();
    x.focus(xWindow());
    std::vector<std::pair<int, int>> heard; // key, action
    auto listener = window->inputManager->keyCallbacks->subscribe(
        [&](int key, int, int action, int) { heard.emplace_back(key, action); });
    x.pressKey(keysymA, true);
    ASSERT_TRUE(eventually([&] { return !heard.empty(); }));
    EXPECT_EQ(heard[0], std::pair(GLFW_KEY_A, GLFW_PRESS));
    EXPECT_TRUE(window->inputManager->isKeyPressed(GLFW_KEY_A));
    EXPECT_FALSE(window->inputManager->isKeyPressed(GLFW_KEY_B));
    x.pressKey(keysymA, false);
    ASSERT_TRUE(eventually([&] { return heard.size() == 2; }));
    EXPECT_EQ(heard[1], std::pair(GLFW_KEY_A, GLFW_RELEASE));
    EXPECT_FALSE(window->inputManager->isKeyPressed(GLFW_KEY_A));
}

// The close only shows when the loop next asks; the rest of the update still runs.
TEST_F(WindowTest, AKeyListenerThatClosesTheWindowLetsTheUpdateFinish) {
    open();
    x.focus(xWindow());
    auto closer = window->keyCallbacks.subscribe([&](int key, int, int action, int) {
        if (key == GLFW_KEY_A && action == GLFW_PRESS) {
            glfwSetWindowShouldClose(window->getHandle(), GLFW_TRUE);
        }
    });
    bool closedBeforeCount = false;
    auto counter = window->inputManager->mouseCountCallbacks.subscribe(
        [&](std::uint64_t, std::uint64_t) { closedBeforeCount = closedBeforeCount || window->shouldClose(); });
    EXPECT_FALSE(window->shouldClose());
    x.pressKey(keysymA, true);
    x.pressKey(keysymA, false);
    ASSERT_TRUE(eventually([&] { return window->shouldClose(); }));
    EXPECT_TRUE(closedBeforeCount) << "the count listener ran after the key listener, same update";
    EXPECT_FALSE(window->isEmpty()) << "the window stays open until it is destroyed";
}

TEST_F(WindowTest, GlfwErrorsAreLoggedAndTheRunGoesOn) {
    open();
    LogCapture capture;
    EXPECT_FALSE(window->inputManager->isKeyPressed(-5));
    EXPECT_EQ(capture.messages(spdlog::level::err),
              std::vector<std::string>{"GLFW Error 65539: Invalid key -5"});
}

// Nothing but the destructor releases the window in the game; if anything did, every use after
// would log and do nothing, where GLFW would dereference the null handle.
TEST_F(WindowTest, AReleasedWindowLogsEachUseAndGoesOn) {
    open();
    LogCapture capture;
    window->destroy();
    window->destroy();
    EXPECT_EQ(capture.count("Destroying GLFW window"), 1u) << "an empty window releases nothing";
    window->swapBuffers();
    EXPECT_FALSE(window->shouldClose());
    EXPECT_EQ(window->getSize(), glm::ivec2(0, 0));
    window->disableCursor();
    EXPECT_FALSE(window->inputManager->isKeyPressed(GLFW_KEY_A));
    EXPECT_EQ(capture.count("Accessing invalid handle."), 5u);
}

struct HalvesCase {
    int height;
    glm::uvec4 bottom;
    glm::uvec4 top;
};

// The game's two players: player 1 the bottom half, player 2 the top half, each the full width.
TEST_F(WindowTest, TheTwoHalfWindowViews) {
    const HalvesCase cases[] = {
        {1080, {0, 0, 1920, 540}, {0, 540, 1920, 540}},
        // 540.5 rounds away from zero: the top view reaches one row past the window's top edge.
        {1081, {0, 0, 1920, 541}, {0, 541, 1920, 541}},
    };
    for (const HalvesCase& c : cases) {
        open(1920, c.height);
        const RelativeViewportView bottom(0.0f, 0.0f, 1.0f, 0.5f, *window);
        const RelativeViewportView top(0.0f, 0.5f, 1.0f, 0.5f, *window);
        EXPECT_EQ(bottom.getViewport(), c.bottom) << c.height;
        EXPECT_EQ(top.getViewport(), c.top) << c.height;
        EXPECT_FLOAT_EQ(top.getAspectRatio(), 1920.0f / static_cast<float>(c.top.w));
        top.apply();
        glm::ivec4 viewport(0);
        glGetIntegerv(GL_VIEWPORT, &viewport.x);
        EXPECT_EQ(glm::uvec4(viewport), c.top);
        window.reset();
    }
}

TEST_F(WindowTest, AViewWithoutHeightHasAnInfiniteAspectRatio) {
    open();
    const RelativeViewportView flat(0.0f, 0.5f, 1.0f, 0.0f, *window);
    EXPECT_TRUE(std::isinf(flat.getAspectRatio()));
    EXPECT_GT(flat.getAspectRatio(), 0.0f);
}

TEST_F(WindowTest, AViewDroppingItsSubscriptionLeavesAnExpiredEntry) {
    open();
    {
        const RelativeViewportView view(0.0f, 0.0f, 1.0f, 1.0f, *window);
        EXPECT_EQ(window->resizeCallbacks.size(), 1u);
    }
    window->resizeCallbacks.invoke(1, 1); // nothing would call the view that is gone
    EXPECT_EQ(window->resizeCallbacks.size(), 0u);
}

TEST_F(WindowTest, TeardownReleasesInputThenTheWindowThenGlfw) {
    open();
    LogCapture capture;
    window.reset();
    libraries.reset();
    std::vector<std::string> order;
    for (const LoggedLine& line : capture.lines()) {
        order.push_back(line.message);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"Destroyed raw mouse handler.",
                                               "Destroying GLFW window", "Terminating GLFW"}));
    EXPECT_FALSE(gGlContextAlive);
}

// Each forked before this process has a GLFW or X connection of its own (no fixture).
TEST(WindowFatalStop, WithoutADisplayGlfwInitializationFailsWithStatusOne) {
    const ChildResult child = runInChild([] {
        unsetenv("DISPLAY");
        GLLibraries libraries;
        libraries.createWindow(640, 480, false);
    });
    EXPECT_EQ(child.exitStatus, 1);
    EXPECT_NE(child.standardError.find("[LOG] [critical] GLFW Initialization failed"),
              std::string::npos)
        << child.standardError;
}
TEST(WindowFatalStop, AWindowGlfwCannotMakeEndsTheProcessAfterTheHandleCheck) {
    const ChildResult child = runInChild([] {
        GLLibraries libraries;
        const std::unique_ptr<Window> first = libraries.createWindow(64, 64, false);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 99); // no driver offers OpenGL 99
        libraries.createWindow(64, 64, false);
    });
    EXPECT_EQ(child.exitStatus, 1);
    const std::size_t check = child.standardError.find("[LOG] [error] Accessing invalid handle.");
    const std::size_t stop = child.standardError.find("[LOG] [critical] Failed to create GLFW window.");
    ASSERT_NE(check, std::string::npos) << child.standardError;
    ASSERT_NE(stop, std::string::npos) << child.standardError;
    EXPECT_LT(check, stop);
}
} // namespace
