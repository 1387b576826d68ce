#include "tests/support/ChildTest.h"

#include <fcntl.h>
#include <unistd.h>

ChildResult runTestInChild(const std::string& fullTestName) {
    // Everything the child needs is prepared before the fork: between fork and exec only
    // async-signal-safe calls are made, since the parent may have driver threads running.
    const std::string executable = "/proc/self/exe";
    const std::string filter = "--gtest_filter=" + fullTestName;
    const std::string disabled = "--gtest_also_run_disabled_tests";
    char* const arguments[] = {const_cast<char*>(executable.c_str()),
                               const_cast<char*>(filter.c_str()),
                               const_cast<char*>(disabled.c_str()), nullptr};
    return runInChild([&] {
        // The child's own test report would only be noise in the parent's output.
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        execv(arguments[0], arguments);
        _exit(127);
    });
}
