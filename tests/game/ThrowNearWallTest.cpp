#include "engine/physics/DynamicRigidBodyComponent.h"
#include "engine/physics/HitboxComponent.h"
#include "engine/physics/RigidBody.h"
#include "graphics/model/Model.h"
#include "tests/game/PlayerRig.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

// The game's throw made on the real arena by a player who stands facing a wall closer than where a
// disc starts in the open (one metre ahead of the eye, 2.3 m ahead of the capsule's centre). The
// disc must start on the thrower's side of the wall, bounce off it with the level's restitution and
// stay in the field. Faults caught: a disc started inside the wall, which flies on through its far
// face, or beyond it, out of the arena or behind the cover; a disc shot back out of its thrower's
// capsule faster than the wall returns it (thrown upwards from a cover wall, out over the arena's
// far wall).
namespace {
constexpr float throwSpeed = 40.0f;
// The level's restitution: a disc meeting a wall head on comes back at 0.3 of its speed into it.
constexpr float wallRestitution = 0.3f;
constexpr int flightSteps = 120; // two seconds

// A wall of the arena and where the thrower stands before it, facing +x: the wall's face towards
// the thrower is at x = face.
struct Wall {
    const char* name;
    float face;
    float z; // the thrower's and the throw's line
};

// The east outer wall (1 m thick) at z = -22, clear of the east base and the crates near it; the
// cover wall across the line z = -20 (CoverWallC, 0.8 m thick, turned a quarter round at (-24, -20)),
// at its middle.
const Wall walls[] = {{"outer wall", 54.0f, -22.0f}, {"cover wall", -24.4f, -20.0f}};

// The arena's floor is at y = 0; its field lies within |x| < 54, |z| < 39 and |x| + |z| < 80.
bool inField(const glm::vec3& p) {
    return p.y > 0.0f && std::abs(p.x) < 54.0f && std::abs(p.z) < 39.0f && std::abs(p.x) + std::abs(p.z) < 80.0f;
}

RigidBody* bodyOf(GameObject& frisbee) {
    const auto component = frisbee.getComponent<DynamicRigidBodyComponent>();
    return component ? component->lock()->actor : nullptr;
}

class ThrowNearWallTest : public testing::Test {
protected:
    static void SetUpTestSuite() { arena = arenaLevel(); }
    static void TearDownTestSuite() { arena.clear(); }

    void SetUp() override {
        if (!gEngine->frisbeeModel) {
            gEngine->frisbeeModel = std::make_unique<Model>("assets/models/frisbee_rescaled.dae");
        }
        level = gEngine->physics.addRigidStatic(arena);
    }
    void TearDown() override { level->release(); }

    static std::vector<LevelMesh> arena;
    RigidBody* level = nullptr;
};

std::vector<LevelMesh> ThrowNearWallTest::arena;

// A player with its hitbox, as the game builds one, standing at foot on the arena.
struct Thrower {
    explicit Thrower(const glm::vec3& foot) : rig(0, foot, {}) {
        rig.object->addComponent<HitboxComponent>(playerHitboxGeometry, playerHitboxPose);
    }

    // One throw; the frisbee, its body started.
    std::shared_ptr<GameObject> throwOnce(float pitchUp) {
        rig.aimAlongX(pitchUp);
        rig.holdThrow(true);
        rig.step();
        rig.holdThrow(false);
        if (frisbees().size() != 1) {
            return nullptr;
        }
        rig.frame();
        return frisbees()[0];
    }

    PlayerRig rig;
};

struct WallThrow {
    float distance; // from the capsule's centre to the wall's face, metres
    float pitchUp;  // degrees
};

std::vector<WallThrow> wallThrows() {
    std::vector<WallThrow> throws;
    for (const float distance : {0.4f, 1.0f, 1.5f, 1.8f, 2.0f, 2.2f, 2.6f}) {
        for (const float pitch : {0.0f, 20.0f, -20.0f}) {
            throws.push_back({distance, pitch});
        }
    }
    return throws;
}

// Every disc starts and stays on the thrower's side of the wall and in the field for two seconds,
// and the first time it turns back it flies off the wall at the level's restitution.
TEST_F(ThrowNearWallTest, ADiscThrownAtANearWallBouncesBackAndStaysOnTheThrowersSide) {
    for (const Wall& wall : walls) {
        for (const WallThrow& c : wallThrows()) {
            const std::string label = std::string(wall.name) + ", " + std::to_string(c.distance) + " m, pitch " +
                                      std::to_string(c.pitchUp);
            Thrower thrower(glm::vec3(wall.face - c.distance, 0.0f, wall.z));
            ASSERT_TRUE(thrower.rig.land()) << label;
            ASSERT_NEAR(thrower.rig.player->controller->getPosition().x, wall.face - c.distance, 1e-3) << label;
            const std::shared_ptr<GameObject> frisbee = thrower.throwOnce(c.pitchUp);
            ASSERT_TRUE(frisbee) << label;
            const float into = throwSpeed * std::cos(glm::radians(c.pitchUp));
            std::optional<float> rebound;
            int stepsOnSide = 0;
            for (; stepsOnSide < flightSteps; ++stepsOnSide) {
                const glm::vec3 at = frisbee->position;
                if (at.x >= wall.face || !inField(at)) {
                    break;
                }
                const RigidBody* body = bodyOf(*frisbee);
                if (!rebound && body != nullptr && body->getLinearVelocity().x <= 0.0f) {
                    rebound = -body->getLinearVelocity().x;
                }
                thrower.rig.step();
            }
            EXPECT_TRUE(stepsOnSide == flightSteps && frisbee->position.x < wall.face && inField(frisbee->position))
                << label << ": the disc left the thrower's side or the field at " << frisbee->position.x << ", "
                << frisbee->position.y << ", " << frisbee->position.z;
            EXPECT_NEAR(rebound.value_or(-1.0f), wallRestitution * into, 0.1f * wallRestitution * into)
                << label << " (-1: the disc never came back)";
        }
    }
}

// In the open, with nothing between the thrower and the point one metre ahead of the eye (the
// thrower's own hitbox round it), the throw is as it always was: the disc exactly there, unturned,
// at 40 m/s along the view. Faults caught: a disc stopped by its thrower's own hitbox (made at the
// capsule's centre), or held back from a point that nothing blocks.
TEST_F(ThrowNearWallTest, InTheOpenTheDiscStartsOneMetreAheadOfTheEye) {
    for (const float yaw : {0.0f, 90.0f, 180.0f, 270.0f}) {
        for (const float pitch : {0.0f, 20.0f, -20.0f, -60.0f}) {
            Thrower thrower(glm::vec3(0.0f, 0.0f, 1.1f)); // in the clear lane between the bases
            ASSERT_TRUE(thrower.rig.land());
            thrower.rig.camera->camera.yaw = yaw;
            thrower.rig.camera->camera.pitch = -pitch;
            thrower.rig.camera->camera.orientationValid = false;
            thrower.rig.holdThrow(true);
            thrower.rig.step();
            thrower.rig.holdThrow(false);
            ASSERT_EQ(frisbees().size(), 1u);
            const std::shared_ptr<GameObject> frisbee = frisbees()[0];
            Camera& view = thrower.rig.camera->camera;
            view.updateVectors();
            const glm::vec3 direction = glm::normalize(-view.front);
            EXPECT_EQ(frisbee->position, view.position + direction) << "yaw " << yaw << ", pitch " << pitch;
            EXPECT_EQ(frisbee->rotation, glm::quat(1.0f, 0.0f, 0.0f, 0.0f));
            EXPECT_EQ(frisbee->creatorId, thrower.rig.object->id);
            thrower.rig.frame();
            const RigidBody* body = bodyOf(*frisbee);
            ASSERT_NE(body, nullptr);
            EXPECT_EQ(body->getLinearVelocity(), direction * throwSpeed);
        }
    }
}
} // namespace
