#pragma once

#include "tests/engine/platform/XTestDriver.h"
#include "tests/game/GameProcess.h"
#include "tests/game/ScreenGrab.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>

// The fixture of the tests that play the real program under the test run's Xvfb the way two
// people would. Input comes through XTEST on two distinct devices: the core XTEST pointer (the
// game's handle-less "Virtual Mouse") and "Xvfb mouse". They take the keyboard focus and inject
// input, so they run alone (RESOURCE_LOCK x_input).
class EndToEnd : public testing::Test {
protected:
    void SetUp() override;

    // The picture once the game has drawn something where the test holds, or the last one.
    std::optional<Picture> waitFor(const std::function<bool(const Picture&)>& test,
                                   std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // The picture once time has passed. A window that has gone (the game died) fails the test
    // and gives an empty picture, which matches no region, instead of reading an empty optional.
    Picture settle(std::chrono::milliseconds time = std::chrono::milliseconds(1500));
    // Written as <directory>/<name>.png, to look at when a test fails.
    void save(const Picture& picture, const std::string& directory, const std::string& name);

    // The picture a while after the view first differed from before in more than `pixels`
    // pixels: input takes a frame or more to show, however slowly the frames come. A picture
    // that never did fails the test and gives the last one.
    Picture changedFrom(const Picture& before, const PictureRegion& view, int pixels);

    void tapKey(unsigned long keysym);
    // Which of the two X pointers: the core XTEST pointer or the Xvfb mouse.
    enum class Pointer { Core, Device };
    void pressButton(Pointer pointer, bool down);
    // Held across a few frames: a press and release within one input update cancel out.
    void click(Pointer pointer);
    // Holds the key, or the pointer's left button, until the view differs from before in more
    // than `pixels` pixels, then lets go: held long enough for the game to see it however slowly
    // the frames come, and no longer than it takes to show. The picture that showed it; nullopt
    // when none did.
    std::optional<Picture> holdKeyUntilChanged(unsigned long keysym, const Picture& before,
                                               const PictureRegion& view, int pixels);
    std::optional<Picture> holdButtonUntilChanged(Pointer pointer, const Picture& before,
                                                  const PictureRegion& view, int pixels);
    // A frisbee leaving the thrower's eye changes a few pixels of its view; a still scene none.
    static constexpr int frisbeePixels = 8;

private:
    std::optional<Picture> holdUntilChanged(const std::function<void(bool)>& press,
                                            const Picture& before, const PictureRegion& view,
                                            int pixels);

protected:
    // Once the start screen is up: M, a click of the core pointer (player 1), a click of the
    // Xvfb mouse (player 2), M, each step confirmed in the game's log. Swaps the default mice.
    void assignMice(const GameProcess& game);

    XTestDriver x;
    ScreenGrab screen;
    unsigned long window = 0;
};

bool isOrange(Picture::Pixel p);
bool isWhite(Picture::Pixel p);
bool isRed(Picture::Pixel p);
bool isBlack(Picture::Pixel p);

// Player n's view in screenshot rows, from the top: player 2's is the upper half, player 1's
// the lower.
constexpr PictureRegion viewOf(int player, int windowWidth, int windowHeight) {
    return {0, player == 2 ? 0 : windowHeight / 2, windowWidth, windowHeight / 2};
}

// Heart k of a player's row, 0 the rightmost: 40 pixels square, 10 above the half's bottom.
PictureRegion heart(int k, int viewBottom, int windowWidth);
