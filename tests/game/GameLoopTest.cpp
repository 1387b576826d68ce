#include "engine/Config.h"
#include "engine/Engine.h"
#include "game/GameLoop.h"
#include "game/PlayerComponent.h"
#include "game/PooledSpawnpointComponent.h"
#include "game/SpawnPointPool.h"
#include "graphics/render/CameraComponent.h"
#include "graphics/ui/UiImage.h"
#include "tests/game/PlayerRig.h"
#include "tests/support/LogCapture.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

// The real loop over the real scene on the test run's Engine, paced by a clock the test sets:
// nothing sleeps. Each test builds the scene once; what it leaves under the root goes when it ends.
namespace {
struct PassCounter : Component {
    explicit PassCounter(GameObject* owner) : Component(owner, "PassCounter") {}
    void onUpdate() override { ++frames; }
    void onFixedUpdate() override { ++steps; }
    int frames = 0;
    int steps = 0;
};

// Presses the left button of one mouse in its record during the first fixed step that it sees,
// as the raw-mouse handler records a press that arrives between two steps of one pass.
struct ButtonPressAtFirstStep : Component {
    ButtonPressAtFirstStep(GameObject* owner, MouseData* mouse)
        : Component(owner, "ButtonPressAtFirstStep"), mouse(mouse) {}
    void onFixedUpdate() override {
        if (!pressed) {
            mouse->buttons[indexOf(MouseButton::Left)] = true;
            pressed = true;
        }
    }
    MouseData* mouse;
    bool pressed = false;
};

struct PassRecord {
    bool rendered;
    int steps;
};

class GameLoopTest : public testing::Test {
protected:
    void SetUp() override {
        counter = gEngine->root->addComponent<PassCounter>().lock();
        loop = std::make_unique<GameLoop>(*gEngine, config, [this] { return now; });
    }
    void TearDown() override { glfwSetWindowShouldClose(gEngine->window->getHandle(), GLFW_FALSE); }

    PassRecord pass(double time) {
        now = time;
        const int frames = counter->frames;
        const int steps = counter->steps;
        loop->pass();
        return {counter->frames > frames, counter->steps - steps};
    }
    std::vector<PassRecord> passes(int count, double every) {
        std::vector<PassRecord> records;
        for (int i = 0; i < count; ++i) {
            records.push_back(pass(now + every));
        }
        return records;
    }
    void start() {
        gEngine->window->keyCallbacks.invoke(GLFW_KEY_ENTER, 0, GLFW_PRESS, 0);
        ASSERT_FALSE(loop->match.waitingForEnter);
    }
    PlayerComponent& player(std::size_t i) { return *loop->scene.playerComponents[i].lock(); }

    Config config;
    double now = 0.0;
    std::shared_ptr<PassCounter> counter;
    std::unique_ptr<GameLoop> loop;
};

int renderedCount(const std::vector<PassRecord>& records) {
    int count = 0;
    for (const PassRecord& record : records) {
        count += record.rendered ? 1 : 0;
    }
    return count;
}

TEST_F(GameLoopTest, TheDefaultRateNeverHoldsAFrameBack) {
    start();
    const auto records = passes(20, 0.004);
    EXPECT_EQ(renderedCount(records), 20);
}

TEST_F(GameLoopTest, RateZeroDrawsNothingAfterEnterWhileTheKeysStillWork) {
    config.refreshRate = 0;
    start();
    EXPECT_EQ(renderedCount(passes(20, 0.1)), 0);
    EXPECT_EQ(counter->steps, 0);
    gEngine->window->keyCallbacks.invoke(gEngine->exitKey, 0, GLFW_PRESS, 0);
    EXPECT_TRUE(gEngine->window->shouldClose());
}

TEST_F(GameLoopTest, RateThirtyRendersThirtyTimesASecondWithTwoStepsEach) {
    config.refreshRate = 30;
    start();
    const auto records = passes(240, 1.0 / 240.0);
    EXPECT_NEAR(renderedCount(records), 30, 1);
    for (const PassRecord& record : records) {
        if (record.rendered) {
            EXPECT_GE(record.steps, 1);
            EXPECT_LE(record.steps, 3);
        } else {
            EXPECT_EQ(record.steps, 0) << "no step without a frame";
        }
    }
    EXPECT_NEAR(counter->steps, 60, 1);
}

TEST_F(GameLoopTest, Rate144RendersAlsoPassesThatRunNoStep) {
    config.refreshRate = 144;
    start();
    const auto records = passes(288, 1.0 / 288.0);
    int renderedWithoutStep = 0;
    for (const PassRecord& record : records) {
        renderedWithoutStep += record.rendered && record.steps == 0 ? 1 : 0;
    }
    EXPECT_GT(renderedCount(records), 144) << "the accumulator stays above 1/144 s between steps";
    EXPECT_GT(renderedWithoutStep, 0);
    EXPECT_NEAR(counter->steps, 60, 1);
}

TEST_F(GameLoopTest, TheFirstPassAfterAWaitCatchesUpOnItWithoutAWarning) {
    EXPECT_FALSE(pass(10.0).rendered) << "waiting: nothing drawn";
    LogCapture log;
    start();
    const PassRecord first = pass(10.001);
    EXPECT_TRUE(first.rendered);
    EXPECT_NEAR(first.steps, 600, 1) << "one step for every 1/60 s of the wait";
    EXPECT_EQ(log.messages(spdlog::level::warn).size(), 0u) << "its own frame took 1 ms";
    EXPECT_FALSE(loop->scene.players[0].lock()->getComponent<PooledSpawnpointComponent>()->lock()->respawnPending);
}

// The respawns of a new match come before its catch-up steps, so the players spend the wait's
// steps landing on their bases, and the first frame shows them standing there.
TEST_F(GameLoopTest, EveryMatchCatchesUpFromTheSpawnPoints) {
    for (int match = 0; match < 2; ++match) {
        SCOPED_TRACE(testing::Message() << "match " << match + 1);
        EXPECT_FALSE(pass(now + 1.0).rendered) << "a second of waiting for ENTER";
        start();
        EXPECT_NEAR(pass(now + 0.001).steps, 60, 1);
        for (std::size_t i = 0; i < 2; ++i) {
            const glm::dvec3 foot = player(i).controller->getFootPosition();
            EXPECT_FALSE(player(i).airborne) << "player " << i + 1;
            EXPECT_NEAR(foot.x, i == 0 ? -35.0 : 45.0, 0.01) << "player " << i + 1;
            EXPECT_NEAR(foot.y, 2.0, 0.15) << "player " << i + 1 << " on top of the 2 m base";
        }
        player(1).lives = 0;
        pass(now + 0.001);
        ASSERT_TRUE(loop->match.waitingForEnter);
    }
}

// A press that the input pump of a later step of the same pass reads is acted on in that step.
TEST_F(GameLoopTest, AButtonPressedBetweenTwoStepsOfAPassThrowsWithinThatPass) {
    start();
    pass(0.02);
    MouseData& mouse = *loop->scene.inputManager->rawMouseHandler->mice.at(gEngine->controls[0].mouse);
    gEngine->root->addComponent<ButtonPressAtFirstStep>(&mouse);
    EXPECT_EQ(pass(0.07).steps, 3);
    const std::vector<std::shared_ptr<GameObject>> thrown = frisbees();
    ASSERT_EQ(thrown.size(), 1u) << "thrown in the pass's second step, not a pass later";
    EXPECT_EQ(thrown[0]->creatorId, loop->scene.players[0].lock()->id);
    mouse.buttons[indexOf(MouseButton::Left)] = false;
}

TEST_F(GameLoopTest, ASlowPassWarnsOnceAfterItsFirstStepAndAWaitingPassNever) {
    LogCapture log;
    pass(5.0); // waiting, however long
    EXPECT_TRUE(log.messages(spdlog::level::warn).empty());
    start();
    const PassRecord slow = pass(5.051); // its own frame: 51 ms
    EXPECT_EQ(slow.steps, 303);
    const auto warnings = log.messages(spdlog::level::warn);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind("Running slower than 60FPS! FrameTime: 51.0", 0), 0u) << warnings[0];
    log.clear();
    EXPECT_EQ(pass(5.052).steps, 0);
    EXPECT_TRUE(log.messages(spdlog::level::warn).empty()) << "no step, no warning";
}

TEST_F(GameLoopTest, HeartsShowTheLivesLeftAndAGameOverResetsTheMatch) {
    start();
    pass(0.02);
    player(0).lives = 3;
    pass(0.04);
    std::vector<float> alphas;
    for (UiImage* heart : loop->scene.heartImages[0]) {
        alphas.push_back(heart->getColor().a);
    }
    EXPECT_EQ(alphas, (std::vector<float>{1, 1, 1, 0, 0})) << "the leftmost lost first";
    EXPECT_FALSE(loop->match.waitingForEnter);

    player(0).lives = -1; // hit twice at one life within a pass
    player(1).lives = 0;
    pass(0.06);
    for (UiImage* heart : loop->scene.heartImages[0]) {
        EXPECT_EQ(heart->getColor().a, 0.0f) << "no heart is opaque";
    }
    EXPECT_TRUE(loop->match.waitingForEnter);
    EXPECT_EQ(player(0).lives, 5);
    EXPECT_EQ(player(1).lives, 5);
    EXPECT_EQ(loop->scene.loseCanvas.getRect(), loop->scene.views[0]->getViewport())
        << "player 1 is tested first: both at 0, player 1 loses";
    EXPECT_EQ(loop->scene.winCanvas.getRect(), loop->scene.views[1]->getViewport());
    for (const auto& object : loop->scene.players) {
        EXPECT_TRUE(object.lock()->getComponent<PooledSpawnpointComponent>()->lock()->respawnPending);
    }
    EXPECT_FALSE(pass(0.5).rendered) << "the result stays on screen until ENTER";
}

TEST_F(GameLoopTest, TheNextMatchShowsEveryHeartAgain) {
    start();
    pass(0.02);
    player(0).lives = 2;
    player(1).lives = 0;
    pass(0.04);
    ASSERT_TRUE(loop->match.waitingForEnter) << "player 2 has lost";
    ASSERT_EQ(loop->scene.heartImages[1][0]->getColor().a, 0.0f);
    start();
    ASSERT_TRUE(pass(0.06).rendered);
    for (std::size_t i = 0; i < 2; ++i) {
        for (std::size_t k = 0; k < GameScene::heartsPerPlayer; ++k) {
            const glm::vec4 color = loop->scene.heartImages[i][k]->getColor();
            EXPECT_EQ(color, glm::vec4(1.0f)) << "player " << i + 1 << ", heart " << k + 1
                                              << " from the right: alpha " << color.a;
        }
    }
}

TEST_F(GameLoopTest, TheExitKeyDuringTheWaitEndsTheLoopWithNothingDrawn) {
    gEngine->window->keyCallbacks.invoke(gEngine->exitKey, 0, GLFW_PRESS, 0);
    loop->run();
    EXPECT_EQ(counter->frames, 0);
}

TEST_F(GameLoopTest, TheSceneIsBuiltAsThePlayersExpectIt) {
    const GameScene& scene = loop->scene;
    std::vector<std::string> names;
    for (const auto& child : gEngine->root->children) {
        names.push_back(child->name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Player 1", "Player 2", "Map"}));
    std::vector<std::string> components;
    for (const auto& component : scene.players[0].lock()->components) {
        components.push_back(component->getName());
    }
    EXPECT_EQ(components, (std::vector<std::string>{"ModelComponent", "PlayerComponent", "CameraComponent",
                                                    "TriggerColliderComponent", "PooledSpawnpointComponent"}));

    // A 640 × 360 window: player 1 below, player 2 above, hearts along each bottom right.
    EXPECT_EQ(scene.playerHudCanvases[0].getRect(), glm::uvec4(0, 0, 640, 180));
    EXPECT_EQ(scene.playerHudCanvases[1].getRect(), glm::uvec4(0, 180, 640, 180));
    for (std::size_t k = 0; k < GameScene::heartsPerPlayer; ++k) {
        EXPECT_EQ(scene.heartImages[1][k]->getPosition(), glm::ivec2(590 - 50 * static_cast<int>(k), 10));
        EXPECT_EQ(scene.heartImages[1][k]->getSize(), glm::ivec2(40, 40));
    }
    EXPECT_EQ(scene.startCanvas.getRect(), glm::uvec4(0, 0, 640, 360));

    const Model& one = *scene.playerOneModel;
    const Model& two = *scene.playerTwoModel;
    EXPECT_EQ(two.materials[2].albedo, glm::vec3(0.8f, 0.144529f, 0.021182f));
    EXPECT_EQ(one.materials[2].albedo, glm::vec3(0.021182f, 0.144529f, 0.8f));
    EXPECT_EQ(one.meshes, two.meshes) << "the copy shares the GPU meshes";
    ASSERT_TRUE(gEngine->frisbeeModel);
    EXPECT_EQ(gEngine->frisbeeModel->materials[1].metalness, 1.0f);
    EXPECT_EQ(scene.spawnPool->size(), 2u);
    EXPECT_EQ(scene.shadowLightDirection, glm::vec3(1.0f, -2.0f, 1.0f));
    EXPECT_EQ(gEngine->fixedDeltaTime, 0.016666668f);
}

TEST_F(GameLoopTest, AfterEnterThePlayersStandOnTheirBasesFacingEachOther) {
    start();
    for (int i = 1; i <= 60; ++i) {
        pass(i / 60.0);
    }
    PlayerComponent& west = player(0);
    PlayerComponent& east = player(1);
    EXPECT_FALSE(west.airborne);
    EXPECT_FALSE(east.airborne);
    EXPECT_NEAR(west.controller->getFootPosition().x, -35.0, 0.01);
    EXPECT_NEAR(east.controller->getFootPosition().x, 45.0, 0.01);
    EXPECT_NEAR(west.controller->getFootPosition().y, 2.0, 0.15) << "on top of the 2 m base";
    EXPECT_NEAR(loop->scene.cameraComponents[0].lock()->camera.yaw, 270.0f, 1e-3f);
    EXPECT_NEAR(loop->scene.cameraComponents[1].lock()->camera.yaw, 90.0f, 1e-3f);
}
} // namespace
