// The update and fixed-update walks over a scene of 10,000 objects with three components each:
// time per component visited, and the heap allocations of one steady-state walk.
#include "bench/AllocationCounter.h"
#include "engine/scene/GameObject.h"

#include <benchmark/benchmark.h>

namespace {
constexpr int objectCount = 10000;
constexpr int componentsPerObject = 3;

// Does a little work per call so the walk, not an empty virtual call, is what is measured.
class CountingComponent : public Component {
public:
    explicit CountingComponent(GameObject* owner) : Component(owner, "CountingComponent") {}
    void onUpdate() override { benchmark::DoNotOptimize(++updates); }
    void onFixedUpdate() override { benchmark::DoNotOptimize(++steps); }

private:
    int updates = 0;
    int steps = 0;
};

std::unique_ptr<GameObject> buildScene() {
    auto root = std::make_unique<GameObject>("Root");
    for (int i = 0; i < objectCount; ++i) {
        auto object = root->addChild("Object").lock();
        for (int c = 0; c < componentsPerObject; ++c) {
            object->addComponent<CountingComponent>();
        }
    }
    updateRoot(root); // starts every component
    return root;
}

template <void (*Walk)(const std::unique_ptr<GameObject>&)>
void walkScene(benchmark::State& state) {
    const auto root = buildScene();
    for (auto _ : state) {
        Walk(root);
    }
    const double components = static_cast<double>(state.iterations()) * objectCount * componentsPerObject;
    state.counters["ns_per_component"] =
        benchmark::Counter(components, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    // Counted outside the timed loop, where the framework itself allocates now and then.
    constexpr int countedWalks = 10;
    const std::size_t before = heapAllocations();
    for (int i = 0; i < countedWalks; ++i) {
        Walk(root);
    }
    state.counters["allocations_per_walk"] =
        static_cast<double>(heapAllocations() - before) / countedWalks;
}

BENCHMARK(walkScene<updateRoot>)->Name("UpdateWalk")->Unit(benchmark::kMicrosecond);
BENCHMARK(walkScene<fixedUpdateRoot>)->Name("FixedUpdateWalk")->Unit(benchmark::kMicrosecond);
} // namespace
