// Importing each of the game's three models, as the scene set-up does once at start-up: time
// per file (it adds to the time the start screen stays up) and the size of what it yields.
#include "graphics/model/ModelImport.h"

#include <benchmark/benchmark.h>

namespace {
void importModel(benchmark::State& state, const char* path) {
    std::size_t vertices = 0;
    for (auto _ : state) {
        const ModelData data = loadModel(path);
        vertices = 0;
        for (const SubMesh& mesh : data.subMeshes) {
            vertices += mesh.positions.size();
        }
        benchmark::DoNotOptimize(vertices);
    }
    state.counters["vertices"] = static_cast<double>(vertices);
}

BENCHMARK_CAPTURE(importModel, Dog, "assets/models/shiba_simpleAnim_exp.dae")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(importModel, Arena, "assets/models/map_rescaled.dae")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(importModel, Frisbee, "assets/models/frisbee_rescaled.dae")->Unit(benchmark::kMillisecond);
} // namespace
