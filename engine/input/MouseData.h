#pragma once

#include "engine/input/MouseButton.h"
#include "engine/platform/RawInput.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <glm/vec2.hpp>
#include <limits>
#include <optional>
#include <string>

// One mouse, as the raw mouse handler keeps it.
struct MouseData {
    DeviceHandle device = 0; // 0 for the handle-less record
    std::array<bool, 3> buttons{}; // down flags, indexed by MouseButton
    // Movement in device counts since a consumer last took it: a consumer reads both and sets
    // both to 0 (takeMovement).
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    std::string name; // the device interface name; empty for the handle-less record
    bool absolute = false; // set by the first absolute report, never cleared
    // Where the device's last absolute report put it, so that positions become movement.
    std::optional<glm::ivec2> lastPosition;

    bool isDown(MouseButton button) const { return buttons[indexOf(button)]; }

    glm::ivec2 takeMovement() {
        const glm::ivec2 movement(dx, dy);
        dx = 0;
        dy = 0;
        return movement;
    }

    // Saturates: with nobody taking it (the wait for ENTER) movement keeps piling up, and a
    // signed overflow would be undefined.
    void addMovement(std::int64_t x, std::int64_t y) {
        dx = saturate(dx + x);
        dy = saturate(dy + y);
    }

private:
    static std::int32_t saturate(std::int64_t value) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(
            value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    }
};
