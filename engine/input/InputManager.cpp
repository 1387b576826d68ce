#include "engine/input/InputManager.h"

#include "engine/Logging.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

InputManager::InputManager(Window::KeyCallbacks& keyCallbacks, const Window* window,
                           std::unique_ptr<RawInput> rawInput)
    : keyCallbacks(&keyCallbacks), rawInput(std::move(rawInput)), window(window) {
    rawMouseHandler = std::make_unique<RawMouseHandler>(*this->rawInput);
}

InputManager::~InputManager() {
    buttonReleased.clear();
    rawMouseHandler.reset(); // unregisters while its platform still exists
}

void InputManager::update() {
    glfwPollEvents(); // the window's key callback and its close control run in here
    drainRawInput();
    const std::size_t count = rawMouseHandler->mice.size();
    mouseCountCallbacks.invoke(std::uint64_t{count}, previousMouseCount);
    reportMotion(count);
    reportButtons(count);
    previousMouseCount = count;
}

void InputManager::drainRawInput() {
    while (const std::optional<RawInputMessage> message = rawInput->nextMessage()) {
        switch (message->kind) {
        case RawInputMessage::Kind::Input:
            rawMouseHandler->onRawInput(message->report);
            break;
        case RawInputMessage::Kind::DeviceArrival:
            rawMouseHandler->addMouse(message->device);
            break;
        case RawInputMessage::Kind::DeviceRemoval:
            rawMouseHandler->removeMouse(message->device);
            break;
        }
    }
}

// With no motion listener the movement stays in the records, for the player's look to take.
// An expired entry counts as a listener until the next invoke erases it.
void InputManager::reportMotion(std::size_t count) {
    if (mouseMotionCallbacks.size() == 0) {
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const glm::ivec2 movement = rawMouseHandler->mice[i]->takeMovement();
        if (movement.x != 0 || movement.y != 0) {
            mouseMotionCallbacks.invoke(std::uint64_t{i}, movement);
        }
    }
}

// Every change of a released flag since the last update, per index; a listener runs before the
// flag it hears about is stored. A mouse new at an index reports each button that is up, since
// its entry starts with three false flags.
void InputManager::reportButtons(std::size_t count) {
    if (buttonReleased.size() < count) {
        buttonReleased.resize(count, {false, false, false});
    }
    for (std::size_t i = 0; i < count; ++i) {
        for (const MouseButton button : mouseButtons) {
            const bool released = !rawMouseHandler->mice[i]->isDown(button);
            if (released != buttonReleased[i][indexOf(button)]) {
                mouseButtonCallbacks.invoke(std::uint64_t{i}, button, released);
                buttonReleased[i][indexOf(button)] = released;
            }
        }
    }
}

bool InputManager::isKeyPressed(int key) const {
    if (window == nullptr || window->isEmpty()) {
        // No window, or one already destroyed: GLFW would dereference the null handle.
        getGeneralLogger()->error("Accessing invalid handle.");
        return false;
    }
    return glfwGetKey(window->getHandle(), key) == GLFW_PRESS;
}
