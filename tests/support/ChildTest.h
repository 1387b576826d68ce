#pragma once

#include "tests/support/ChildProcess.h"

#include <string>

// Runs one test of this executable in a fresh process (the executable started again, so it makes
// its own GL context), and returns its exit status and standard error. For the fatal paths and
// for what must be seen from the start of a process: name a DISABLED_ test, which runs only here.
ChildResult runTestInChild(const std::string& fullTestName);
