#include "engine/physics/DynamicRigidBodyComponent.h"
#include "engine/physics/RigidBody.h"
#include "engine/scene/TimeToLiveComponent.h"
#include "graphics/model/Model.h"
#include "tests/engine/platform/XTestDriver.h"
#include "tests/game/PlayerRig.h"
#include "tests/support/LogCapture.h"

#include <GLFW/glfw3.h>
#include <X11/keysym.h>
#include <chrono>
#include <cmath>
#include <glm/geometric.hpp>
#include <gtest/gtest.h>
#include <thread>

namespace {
using namespace std::chrono_literals;

// Keys reach the player through GLFW's key state, so they are pressed for real on the test's
// display, where the Engine's window has the focus.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<std::pair<unsigned long, int>> keys) : keys(keys) {
        for (const auto& [keysym, glfwKey] : this->keys) {
            x.pressKey(keysym, true);
        }
        pumpUntil(true);
    }
    ~HeldKeys() {
        for (const auto& [keysym, glfwKey] : keys) {
            x.pressKey(keysym, false);
        }
        pumpUntil(false);
    }

private:
    void pumpUntil(bool pressed) {
        InputManager& input = *gEngine->window->inputManager;
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (std::chrono::steady_clock::now() < deadline) {
            input.update();
            bool all = true;
            for (const auto& [keysym, glfwKey] : keys) {
                all = all && input.isKeyPressed(glfwKey) == pressed;
            }
            if (all) {
                return;
            }
            std::this_thread::sleep_for(1ms);
        }
        ADD_FAILURE() << "the keys did not reach the window";
    }

    XTestDriver x;
    std::vector<std::pair<unsigned long, int>> keys;
};

TEST(PlayerThrow, FirstThrowAtOnceThenEveryHundredAndTwentySteps) {
    PlayerRig rig;
    ASSERT_TRUE(rig.land());
    rig.holdThrow(true);
    std::vector<int> throwSteps;
    for (int step = 1; step <= 250; ++step) {
        const std::size_t before = frisbees().size();
        rig.step();
        if (frisbees().size() > before) {
            throwSteps.push_back(step);
        }
    }
    EXPECT_EQ(throwSteps, (std::vector<int>{1, 121, 241}));
    rig.holdThrow(false);
}

TEST(PlayerThrow, NoThrowWithoutTheButtonOrWithAMouseThatIsNotThere) {
    PlayerRig rig;
    ASSERT_TRUE(rig.land());
    rig.holdThrow(false);
    for (int i = 0; i < 5; ++i) {
        rig.step();
    }
    EXPECT_TRUE(frisbees().empty());
    // An index past every button entry and every mouse counts as released; nothing is read
    // outside the table.
    const std::uint64_t ownMouse = rig.player->controls->mouse;
    rig.player->controls->mouse = 40;
    rig.step();
    EXPECT_TRUE(frisbees().empty());
    rig.player->controls->mouse = ownMouse;
}

TEST(PlayerThrow, FrisbeeLeavesOneMetreAheadOfTheEyeAtFortyWithItsThrowerAsCreator) {
    gEngine->frisbeeModel = std::make_unique<Model>("assets/models/frisbee_rescaled.dae");
    PlayerRig rig;
    ASSERT_TRUE(rig.land());
    rig.camera->camera.yaw = 30.0f;
    rig.camera->camera.pitch = -20.0f; // looking up
    rig.camera->camera.orientationValid = false;
    rig.holdThrow(true);
    rig.step();
    rig.holdThrow(false);
    ASSERT_EQ(frisbees().size(), 1u);
    const std::shared_ptr<GameObject> frisbee = frisbees()[0];
    Camera& view = rig.camera->camera;
    view.updateVectors();
    const glm::vec3 direction = glm::normalize(-view.front);
    EXPECT_LT(glm::distance(frisbee->position, view.position + direction), 1e-4f);
    EXPECT_EQ(frisbee->creatorId, rig.object->id);
    EXPECT_EQ(frisbee->parent, std::make_optional(gEngine->root.get()));
    EXPECT_EQ(frisbee->rotation, glm::quat(1.0f, 0.0f, 0.0f, 0.0f));

    rig.frame(); // starts the body
    const auto body = frisbee->getComponent<DynamicRigidBodyComponent>();
    ASSERT_TRUE(body);
    RigidBody* actor = body->lock()->actor;
    ASSERT_NE(actor, nullptr);
    EXPECT_LT(glm::distance(actor->getLinearVelocity(), direction * 40.0f), 1e-3f);
    EXPECT_TRUE(actor->isCcdEnabled());
    EXPECT_EQ(actor->getNbShapes(), 2u);
    ASSERT_TRUE(frisbee->getComponent<TimeToLiveComponent>());
    EXPECT_FLOAT_EQ(frisbee->getComponent<TimeToLiveComponent>()->lock()->secondsLeft, 15.0f);
    EXPECT_TRUE(frisbee->getComponent<ModelComponent>()) << "drawn with the Engine's frisbee model";

    for (int i = 0; i < 15 * 60 + 2; ++i) {
        rig.step();
    }
    EXPECT_TRUE(frisbees().empty()) << "gone after 15 s";
}

TEST(PlayerLook, MouseMovementTurnsTheCameraWithPitchClampedAndYawWrapped) {
    struct Case {
        glm::ivec2 movement;
        float startPitch, startYaw;
        float pitch, yaw;
    };
    const Case cases[] = {
        {{0, 100}, 0.0f, 0.0f, 7.5f, 0.0f},
        {{10, 0}, 0.0f, 0.0f, 0.0f, -1.0f},         // moving right turns right
        {{0, 5000}, 0.0f, 0.0f, 89.999f, 0.0f},     // straight down stops short
        {{0, -5000}, 10.0f, 0.0f, -89.999f, 0.0f},  // and straight up
        {{-3700, 0}, 0.0f, 0.0f, 0.0f, 10.0f},      // 370 degrees wrap to 10
        {{3700, 0}, 0.0f, 0.0f, 0.0f, -10.0f},      // the sign of the yaw stays
        {{-100, 0}, 0.0f, 355.0f, 0.0f, 5.0f},
    };
    PlayerRig rig;
    rig.frame();
    for (const Case& c : cases) {
        Camera& view = rig.camera->camera;
        view.pitch = c.startPitch;
        view.yaw = c.startYaw;
        rig.mouse().dx = c.movement.x;
        rig.mouse().dy = c.movement.y;
        rig.frame();
        EXPECT_NEAR(view.pitch, c.pitch, 1e-3f) << c.movement.x << "," << c.movement.y;
        EXPECT_NEAR(view.yaw, c.yaw, 1e-3f) << c.movement.x << "," << c.movement.y;
        EXPECT_EQ(rig.mouse().dx, 0) << "the movement is consumed";
        EXPECT_EQ(rig.mouse().dy, 0);
        EXPECT_FALSE(view.viewProjectionValid) << "a turned camera rebuilds its matrices";
    }
}

TEST(PlayerLook, AMouseThatIsNotThereTurnsNothingAndWarnsOnce) {
    PlayerRig rig;
    rig.frame();
    LogCapture log;
    const std::uint64_t ownMouse = rig.player->controls->mouse;
    rig.player->controls->mouse = 7;
    rig.frame();
    rig.frame();
    EXPECT_EQ(rig.camera->camera.yaw, 0.0f);
    EXPECT_EQ(log.messages(spdlog::level::warn).size(), 1u);
    rig.player->controls->mouse = ownMouse;
}

TEST(PlayerMovement, GroundAccelerationAndDampingAlongTheView) {
    PlayerRig rig;
    ASSERT_TRUE(rig.land());
    rig.camera->camera.yaw = 270.0f; // looking along +x
    rig.camera->camera.orientationValid = false;
    {
        HeldKeys forward({{XK_w, GLFW_KEY_W}});
        rig.step();
        // 3 m/s added, then 0.8 kept.
        EXPECT_NEAR(rig.player->velocity.x, 2.4f, 1e-4f);
        EXPECT_NEAR(rig.player->velocity.z, 0.0f, 1e-4f);
        rig.step();
        EXPECT_NEAR(rig.player->velocity.x, (2.4f + 3.0f) * 0.8f, 1e-4f);
    }
    const float speed = rig.player->velocity.x;
    rig.step();
    EXPECT_NEAR(rig.player->velocity.x, speed * 0.8f, 1e-4f) << "released: only damping";
    EXPECT_FALSE(rig.player->airborne);
}

TEST(PlayerMovement, DiagonalsAreNoFasterAndOppositeKeysCancel) {
    PlayerRig rig;
    ASSERT_TRUE(rig.land());
    {
        HeldKeys diagonal({{XK_w, GLFW_KEY_W}, {XK_d, GLFW_KEY_D}});
        rig.step();
        EXPECT_NEAR(glm::length(rig.horizontalVelocity()), 2.4f, 1e-4f);
    }
    for (int i = 0; i < 120; ++i) {
        rig.step();
    }
    {
        HeldKeys opposite({{XK_w, GLFW_KEY_W}, {XK_s, GLFW_KEY_S}, {XK_a, GLFW_KEY_A}, {XK_d, GLFW_KEY_D}});
        const glm::vec3 before = rig.horizontalVelocity();
        rig.step();
        EXPECT_LT(glm::length(rig.horizontalVelocity()), glm::length(before) + 1e-6f);
    }
}

TEST(PlayerMovement, JumpOnlyAfterLandingAtSevenMetresPerSecondAndAirControlIsWeak) {
    PlayerRig rig(0, {0.0f, 3.0f, 0.0f}); // starts in the air
    rig.frame();
    HeldKeys jump({{XK_space, GLFW_KEY_SPACE}});
    rig.step();
    EXPECT_LT(rig.player->velocity.y, 0.0f) << "no jump before the first landing";
    int steps = 0;
    while (rig.player->airborne && steps++ < 300) {
        rig.step();
    }
    ASSERT_FALSE(rig.player->airborne);
    rig.step(); // the jump: 7 m/s, then this step's doubled gravity
    EXPECT_TRUE(rig.player->airborne);
    EXPECT_NEAR(rig.player->velocity.y, 7.0f - 2.0f * 9.81f / 60.0f, 1e-3f);
    const float height = rig.object->position.y;
    rig.step();
    EXPECT_GT(rig.object->position.y, height) << "on the way up";
}

// Nothing in the arena carries a standing player upwards, and the controller's own moves never
// report ground below while rising; the capsule is lifted by hand, as anything carrying it up
// would lift it.
TEST(PlayerMovement, NoTakeOffWhileTheCapsuleIsStillMovingUp) {
    PlayerRig rig;
    ASSERT_TRUE(rig.land());
    rig.player->controller->move({0.0f, 0.05f, 0.0f}, 0.001f, gEngine->fixedDeltaTime);
    ASSERT_TRUE(rig.player->controller->getState().isMovingUp);
    ASSERT_FALSE(rig.player->airborne);
    HeldKeys jump({{XK_space, GLFW_KEY_SPACE}});
    rig.step();
    EXPECT_LT(rig.player->velocity.y, 0.0f) << "a rising capsule gets no second push";
    EXPECT_FALSE(rig.player->controller->getState().isMovingUp);
    rig.step();
    EXPECT_NEAR(rig.player->velocity.y, 7.0f - 2.0f * 9.81f / 60.0f, 1e-3f) << "once it sinks, it jumps";
}

// The step that lands still counts as in the air: a running jump does not lose a fifth of its
// speed the moment the feet touch, only from the next step on.
TEST(PlayerMovement, ARunningJumpKeepsItsAirSpeedThroughTheLandingStep) {
    PlayerRig rig(0, {0.0f, 1.5f, 0.0f});
    rig.frame();
    rig.player->velocity.x = 6.0f;
    int steps = 0;
    while (rig.player->airborne && steps++ < 300) {
        const float before = rig.player->velocity.x;
        rig.step();
        EXPECT_NEAR(rig.player->velocity.x, before * 0.99f, 1e-4f)
            << "step " << steps << (rig.player->airborne ? " in the air" : ", the landing");
    }
    ASSERT_FALSE(rig.player->airborne);
    const float landed = rig.player->velocity.x;
    rig.step();
    EXPECT_NEAR(rig.player->velocity.x, landed * 0.8f, 1e-4f) << "on the ground from then on";
}

TEST(PlayerMovement, AirAccelerationIsAQuarterAndKeepsNinetyNinePercent) {
    PlayerRig rig(0, {0.0f, 20.0f, 0.0f});
    rig.frame();
    rig.camera->camera.yaw = 270.0f;
    rig.camera->camera.orientationValid = false;
    HeldKeys forward({{XK_w, GLFW_KEY_W}});
    rig.step();
    EXPECT_TRUE(rig.player->airborne);
    EXPECT_NEAR(rig.player->velocity.x, 0.25f * 0.99f, 1e-5f);
}

TEST(PlayerPlacement, ModelSitsBelowTheCapsuleCentreTurnedToTheHeading) {
    PlayerRig rig(0, {3.0f, 0.0f, -2.0f});
    ASSERT_TRUE(rig.land());
    rig.camera->camera.yaw = 270.0f;
    rig.camera->camera.orientationValid = false;
    rig.step();
    const glm::dvec3 centre = rig.player->controller->getPosition();
    EXPECT_LT(glm::distance(rig.object->position, glm::vec3(centre) - glm::vec3(0.0f, 0.45f, 0.0f)), 1e-5f);
    // Yaw 270 plus the model's quarter turn: a full turn, the nose along the view (+x).
    EXPECT_LT(glm::distance(rig.object->rotation * glm::vec3(1.0f, 0.0f, 0.0f), glm::vec3(1.0f, 0.0f, 0.0f)),
              1e-4f);
}

// The other player sees the dog turn with its player's view. The dog starts unturned, which is
// where yaw 270 already points it: the yaws here each need a turn.
TEST(PlayerPlacement, TheDogFacesWhereItsPlayerLooksAfterEveryStep) {
    PlayerRig rig;
    ASSERT_TRUE(rig.land());
    for (const float yaw : {0.0f, 90.0f, 180.0f, 30.0f, -135.0f}) {
        rig.camera->camera.yaw = yaw;
        rig.camera->camera.orientationValid = false;
        rig.step();
        EXPECT_LT(glm::distance(rig.facing(), rig.lookHeading()), 1e-4f) << "yaw " << yaw;
    }
    rig.mouse().dx = -600; // 60 degrees to the left
    rig.frame();
    rig.step();
    EXPECT_NEAR(rig.camera->camera.yaw, -75.0f, 1e-3f);
    EXPECT_LT(glm::distance(rig.facing(), rig.lookHeading()), 1e-4f) << "turned by the mouse";
}

TEST(PlayerStart, WithoutModelOrCameraItSwitchesItselfOffAndDoesNothing) {
    const std::shared_ptr<GameObject> lone = gEngine->root->addChild("Lone").lock();
    const auto player =
        lone->addComponent<PlayerComponent>(std::uint64_t{1}, 0.39f, 1.18f, glm::vec3(0.0f)).lock();
    LogCapture log;
    updateRoot(gEngine->root);
    fixedUpdateRoot(gEngine->root);
    EXPECT_EQ(log.count("Could not find model component of player 1."), 1u);
    EXPECT_EQ(log.count("Could not find camera component of player 1."), 1u);
    EXPECT_FALSE(player->isActive());
    EXPECT_EQ(player->stepsSinceThrow, 120) << "nothing counted";
    gEngine->root->destroyChild(lone.get());
}
} // namespace
