#pragma once

#include <cstdint>

// One player's keys (GLFW key codes) and mouse (an index into the raw mouse handler's list).
// Only the mouse changes during a run: the mouse assignment rewrites it.
struct PlayerControls {
    int forwardKey = 0;
    int backKey = 0;
    int rightKey = 0;
    int leftKey = 0;
    int jumpKey = 0;
    std::uint64_t mouse = 0;
};
