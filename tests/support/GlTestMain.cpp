// The main of the test executables that draw: a hidden window with a GL 4.3 core context is made
// current before the first test and kept for the whole run.
#include "engine/Logging.h"
#include "tests/support/GlTestContext.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    setupLogging();
    testing::AddGlobalTestEnvironment(new GlTestContext);
    return RUN_ALL_TESTS();
}
