#pragma once

#include "engine/CallbackSet.h"
#include "engine/input/MouseButton.h"
#include "engine/input/RawMouseHandler.h"
#include "engine/platform/RawInput.h"
#include "engine/window/Window.h"

#include <array>
#include <cstdint>
#include <glm/vec2.hpp>
#include <memory>
#include <vector>

// The one input hub. Each update pumps the window's events (key listeners run inside it), drains
// the raw-input queue into the raw mouse handler, then tells the mouse listeners what changed.
// The game calls it at the top of every pass and before every fixed step.
class InputManager {
public:
    using MotionCallbacks = CallbackSet<void(std::uint64_t mouse, glm::ivec2 movement)>;
    using ButtonCallbacks = CallbackSet<void(std::uint64_t mouse, MouseButton button, bool released)>;
    using CountCallbacks = CallbackSet<void(std::uint64_t count, std::uint64_t previousCount)>;

    // keyCallbacks: the window's key registry, where key listeners subscribe. window: the window
    // whose keys isKeyPressed reads; null where there is none (tests of mouse input). rawInput:
    // where the mice come from: the window's XInput2 backend in the game, a scripted one in
    // tests.
    InputManager(Window::KeyCallbacks& keyCallbacks, const Window* window,
                 std::unique_ptr<RawInput> rawInput);
    ~InputManager();
    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;

    void update();
    // GLFW's state of the key (a GLFW key code), as of the last update's pump.
    bool isKeyPressed(int key) const;

    MotionCallbacks mouseMotionCallbacks;
    ButtonCallbacks mouseButtonCallbacks;
    CountCallbacks mouseCountCallbacks;
    Window::KeyCallbacks* keyCallbacks;
    std::unique_ptr<RawMouseHandler> rawMouseHandler;
    // Per mouse index, whether each button (indexed by MouseButton) was up at the last update.
    // One entry for every index below the largest count any update has seen; it never shrinks,
    // so an index whose mouse left keeps the flags last reported for it.
    std::vector<std::array<bool, 3>> buttonReleased;

private:
    void drainRawInput();
    void reportMotion(std::size_t count);
    void reportButtons(std::size_t count);

    std::unique_ptr<RawInput> rawInput; // the destructor lets the handler go first
    const Window* window;
    std::uint64_t previousMouseCount = 0;
};
