// The main of the test executables that draw: a hidden window with a GL 4.3 core context is made
// current before the first test and kept for the whole run.
#include "engine/Logging.h"
#include "tests/support/GlTestContext.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Mesa's software driver leaks a few bytes when a context is made and is unloaded before
    // LeakSanitizer reports, which then shows them as an unknown module. Keeping the driver loaded
    // lets the report resolve, and the suppression of those frames apply.
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_NODELETE);
    testing::InitGoogleTest(&argc, argv);
    setupLogging();
    testing::AddGlobalTestEnvironment(new GlTestContext);
    return RUN_ALL_TESTS();
}
