#pragma once

#include <functional>
#include <string>
#include <vector>

struct ChildResult {
    int exitStatus = -1; // -1 when the child did not exit normally (a signal, a crash) or never ran
    std::string standardError;
};

// Runs body in a forked child and collects its exit status and everything it wrote to standard
// error. For the fatal paths, which end the process. Fork before any GL context or X connection
// exists in this process: the child must not share them.
ChildResult runInChild(const std::function<void()>& body);

// The lines of a child's output, without their line ends; a last line without one is dropped.
std::vector<std::string> splitLines(const std::string& text);
