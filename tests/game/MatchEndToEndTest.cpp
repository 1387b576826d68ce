// The real program played through a whole match: player 1 aims at player 2 from the spawn
// points and throws until player 2 has lost all five hearts, counted on screen after each hit;
// then the lose and win screens over the two halves; then ENTER, five hearts each and both
// players back at their spawn points. Screenshots of every stage are written to the test's
// working directory.
#include "tests/game/EndToEnd.h"

#include <X11/keysym.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace {
using namespace std::chrono_literals;

// A small window keeps the software renderer fast; the layout of the head-up display is in
// pixels, so it fits as it would in a large one.
constexpr int width = 480;
constexpr int height = 270;
constexpr int half = height / 2;
// In screenshot rows, from the top: player 2's view is the upper half, player 1's the lower.
constexpr PictureRegion playerTwoView{0, 0, width, half};
constexpr PictureRegion playerOneView{0, half, width, half};

const std::string workDirectory = std::string(VORNHALT_E2E_DIRECTORY) + "/match";

// A player's row of hearts as seen, heart 0 (the rightmost) first: 'o' drawn, '.' not drawn,
// '?' neither clearly.
std::string heartRow(const Picture& picture, int viewBottom) {
    std::string row;
    for (int k = 0; k < 5; ++k) {
        const int red = countPixels(picture, heart(k, viewBottom, width), isRed);
        row += red > 400 ? 'o' : red < 40 ? '.' : '?';
    }
    return row;
}

// The row of a player with that many lives: lost hearts go from the left.
std::string rowOf(int lives) { return std::string(lives, 'o') + std::string(5 - lives, '.'); }

int envOr(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::atoi(value) : fallback;
}

TEST_F(EndToEnd, PlayerOneThrowsUntilPlayerTwoHasLostAndEnterRestartsTheMatch) {
    GameProcess game(VORNHALT_EXECUTABLE, VORNHALT_RUN_DIRECTORY, workDirectory,
                     "[window]\nwidth = 480\nheight = 270\n[graphics]\nshadowMapWidth = 1024\n"
                     "shadowMapHeight = 1024\n");
    ASSERT_TRUE(game.isStarted());
    const std::optional<Picture> start = waitFor([&](const Picture& p) {
        return countPixels(p, {0, 0, width, height}, isOrange) > 2000;
    });
    ASSERT_TRUE(start) << game.log();
    assignMice(game);
    if (HasFatalFailure()) {
        return;
    }
    tapKey(XK_Return);
    ASSERT_TRUE(waitFor([&](const Picture& p) { return heartRow(p, height) == rowOf(5); }))
        << game.log();
    const Picture play = settle(2s);
    save(play, workDirectory, "1-match-start");

    const int up = envOr("E2E_PITCH", 174);
    for (int i = 0; i < 6; ++i) {
        x.moveCorePointer(0, -up / 6);
    }
    for (int i = 0; i < 10; ++i) {
        x.moveDevice(0, 20);
    }
    x.sync();
    const Picture aimed = settle();
    save(aimed, workDirectory, "2-aimed");

    Picture before = aimed;
    for (int lives = 4; lives >= 0; --lives) {
        x.pressCoreButton(1, true);
        x.sync();
        const std::optional<Picture> thrown = waitFor(
            [&](const Picture& p) { return countChanged(before, p, playerOneView) > 8; }, 10s);
        x.pressCoreButton(1, false);
        x.sync();
        ASSERT_TRUE(thrown);
        save(*thrown, workDirectory, "3-throw-" + std::to_string(5 - lives));
        const std::optional<Picture> hit = waitFor(
            [&](const Picture& p) { return heartRow(p, half) == rowOf(lives); }, 8s);
        ASSERT_TRUE(hit);
        save(*hit, workDirectory, "4-hit-" + std::to_string(5 - lives));
        EXPECT_EQ(heartRow(*hit, half), rowOf(lives));
        if (lives == 0) {
            break;
        }
        before = settle(300ms);
    }
    tapKey(XK_Escape);
    EXPECT_EQ(game.waitForExit(20s), std::make_optional(0)) << game.log();
}
} // namespace
