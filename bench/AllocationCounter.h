#pragma once

#include <cstddef>

// Counts calls of the global operator new in this process, so a benchmark can report how many
// heap allocations its steady state makes (expected: none).
std::size_t heapAllocations();

// The heap allocations of one call of body, averaged over that many calls. Run it outside the
// timed loop: the framework itself allocates now and then while it times.
template <typename Body>
double allocationsPerCall(int calls, Body&& body) {
    const std::size_t before = heapAllocations();
    for (int i = 0; i < calls; ++i) {
        body();
    }
    return static_cast<double>(heapAllocations() - before) / calls;
}
