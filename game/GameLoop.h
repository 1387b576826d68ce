#pragma once

#include "game/MatchRules.h"
#include "game/SceneSetup.h"

#include <functional>

struct Config;
class Engine;

// Seconds from some fixed start; the game's is GLFW's timer.
using LoopClock = std::function<double()>;

// The match: builds the scene and the head-up display, then runs passes until the window should
// close. A pass pumps input and adds the time since the previous pass to an accumulator; unless
// the match waits for ENTER or the frame limiter holds it back, it then runs one update walk,
// one 60 Hz physics step with its fixed-update walk for every step's worth of accumulated time,
// renders both players' views with their displays, shows the result of a game over and swaps.
// The loop never sleeps.
class GameLoop {
public:
    GameLoop(Engine& engine, const Config& config, LoopClock clock);
    GameLoop(const GameLoop&) = delete;
    GameLoop& operator=(const GameLoop&) = delete;

    void run();
    void pass();

    // Seconds per rendered frame: 1 / refresh rate, the configured rate read as unsigned, so -1
    // gives no limit worth the name and 0 holds every frame back for good.
    double frameLength() const;

    Engine& engine;
    const Config& config;
    MatchState match; // before the scene, whose listeners refer to it
    GameScene scene;
    double lastTime = 0.0;
    double accumulator = 0.0; // seconds not yet simulated
    double frameTime = 0.0;   // seconds since the previous pass

private:
    void runFixedSteps();
    void render();
    void renderPlayer(std::size_t index);
    void showGameOver();

    LoopClock clock;
};

// The game's loop on GLFW's timer; returns when the window has been asked to close.
void gameLoop(Engine& engine, const Config& config);
