// One played frame of the real game at its default size (1920 × 1080, two 1920 × 540 views,
// shadow map 2048 × 2048): the input pump, one update walk, one 60 Hz physics step with its
// fixed-update walk, the shadow pass, both players' render sequences with their displays, and the
// swap. The loop's clock is the benchmark's, so every pass runs exactly one step.
#include "bench/AllocationCounter.h"
#include "engine/Config.h"
#include "engine/Engine.h"
#include "engine/Logging.h"
#include "game/GameLoop.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>

namespace {
Config config;
GameLoop* loop = nullptr;
double now = 0.0;

// Below the slow-frame threshold, so no warning is formatted; the accumulator is topped up to
// one step's worth so that each pass steps exactly once.
void playOneFrame() {
    now += 0.016;
    loop->accumulator = static_cast<double>(gEngine->fixedDeltaTime);
    loop->pass();
    glFinish(); // the driver renders on its own threads: wait for the frame to be done
}

void PlayedFrame(benchmark::State& state) {
    for (int i = 0; i < 30; ++i) {
        playOneFrame(); // the arena is cooked, the players land, every glyph is cached
    }
    for (auto _ : state) {
        playOneFrame();
    }
    state.counters["allocations_per_frame"] = allocationsPerCall(20, playOneFrame);
}
BENCHMARK(PlayedFrame)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    setupLogging();
    gEngine = std::make_unique<Engine>(config);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    {
        GameLoop game(*gEngine, config, [] { return now; });
        loop = &game;
        loop->match.waitingForEnter = false;
        benchmark::RunSpecifiedBenchmarks();
        loop = nullptr;
    }
    gEngine.reset();
    benchmark::Shutdown();
    return 0;
}
