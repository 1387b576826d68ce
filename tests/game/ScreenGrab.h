#pragma once

#include "tests/game/Picture.h"

#include <memory>
#include <optional>
#include <string>

// Screenshots of a window on the test run's X display ($DISPLAY), through a connection of its
// own. X's headers stay in the .cpp: their Window would clash with the game's.
class ScreenGrab {
public:
    ScreenGrab();
    ~ScreenGrab();
    ScreenGrab(const ScreenGrab&) = delete;
    ScreenGrab& operator=(const ScreenGrab&) = delete;

    bool isOpen() const;
    // A mapped top-level window with that title; 0 when there is none.
    unsigned long findWindow(const std::string& title);
    // The window's contents; nullopt when it has gone or is not viewable.
    std::optional<Picture> grab(unsigned long window);

private:
    struct State;
    std::unique_ptr<State> state;
};
