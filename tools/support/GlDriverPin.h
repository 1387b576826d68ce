#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The OpenGL driver modules loaded in this process now: Mesa's DRI drivers ("*_dri.so", whichever
// one serves the contexts, wherever the system keeps them). Empty before the first context is
// made, and with a GPU vendor's driver of another kind.
std::vector<std::string> loadedGlDrivers();

// Keeps the loaded DRI drivers in memory to the end of the process. A driver keeps a few
// allocations for its own life, reachable only from its globals; unloaded at glfwTerminate, they
// would show in LeakSanitizer's report as leaks of an unknown module. Returns how many it pinned.
std::size_t pinLoadedGlDrivers();
