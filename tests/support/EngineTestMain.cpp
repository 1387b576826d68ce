// The main of the test executables that need the Engine: one Engine, with a small window under the
// test run's X display, lives in gEngine for the whole run, as it does in the game. Each test leaves
// its scene as it found it.
#include "engine/Engine.h"
#include "engine/Logging.h"

#include "tests/support/SceneRestorer.h"

#include <gtest/gtest.h>

namespace {
class EngineEnvironment : public testing::Environment {
public:
    void SetUp() override {
        Config config;
        config.width = 640;
        config.height = 360;
        config.shadowMapWidth = 512;
        config.shadowMapHeight = 512;
        gEngine = std::make_unique<Engine>(config);
    }
    void TearDown() override { gEngine.reset(); }
};
} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    setupLogging();
    testing::AddGlobalTestEnvironment(new EngineEnvironment);
    testing::UnitTest::GetInstance()->listeners().Append(new SceneRestorer);
    return RUN_ALL_TESTS();
}
