// Shows what the game's input sees, to check several real mice on a desktop: start it, move and
// click each mouse in turn, and watch each land on an index of its own; plug one in or out and
// watch the indices shift. The window must have the focus. ESC ends it.
#include "engine/Logging.h"
#include "engine/input/InputManager.h"
#include "engine/window/GLLibraries.h"

#include <GLFW/glfw3.h>
#include <chrono>
#include <thread>

namespace {
constexpr double reportInterval = 0.25; // seconds of movement summed into one line per mouse

std::string labelOf(RawMouseHandler& mice, std::uint64_t index) {
    return mice.getMouseName(index).value_or(mice.mice[index]->name);
}
} // namespace

int main() {
    setupLogging();
    GLLibraries libraries;
    const std::unique_ptr<Window> window = libraries.createWindow(640, 360, false);
    InputManager& input = *window->inputManager;
    RawMouseHandler& mice = *input.rawMouseHandler;
    auto exitKey = input.keyCallbacks->subscribe([&](int key, int, int action, int) {
        if (key == GLFW_KEY_ESCAPE && action == GLFW_PRESS) {
            glfwSetWindowShouldClose(window->getHandle(), GLFW_TRUE);
        }
    });
    auto count = input.mouseCountCallbacks.subscribe([&](std::uint64_t n, std::uint64_t previous) {
        for (std::uint64_t i = 0; n != previous && i < n; ++i) {
            getGeneralLogger()->info("mouse {}: {}", i, labelOf(mice, i));
        }
    });
    auto buttons = input.mouseButtonCallbacks.subscribe([&](std::uint64_t i, MouseButton button, bool released) {
        static constexpr const char* names[] = {"left", "right", "middle"};
        getGeneralLogger()->info("mouse {} ({}): {} {}", i, labelOf(mice, i), names[indexOf(button)],
                                 released ? "up" : "down");
    });
    double lastReport = glfwGetTime();
    while (!window->shouldClose()) {
        input.update();
        if (glfwGetTime() - lastReport >= reportInterval) {
            lastReport = glfwGetTime();
            for (std::size_t i = 0; i < mice.mice.size(); ++i) {
                const glm::ivec2 moved = mice.mice[i]->takeMovement();
                if (moved != glm::ivec2(0)) {
                    getGeneralLogger()->info("mouse {} moved {} {}", i, moved.x, moved.y);
                }
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return 0;
}
