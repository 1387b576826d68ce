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
        std::this_thread::sleep_for(20ms);
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

Picture EndToEnd::mostChanged(const Picture& before, const PictureRegion& region) {
    Picture best = before;
    int most = 0;
    const auto deadline = std::chrono::steady_clock::now() + 1s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (const std::optional<Picture> picture = screen.grab(window)) {
            if (const int changed = countChanged(before, *picture, region); changed > most) {
                most = changed;
                best = *picture;
            }
        }
    }
    return best;
}

void EndToEnd::save(const Picture& picture, const std::string& directory, const std::string& name) {
    EXPECT_TRUE(savePng(picture, directory + "/" + name + ".png"));
}

void EndToEnd::tapKey(unsigned long keysym) {
    x.pressKey(keysym, true);
    std::this_thread::sleep_for(50ms);
    x.pressKey(keysym, false);
}

void EndToEnd::holdKey(unsigned long keysym, std::chrono::milliseconds time) {
    x.pressKey(keysym, true);
    std::this_thread::sleep_for(time);
    x.pressKey(keysym, false);
}

void EndToEnd::clickCore() {
    x.pressCoreButton(1, true);
    x.sync();
    std::this_thread::sleep_for(300ms);
    x.pressCoreButton(1, false);
    x.sync();
}

void EndToEnd::clickDevice() {
    x.pressDeviceButton(1, true);
    x.sync();
    std::this_thread::sleep_for(300ms);
    x.pressDeviceButton(1, false);
    x.sync();
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
    clickCore();
    ASSERT_TRUE(game.waitForLog("Configured player 1's mouse as 'Virtual Mouse'", 5s)) << game.log();
    clickDevice();
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
