#include "tests/game/EndToEnd.h"

#include <X11/keysym.h>
#include <thread>

using namespace std::chrono_literals;

void EndToEnd::SetUp() {
    ASSERT_TRUE(x.isOpen() && screen.isOpen()) << "no X display: run under xvfb-run";
    ASSERT_TRUE(x.openDevice("Xvfb mouse"));
}

std::optional<Picture> EndToEnd::waitFor(const std::function<bool(const Picture&)>& test,
                                         std::chrono::milliseconds timeout) {
    std::optional<Picture> picture;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        if (window == 0) {
            window = screen.findWindow("Vornhalt");
        }
        if (window != 0) {
            picture = screen.grab(window);
            if (picture && test(*picture)) {
                return picture;
            }
        }
        std::this_thread::sleep_for(50ms); // polling leaves the game the processor
    } while (std::chrono::steady_clock::now() < deadline);
    return picture;
}

Picture EndToEnd::settle(std::chrono::milliseconds time) {
    std::this_thread::sleep_for(time);
    std::optional<Picture> picture = screen.grab(window);
    if (!picture) {
        ADD_FAILURE() << "the game's window has gone";
        return {};
    }
    return *picture;
}

void EndToEnd::save(const Picture& picture, const std::string& directory, const std::string& name) {
    EXPECT_TRUE(savePng(picture, directory + "/" + name + ".png"));
}

Picture EndToEnd::changedFrom(const Picture& before, const PictureRegion& view, int pixels) {
    const std::optional<Picture> changed =
        waitFor([&](const Picture& p) { return countChanged(before, p, view) > pixels; });
    EXPECT_TRUE(changed && countChanged(before, *changed, view) > pixels) << "the view never changed";
    return settle();
}

void EndToEnd::tapKey(unsigned long keysym) {
    x.pressKey(keysym, true);
    std::this_thread::sleep_for(50ms);
    x.pressKey(keysym, false);
}

void EndToEnd::pressButton(Pointer pointer, bool down) {
    if (pointer == Pointer::Core) {
        x.pressCoreButton(1, down);
    } else {
        x.pressDeviceButton(1, down);
    }
    x.sync();
}

void EndToEnd::click(Pointer pointer) {
    pressButton(pointer, true);
    std::this_thread::sleep_for(300ms);
    pressButton(pointer, false);
}

std::optional<Picture> EndToEnd::holdUntilChanged(const std::function<void(bool)>& press,
                                                  const Picture& before, const PictureRegion& view,
                                                  int pixels) {
    const auto changed = [&](const Picture& p) { return countChanged(before, p, view) > pixels; };
    press(true);
    std::optional<Picture> seen = waitFor(changed, 10s);
    press(false);
    if (seen && !changed(*seen)) {
        seen.reset();
    }
    return seen;
}

std::optional<Picture> EndToEnd::holdKeyUntilChanged(unsigned long keysym, const Picture& before,
                                                     const PictureRegion& view, int pixels) {
    return holdUntilChanged([&](bool down) { x.pressKey(keysym, down); }, before, view, pixels);
}

std::optional<Picture> EndToEnd::holdButtonUntilChanged(Pointer pointer, const Picture& before,
                                                        const PictureRegion& view, int pixels) {
    return holdUntilChanged([&](bool down) { pressButton(pointer, down); }, before, view, pixels);
}

void EndToEnd::assignMice(const GameProcess& game) {
    x.focus(window);
    // The input pump's first update reports every mouse's buttons as released: an assignment
    // already collecting then would take the mice in index order without a click. The loop
    // starts right after the last model has loaded.
    ASSERT_TRUE(game.waitForLog("frisbee_rescaled.dae", 30s)) << game.log();
    std::this_thread::sleep_for(500ms);
    tapKey(XK_m);
    ASSERT_TRUE(game.waitForLog("Reconfiguring mice...", 30s)) << game.log();
    click(Pointer::Core);
    ASSERT_TRUE(game.waitForLog("Configured player 1's mouse as 'Virtual Mouse'", 5s)) << game.log();
    click(Pointer::Device);
    ASSERT_TRUE(game.waitForLog("Configured player 2's mouse as 'Xvfb mouse'", 5s)) << game.log();
    tapKey(XK_m);
    ASSERT_TRUE(game.waitForLog("Reconfigured mice", 5s)) << game.log();
}

bool isOrange(Picture::Pixel p) { return p.r > 180 && p.g > 60 && p.g < 210 && p.b < 110; }
bool isWhite(Picture::Pixel p) { return p.r > 200 && p.g > 200 && p.b > 200; }
bool isRed(Picture::Pixel p) { return p.r > 150 && p.g < 90 && p.b < 90; }
bool isBlack(Picture::Pixel p) { return p.r < 16 && p.g < 16 && p.b < 16; }

PictureRegion heart(int k, int viewBottom, int windowWidth) {
    return {windowWidth - 50 - 50 * k, viewBottom - 50, 40, 40};
}
