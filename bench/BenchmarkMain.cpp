// The main of the benchmarks that need nothing but the loggers.
#include "engine/Logging.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    setupLogging();
    // Quiet: a line logged per iteration (a model's "Loading model", say) would flood the report.
    spdlog::set_level(spdlog::level::warn);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
