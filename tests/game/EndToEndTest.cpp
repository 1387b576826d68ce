// The real program under the test run's Xvfb, played the way two people would: the start screen,
// the mouse assignment, ENTER, each player turning with their own mouse and walking with their
// own keys, a throw each, and ESCAPE. Screenshots of every stage are written to the test's
// working directory.
#include "tests/game/EndToEnd.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace {
using namespace std::chrono_literals;

constexpr int width = 960;
constexpr int height = 540;
constexpr int half = height / 2;
constexpr PictureRegion playerOneView = viewOf(1, width, height);
constexpr PictureRegion playerTwoView = viewOf(2, width, height);

const std::string workDirectory = std::string(VORNHALT_E2E_DIRECTORY) + "/walk-and-throw";

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
    save(*start, workDirectory, "1-start-screen");
    EXPECT_GT(countPixels(*start, logo, isOrange), 10000);
    EXPECT_GT(countPixels(*start, prompt, isWhite), 100) << "\"Press ENTER to start\"";
    EXPECT_EQ(countPixels(*start, {0, 0, width, 100}, isBlack), width * 100);

    // Swap the default mice: player 1 takes the core pointer, player 2 the Xvfb mouse.
    assignMice(game);
    if (HasFatalFailure()) {
        return;
    }

    tapKey(XK_Return);
    ASSERT_TRUE(waitFor([&](const Picture& p) { return countChanged(*start, p, logo) > 20000; }))
        << "the first played frame replaces the start screen";
    const Picture play = settle(2s); // both dogs land on their bases
    save(play, workDirectory, "2-match-start");
    for (const int bottom : {height, half}) {
        for (int k = 0; k < 5; ++k) {
            EXPECT_GT(countPixels(play, heart(k, bottom, width), isRed), 400)
                << "heart " << k << " above row " << bottom;
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
    const Picture turnedOne = changedFrom(play, playerOneView, width * half / 5);
    save(turnedOne, workDirectory, "3-player-1-turned");
    EXPECT_GT(countChanged(play, turnedOne, playerOneView), width * half / 5);
    EXPECT_LT(countChanged(play, turnedOne, playerTwoView), width * half / 50);

    for (int i = 0; i < 20; ++i) {
        x.moveDevice(-30, 0);
    }
    x.sync();
    const Picture turnedTwo = changedFrom(turnedOne, playerTwoView, width * half / 5);
    save(turnedTwo, workDirectory, "4-player-2-turned");
    EXPECT_GT(countChanged(turnedOne, turnedTwo, playerTwoView), width * half / 5);
    EXPECT_LT(countChanged(turnedOne, turnedTwo, playerOneView), width * half / 50);

    // Walking: each with their own keys.
    ASSERT_TRUE(holdKeyUntilChanged(XK_w, turnedTwo, playerOneView, width * half / 10));
    const Picture walkedOne = settle();
    save(walkedOne, workDirectory, "5-player-1-walked");
    EXPECT_GT(countChanged(turnedTwo, walkedOne, playerOneView), width * half / 10);
    ASSERT_TRUE(holdKeyUntilChanged(XK_Home, walkedOne, playerTwoView, width * half / 10));
    const Picture walkedTwo = settle();
    save(walkedTwo, workDirectory, "6-player-2-walked");
    EXPECT_GT(countChanged(walkedOne, walkedTwo, playerTwoView), width * half / 10);

    // Throwing: a frisbee leaves each thrower's eye and flies off ahead, in view.
    const std::optional<Picture> thrownOne =
        holdButtonUntilChanged(Pointer::Core, walkedTwo, playerOneView, frisbeePixels);
    ASSERT_TRUE(thrownOne) << "player 1's frisbee\n" << game.log();
    save(*thrownOne, workDirectory, "7-player-1-threw");

    const Picture beforeTwo = settle(2500ms); // one frisbee at a time in view
    const std::optional<Picture> thrownTwo =
        holdButtonUntilChanged(Pointer::Device, beforeTwo, playerTwoView, frisbeePixels);
    ASSERT_TRUE(thrownTwo) << "player 2's frisbee\n" << game.log();
    save(*thrownTwo, workDirectory, "8-player-2-threw");

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
