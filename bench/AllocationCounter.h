#pragma once

#include <cstddef>

// Counts calls of the global operator new in this process, so a benchmark can report how many
// heap allocations its steady state makes (expected: none).
std::size_t heapAllocations();
