// Start-up of the real program at its default settings, as a player sees it: from the process's
// start to the first frame of the start screen on the window, and to the first played frame when
// ENTER is pressed as soon as the start screen shows. Measured from outside, on screenshots of the
// window under the run's X display; each iteration starts and quits the game once.
#include "tests/engine/platform/XTestDriver.h"
#include "tests/game/GameProcess.h"
#include "tests/game/ScreenGrab.h"

#include <X11/keysym.h>
#include <benchmark/benchmark.h>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;

bool isOrange(Picture::Pixel p) { return p.r > 180 && p.g > 60 && p.g < 210 && p.b < 110; }

// The logo, centred at 60 % of the window's height: 600 × 220 pixels.
PictureRegion logoRegion(const Picture& picture) {
    return {picture.width / 2 - 300, picture.height * 2 / 5 - 110, 600, 220};
}

template <typename Test>
std::optional<Picture> waitFor(ScreenGrab& screen, unsigned long& window, Test test) {
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (Clock::now() < deadline) {
        if (window == 0) {
            window = screen.findWindow("Vornhalt");
        }
        if (window != 0) {
            if (std::optional<Picture> picture = screen.grab(window); picture && test(*picture)) {
                return picture;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return std::nullopt;
}

void StartUp(benchmark::State& state) {
    XTestDriver x;
    ScreenGrab screen;
    double toStartScreen = 0.0;
    double toFirstPlayedFrame = 0.0;
    for (auto _ : state) {
        const auto started = Clock::now();
        GameProcess game(VORNHALT_EXECUTABLE, VORNHALT_RUN_DIRECTORY, VORNHALT_BENCH_DIRECTORY, "");
        unsigned long window = 0;
        const std::optional<Picture> start = waitFor(screen, window, [](const Picture& p) {
            return countPixels(p, logoRegion(p), isOrange) > 10000;
        });
        const auto startScreen = Clock::now();
        if (!start) {
            state.SkipWithError("no start screen");
            break;
        }
        x.focus(window);
        x.pressKey(XK_Return, true);
        x.pressKey(XK_Return, false);
        const std::optional<Picture> played = waitFor(screen, window, [&](const Picture& p) {
            return countChanged(*start, p, logoRegion(p)) > 20000;
        });
        const auto firstFrame = Clock::now();
        if (!played) {
            state.SkipWithError("no played frame");
            break;
        }
        const std::chrono::duration<double> sinceStart = firstFrame - started;
        toStartScreen += std::chrono::duration<double>(startScreen - started).count();
        toFirstPlayedFrame += sinceStart.count();
        state.SetIterationTime(sinceStart.count());
        x.pressKey(XK_Escape, true);
        x.pressKey(XK_Escape, false);
        game.waitForExit(std::chrono::seconds(20));
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["start_screen_ms"] = toStartScreen / iterations * 1000.0;
    state.counters["first_played_frame_ms"] = toFirstPlayedFrame / iterations * 1000.0;
}
BENCHMARK(StartUp)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
