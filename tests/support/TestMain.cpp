#include "engine/Logging.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    setupLogging();
    return RUN_ALL_TESTS();
}
