// The real program under the test run's Xvfb, played the way two people would: the start screen,
// the mouse assignment, ENTER, each player turning with their own mouse and walking with their
// own keys, a throw each, and ESCAPE. Input comes through XTEST on two distinct devices: the core
// XTEST pointer (the game's handle-less "Virtual Mouse") and "Xvfb mouse". Screenshots of every
// stage are written next to the test's working directory. Takes the keyboard focus and injects
// input, so it runs alone (RESOURCE_LOCK x_input).
#include "tests/engine/platform/XTestDriver.h"
#include "tests/game/GameProcess.h"
#include "tests/game/ScreenGrab.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <thread>

namespace {
using namespace std::chrono_literals;

constexpr int width = 960;
constexpr int height = 540;
constexpr int half = height / 2;
// In screenshot rows, from the top: player 2's view is the upper half, player 1's the lower.
constexpr PictureRegion playerTwoView{0, 0, width, half};
constexpr PictureRegion playerOneView{0, half, width, half};

const std::string workDirectory = std::string(VORNHALT_E2E_DIRECTORY);

bool isOrange(Picture::Pixel p) { return p.r > 180 && p.g > 60 && p.g < 210 && p.b < 110; }
bool isWhite(Picture::Pixel p) { return p.r > 200 && p.g > 200 && p.b > 200; }
bool isRed(Picture::Pixel p) { return p.r > 150 && p.g < 90 && p.b < 90; }
bool isBlack(Picture::Pixel p) { return p.r < 16 && p.g < 16 && p.b < 16; }

// A heart of a player's row, 0 the rightmost: 40 pixels square, 10 above the half's bottom.
PictureRegion heart(int k, int viewBottom) { return {width - 50 - 50 * k, viewBottom - 50, 40, 40}; }
// The "Player n" label, 20 pixels in from the half's bottom-left corner, on its baseline.
PictureRegion label(int viewBottom) { return {20, viewBottom - 45, 100, 30}; }

// The regions are laid out for the game's window; a smaller picture (a window caught while it
// was still being made) must count what lies inside it and read nothing beyond its edges.
TEST(Picture, ARegionReachingPastTheEdgesCountsOnlyWhatIsInside) {
    Picture picture{4, 3, std::vector<std::uint8_t>(4 * 3 * 3, 255)};
    const auto any = [](Picture::Pixel) { return true; };
    EXPECT_EQ(countPixels(picture, {-300, -2, 302, 10}, any), 2 * 3);
    EXPECT_EQ(countChanged(picture, picture, {-5, -5, 20, 20}), 0);
    EXPECT_EQ(countChanged(picture, Picture{}, {0, 0, 4, 3}), 12) << "an empty picture differs";
}

class EndToEnd : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.isOpen() && screen.isOpen()) << "no X display: run under xvfb-run";
        ASSERT_TRUE(x.openDevice("Xvfb mouse"));
    }

    // The picture once the game has drawn something where the test holds, or the last one.
    std::optional<Picture> waitFor(const std::function<bool(const Picture&)>& test,
                                   std::chrono::milliseconds timeout = 20s) {
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

    // The picture once time has passed. A window that has gone (the game died) fails the test
    // and gives an empty picture, which matches no region, instead of reading an empty optional.
    Picture settle(std::chrono::milliseconds time = 1500ms) {
        std::this_thread::sleep_for(time);
        std::optional<Picture> picture = screen.grab(window);
        if (!picture) {
            ADD_FAILURE() << "the game's window has gone";
            return {};
        }
        return *picture;
    }

    // Of the frames drawn over the next second, the one that differs most from before in the
    // region: a thrown frisbee is largest right after it has left the eye.
    Picture mostChanged(const Picture& before, const PictureRegion& region) {
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

    void save(const Picture& picture, const std::string& name) {
        EXPECT_TRUE(savePng(picture, workDirectory + "/" + name + ".png"));
    }

    void tapKey(unsigned long keysym) {
        x.pressKey(keysym, true);
        std::this_thread::sleep_for(50ms);
        x.pressKey(keysym, false);
    }

    void holdKey(unsigned long keysym, std::chrono::milliseconds time) {
        x.pressKey(keysym, true);
        std::this_thread::sleep_for(time);
        x.pressKey(keysym, false);
    }

    void clickCore() {
        x.pressCoreButton(1, true);
        x.sync();
        std::this_thread::sleep_for(300ms);
        x.pressCoreButton(1, false);
        x.sync();
    }

    void clickDevice() {
        x.pressDeviceButton(1, true);
        x.sync();
        std::this_thread::sleep_for(300ms);
        x.pressDeviceButton(1, false);
        x.sync();
    }

    XTestDriver x;
    ScreenGrab screen;
    unsigned long window = 0;
};

TEST_F(EndToEnd, TwoPlayersAssignMiceStartTurnWalkThrowAndQuit) {
    GameProcess game(VORNHALT_EXECUTABLE, VORNHALT_RUN_DIRECTORY, workDirectory,
                     "[window]\nwidth = 960\nheight = 540\n");
    ASSERT_TRUE(game.isStarted());

    // The start screen: the logo centred at 60 % of the height, the prompt below, black around.
    const PictureRegion logo{width / 2 - 300, height - 324 - 110, 600, 220};
    const PictureRegion prompt{width / 2 - 150, height - 81 - 24, 300, 34};
    const std::optional<Picture> start = waitFor([&](const Picture& p) {
        return countPixels(p, logo, isOrange) > 10000 && countPixels(p, prompt, isWhite) > 100;
    });
    ASSERT_TRUE(start) << game.log();
    save(*start, "1-start-screen");
    EXPECT_GT(countPixels(*start, logo, isOrange), 10000);
    EXPECT_GT(countPixels(*start, prompt, isWhite), 100) << "\"Press ENTER to start\"";
    EXPECT_EQ(countPixels(*start, {0, 0, width, 100}, isBlack), width * 100);

    x.focus(window);
    // The input pump's first update reports every mouse's buttons as released: an assignment
    // already collecting then would take the mice in index order without a click. The loop
    // starts right after the last model has loaded.
    ASSERT_TRUE(game.waitForLog("frisbee_rescaled.dae", 30s)) << game.log();
    std::this_thread::sleep_for(500ms);
    // Swap the default mice: player 1 takes the core pointer, player 2 the Xvfb mouse.
    tapKey(XK_m);
    ASSERT_TRUE(game.waitForLog("Reconfiguring mice...", 30s)) << game.log();
    // Held across a few frames: a press and release within one input update cancel out.
    clickCore();
    ASSERT_TRUE(game.waitForLog("Configured player 1's mouse as 'Virtual Mouse'", 5s)) << game.log();
    clickDevice();
    ASSERT_TRUE(game.waitForLog("Configured player 2's mouse as 'Xvfb mouse'", 5s)) << game.log();
    tapKey(XK_m);
    ASSERT_TRUE(game.waitForLog("Reconfigured mice", 5s)) << game.log();

    tapKey(XK_Return);
    ASSERT_TRUE(waitFor([&](const Picture& p) { return countChanged(*start, p, logo) > 20000; }))
        << "the first played frame replaces the start screen";
    const Picture play = settle(2s); // both dogs land on their bases
    save(play, "2-match-start");
    for (const int bottom : {height, half}) {
        for (int k = 0; k < 5; ++k) {
            EXPECT_GT(countPixels(play, heart(k, bottom), isRed), 400) << "heart " << k << " above row " << bottom;
        }
        EXPECT_GT(countPixels(play, label(bottom), isWhite), 60) << "the player label above row " << bottom;
    }
    for (const PictureRegion& view : {playerOneView, playerTwoView}) {
        EXPECT_LT(countPixels(play, view, isBlack), view.width * view.height / 10)
            << "a view of the arena and the sky, not the cleared window";
    }
    EXPECT_EQ(countChanged(play, settle(500ms), {0, 0, width, height}), 0)
        << "with nobody touching anything the picture stands still";

    // Turning: each player with their own mouse; the other player's view hardly changes.
    for (int i = 0; i < 20; ++i) {
        x.moveCorePointer(30, 0);
    }
    x.sync();
    const Picture turnedOne = settle();
    save(turnedOne, "3-player-1-turned");
    EXPECT_GT(countChanged(play, turnedOne, playerOneView), width * half / 5);
    EXPECT_LT(countChanged(play, turnedOne, playerTwoView), width * half / 50);

    for (int i = 0; i < 20; ++i) {
        x.moveDevice(-30, 0);
    }
    x.sync();
    const Picture turnedTwo = settle();
    save(turnedTwo, "4-player-2-turned");
    EXPECT_GT(countChanged(turnedOne, turnedTwo, playerTwoView), width * half / 5);
    EXPECT_LT(countChanged(turnedOne, turnedTwo, playerOneView), width * half / 50);

    // Walking: each with their own keys.
    holdKey(XK_w, 600ms);
    const Picture walkedOne = settle();
    save(walkedOne, "5-player-1-walked");
    EXPECT_GT(countChanged(turnedTwo, walkedOne, playerOneView), width * half / 10);
    holdKey(XK_Home, 600ms);
    const Picture walkedTwo = settle();
    save(walkedTwo, "6-player-2-walked");
    EXPECT_GT(countChanged(walkedOne, walkedTwo, playerTwoView), width * half / 10);

    // Throwing: a frisbee leaves each thrower's eye and flies off ahead, in view. A still scene
    // changes no pixel (checked above), so a few dozen are the frisbee and its shadow; how many
    // depends on how near the eye the frames caught it, which a loaded machine makes fewer.
    x.pressCoreButton(1, true);
    x.sync();
    const Picture thrownOne = mostChanged(walkedTwo, playerOneView);
    x.pressCoreButton(1, false);
    x.sync();
    save(thrownOne, "7-player-1-threw");
    EXPECT_GT(countChanged(walkedTwo, thrownOne, playerOneView), 40) << "player 1's frisbee";

    const Picture beforeTwo = settle(2500ms); // one frisbee at a time in view
    x.pressDeviceButton(1, true);
    x.sync();
    const Picture thrownTwo = mostChanged(beforeTwo, playerTwoView);
    x.pressDeviceButton(1, false);
    x.sync();
    save(thrownTwo, "8-player-2-threw");
    EXPECT_GT(countChanged(beforeTwo, thrownTwo, playerTwoView), 40) << "player 2's frisbee";

    tapKey(XK_Escape);
    EXPECT_EQ(game.waitForExit(20s), std::make_optional(0)) << game.log();
    const std::string log = game.log();
    const std::size_t end = log.find("Game Loop end");
    ASSERT_NE(end, std::string::npos) << log;
    EXPECT_NE(log.find("Destroyed raw mouse handler.", end), std::string::npos) << log;
    EXPECT_EQ(log.find("[error]"), std::string::npos) << log;
    EXPECT_EQ(log.find("[critical]"), std::string::npos) << log;
}
} // namespace
