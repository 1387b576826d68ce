#include "engine/physics/DynamicRigidBodyComponent.h"
#include "engine/physics/RigidBody.h"
#include "game/MatchRules.h"
#include "game/PooledSpawnpointComponent.h"
#include "game/SpawnPointPool.h"
#include "graphics/render/RenderContext.h"
#include "tests/game/PlayerRig.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScriptedRawInput.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

namespace {
// A frisbee in flight: a child of arena whose body moves at speed along x.
std::shared_ptr<GameObject> flying(GameObject& arena, float speed, const Uuid& creator = {}) {
    const std::shared_ptr<GameObject> frisbee = arena.addChild("Frisbee").lock();
    frisbee->position = glm::vec3(0.0f, 30.0f, 0.0f);
    frisbee->creatorId = creator;
    const auto body = frisbee->addComponent<DynamicRigidBodyComponent>(1.0f, glm::vec3(0.0f), true).lock();
    body->addShape(Geometry::box(glm::vec3(0.3f, 0.05f, 0.3f)), Pose());
    frisbee->update(); // starts the body
    body->actor->setLinearVelocity(glm::vec3(speed, 0.0f, 0.0f));
    return frisbee;
}

class FrisbeeHit : public testing::Test {
protected:
    void SetUp() override { rig.frame(); }

    bool stillFlying(const std::shared_ptr<GameObject>& frisbee) {
        for (const auto& child : arena.children) {
            if (child == frisbee) {
                return true;
            }
        }
        return false;
    }

    PlayerRig rig;
    GameObject arena{"Arena"};
};

TEST_F(FrisbeeHit, TheOtherPlayersFastFrisbeeCostsALifeAndIsDestroyed) {
    const auto frisbee = flying(arena, 10.0f); // exactly 10 counts
    onFrisbeeHit(rig.object.get(), frisbee.get());
    EXPECT_EQ(rig.player->lives, 4);
    EXPECT_FALSE(stillFlying(frisbee));
    EXPECT_EQ(frisbee->getComponent<DynamicRigidBodyComponent>()->lock()->actor, nullptr)
        << "its body leaves the world at once";
}

TEST_F(FrisbeeHit, OwnAndSlowFrisbeesFlyOn) {
    const struct {
        float speed;
        bool own;
    } cases[] = {{40.0f, true}, {9.99f, false}, {0.0f, false}};
    for (const auto& c : cases) {
        const auto frisbee = flying(arena, c.speed, c.own ? rig.object->id : Uuid{});
        LogCapture log;
        onFrisbeeHit(rig.object.get(), frisbee.get());
        EXPECT_EQ(rig.player->lives, 5) << c.speed;
        EXPECT_TRUE(stillFlying(frisbee)) << c.speed;
        EXPECT_EQ(log.countAtLeast(spdlog::level::info), 0u);
        if (c.own) {
            EXPECT_EQ(log.lines().size(), 1u) << "only the first debug line";
        }
    }
}

TEST_F(FrisbeeHit, AFrisbeeAlreadySpentOnTheOtherPlayerCountsNoMore) {
    PlayerRig other(1, {10.0f, 0.0f, 0.0f});
    other.frame();
    const auto frisbee = flying(arena, 30.0f);
    arena.children.forEach([&](auto&) {
        // Both hitboxes report it in the same fixed-update walk, while the arena is walked.
        onFrisbeeHit(other.object.get(), frisbee.get());
        onFrisbeeHit(rig.object.get(), frisbee.get());
    });
    EXPECT_EQ(other.player->lives, 4);
    EXPECT_EQ(rig.player->lives, 5);
}

TEST_F(FrisbeeHit, LivesFallBelowZeroAndObjectsWithoutBodyCountWithoutSpeed) {
    rig.player->lives = 1;
    onFrisbeeHit(rig.object.get(), flying(arena, 20.0f).get());
    onFrisbeeHit(rig.object.get(), arena.addChild("Rock").lock().get());
    EXPECT_EQ(rig.player->lives, -1);
    EXPECT_EQ(arena.children.size(), 0u);
}

TEST_F(FrisbeeHit, AnObjectThatIsNoPlayerLosesNothingAndKeepsTheFrisbee) {
    GameObject post("Post");
    const auto frisbee = flying(arena, 20.0f);
    onFrisbeeHit(&post, frisbee.get());
    EXPECT_TRUE(stillFlying(frisbee));
}

TEST(GameOver, PlayerOneIsTestedFirstAndTheResetRefillsAndRespawns) {
    PlayerRig one;
    PlayerRig two(1, {5.0f, 0.0f, 0.0f});
    auto pool = std::make_shared<SpawnPointPool>();
    const auto spawnOne = one.object->addComponent<PooledSpawnpointComponent>(pool, false).lock();
    const auto spawnTwo = two.object->addComponent<PooledSpawnpointComponent>(pool, false).lock();
    const PlayerRefs players = {one.player, two.player};
    const struct {
        int livesOne, livesTwo;
        std::optional<std::size_t> loser;
    } cases[] = {{5, 5, {}}, {1, 1, {}}, {0, 5, 0}, {5, 0, 1}, {3, -1, 1}, {0, 0, 0}, {-1, -2, 0}};
    for (const auto& c : cases) {
        one.player->lives = c.livesOne;
        two.player->lives = c.livesTwo;
        EXPECT_EQ(findLoser(players), c.loser) << c.livesOne << " " << c.livesTwo;
    }
    MatchState match;
    match.waitingForEnter = false;
    resetMatch(match, players);
    EXPECT_TRUE(match.waitingForEnter);
    EXPECT_EQ(one.player->lives, 5);
    EXPECT_EQ(two.player->lives, 5);
    EXPECT_TRUE(spawnOne->respawnPending);
    EXPECT_TRUE(spawnTwo->respawnPending);
}

// The match keys and the mouse assignment, with mice scripted on an input manager of the test's
// own; the Engine's keys and render state are the real ones.
class MatchKeys : public testing::Test {
protected:
    void SetUp() override {
        auto raw = std::make_unique<ScriptedRawInput>();
        scripted = raw.get();
        scripted->plug({11, DeviceType::Mouse, "mouse-a", "Left Hand", {}});
        scripted->plug({12, DeviceType::Mouse, "mouse-b", {}, {}});
        scripted->plug({13, DeviceType::Mouse, "mouse-c", "Spare", {}});
        input = std::make_unique<InputManager>(keys, nullptr, std::move(raw));
        input->update(); // every mouse's buttons start released
        subscription = input->mouseButtonCallbacks.subscribe(
            [this](std::uint64_t mouse, MouseButton button, bool released) {
                onMouseAssignButton(match, *input, mouse, button, released);
            });
        savedControls = gEngine->controls;
    }
    void TearDown() override { gEngine->controls = savedControls; }

    void press(int key, int action = GLFW_PRESS) { onMatchKey(match, *input, *gEngine, key, 0, action, 0); }

    void click(DeviceHandle device, std::uint16_t down = RawButtonFlags::leftDown,
               std::uint16_t up = RawButtonFlags::leftUp) {
        for (const std::uint16_t flags : {down, up}) {
            RawMouseReport report;
            report.device = device;
            report.buttonFlags = flags;
            scripted->queueReport(report);
            input->update();
        }
    }

    std::array<std::uint64_t, 2> mice() const { return {gEngine->controls[0].mouse, gEngine->controls[1].mouse}; }

    Window::KeyCallbacks keys;
    ScriptedRawInput* scripted = nullptr;
    std::unique_ptr<InputManager> input;
    std::shared_ptr<InputManager::ButtonCallbacks::Function> subscription;
    MatchState match;
    std::array<PlayerControls, 2> savedControls;
};

TEST_F(MatchKeys, EnterStartsAndDropsTheGatheredMovementOnPressOnly) {
    input->rawMouseHandler->mice[0]->addMovement(500, -20);
    input->rawMouseHandler->mice[3]->addMovement(7, 7);
    press(GLFW_KEY_ENTER, GLFW_REPEAT);
    press(GLFW_KEY_ENTER, GLFW_RELEASE);
    EXPECT_TRUE(match.waitingForEnter) << "repeats and releases do nothing";
    press(GLFW_KEY_ENTER);
    EXPECT_FALSE(match.waitingForEnter);
    for (const auto& mouse : input->rawMouseHandler->mice) {
        EXPECT_EQ(glm::ivec2(mouse->dx, mouse->dy), glm::ivec2(0));
    }
    press(GLFW_KEY_ENTER); // during play: nothing but the dropped movement
    EXPECT_FALSE(match.waitingForEnter);
}

TEST_F(MatchKeys, MThenMWithoutClicksChangesNoControl) {
    LogCapture log;
    press(GLFW_KEY_M);
    EXPECT_TRUE(match.configuringMice);
    press(GLFW_KEY_M, GLFW_REPEAT);
    EXPECT_TRUE(match.configuringMice) << "holding M acts once";
    press(GLFW_KEY_M);
    EXPECT_FALSE(match.configuringMice);
    EXPECT_EQ(log.messages(spdlog::level::info),
              (std::vector<std::string>{"Reconfiguring mice...", "Reconfigured mice"}));
    EXPECT_EQ(mice(), (std::array<std::uint64_t, 2>{0, 1}));
}

TEST_F(MatchKeys, TwoClicksGiveThePlayersTheirMiceInClickOrder) {
    LogCapture log;
    press(GLFW_KEY_M);
    click(13);
    click(13); // the same mouse again: taken once
    click(11, RawButtonFlags::rightDown, RawButtonFlags::rightUp); // not the left button
    click(12);
    press(GLFW_KEY_M);
    EXPECT_EQ(mice(), (std::array<std::uint64_t, 2>{2, 1}));
    EXPECT_EQ(log.messages(spdlog::level::info),
              (std::vector<std::string>{"Reconfiguring mice...", "Configured player 1's mouse as 'Spare'",
                                        "Configured player 2's mouse as 'mouse-b'", "Reconfigured mice"}))
        << "a mouse without a friendly name is shown by its device name";
    EXPECT_EQ(gEngine->controls[0].forwardKey, GLFW_KEY_W) << "only the mice change";
}

TEST_F(MatchKeys, OneClickChangesOnlyPlayerOneAndAThirdMouseIsTurnedAway) {
    press(GLFW_KEY_M);
    click(12);
    press(GLFW_KEY_M);
    EXPECT_EQ(mice(), (std::array<std::uint64_t, 2>{1, 1}));

    LogCapture log;
    press(GLFW_KEY_M);
    click(13);
    click(0 /* the handle-less record */);
    click(11);
    press(GLFW_KEY_M);
    EXPECT_EQ(mice(), (std::array<std::uint64_t, 2>{2, 3}));
    EXPECT_EQ(match.assignedMice.size(), 2u);
    EXPECT_EQ(log.count("Both players have a mouse; not taking 'Left Hand' (M finishes)"), 1u);
}

TEST_F(MatchKeys, ClicksOutsideTheAssignmentAndPressesAssignNothing) {
    click(11);
    EXPECT_TRUE(match.assignedMice.empty());
    press(GLFW_KEY_M);
    RawMouseReport report;
    report.device = 11;
    report.buttonFlags = RawButtonFlags::leftDown;
    scripted->queueReport(report);
    input->update();
    EXPECT_TRUE(match.assignedMice.empty()) << "taken when the button goes up, not down";
}

TEST_F(MatchKeys, ExitWireframeAndCullingKeys) {
    RenderContext& renderContext = *gEngine->renderContext;
    press(gEngine->wireframeKey);
    EXPECT_TRUE(renderContext.isWireframe());
    GLint modes[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_LINE);
    press(gEngine->wireframeKey);
    EXPECT_FALSE(renderContext.isWireframe());
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);

    glEnable(GL_CULL_FACE);
    press(gEngine->cullFaceKey);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    press(gEngine->cullFaceKey);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));

    EXPECT_FALSE(gEngine->window->shouldClose());
    press(gEngine->exitKey, GLFW_RELEASE);
    EXPECT_FALSE(gEngine->window->shouldClose());
    press(gEngine->exitKey);
    EXPECT_TRUE(gEngine->window->shouldClose());
    glfwSetWindowShouldClose(gEngine->window->getHandle(), GLFW_FALSE);
}
} // namespace
