#pragma once

#include <array>
#include <cstddef>

// The order of the raw-input button flags; indexes MouseData::buttons and the input manager's
// released flags.
enum class MouseButton : int { Left = 0, Right = 1, Middle = 2 };

inline constexpr std::array<MouseButton, 3> mouseButtons = {MouseButton::Left, MouseButton::Right,
                                                            MouseButton::Middle};

constexpr std::size_t indexOf(MouseButton button) { return static_cast<std::size_t>(button); }
