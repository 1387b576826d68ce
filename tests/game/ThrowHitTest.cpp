#include "engine/physics/HitboxComponent.h"
#include "game/MatchRules.h"
#include "graphics/model/Model.h"
#include "tests/game/PlayerRig.h"

#include <cmath>
#include <gtest/gtest.h>

// The whole contact road: a real throw by one player's PlayerComponent, the disc's flight through the
// physics steps, the other player's hitbox report and the frisbee-hit callback. A player is hit when
// the disc crosses its hitbox; the capsule that discs bounce off sits inside it, so a disc aimed at a
// player must score before it can bounce.
namespace {
constexpr float throwSpeed = 40.0f;
constexpr float gravity = 9.81f;

// A player built as the game builds one, with the hitbox that the game gives it and the match's
// frisbee-hit callback on it.
struct Target {
    explicit Target(const glm::vec3& foot, std::uint64_t index = 1) : rig(index, foot) {
        hitbox = rig.object->addComponent<HitboxComponent>(playerHitboxGeometry, playerHitboxPose).lock();
        subscription = hitbox->callbacks.subscribe(onFrisbeeHit);
    }

    PlayerRig rig;
    std::shared_ptr<HitboxComponent> hitbox;
    std::shared_ptr<HitboxComponent::Callbacks::Function> subscription;
};

// The pitch up (radians) at which a disc thrown at throwSpeed from the eye falls through a point
// distance metres ahead and rise metres higher: the flatter of the two arcs.
float arcPitch(float distance, float rise) {
    const float v2 = throwSpeed * throwSpeed;
    const float root = std::sqrt(v2 * v2 - gravity * (gravity * distance * distance + 2.0f * rise * v2));
    return std::atan((v2 - root) / (gravity * distance));
}

// Throws once at the pitch and steps until the frisbee is gone (at most steps), and as long again.
int throwAndFly(PlayerRig& thrower, float pitch, int steps) {
    thrower.aimAlongX(pitch);
    thrower.holdThrow(true);
    thrower.step();
    thrower.holdThrow(false);
    thrower.frame(); // starts the frisbee's body
    int flight = 0;
    for (; flight < steps && !frisbees().empty(); ++flight) {
        thrower.step();
    }
    for (int i = 0; i < flight; ++i) {
        thrower.step();
    }
    return flight;
}

// A thrower standing at foot and looking along +x, and the target distance metres ahead of its eye,
// facing it; both landed on the floor.
struct Duel {
    Duel(const glm::vec3& foot, float distance) : thrower(0, foot), target(ahead(thrower, distance)) {
        target.rig.camera->camera.yaw = 90.0f;
        landed = thrower.land() && target.rig.land();
        thrower.aimAlongX(0.0f); // the eye where the landed thrower has it
        centre = static_cast<float>(target.rig.player->controller->getPosition().y);
    }

    static glm::vec3 ahead(PlayerRig& rig, float distance) {
        rig.frame(); // starts the player, whose camera sits at its heading
        rig.aimAlongX(0.0f);
        const glm::vec3 eye = rig.camera->camera.position;
        return glm::vec3(eye.x + distance, 0.0f, eye.z);
    }

    // The pitch (degrees up) that drops the disc height metres above the target's capsule centre.
    float pitchOnto(float height) const {
        const glm::vec3 eye = thrower.camera->camera.position;
        return glm::degrees(arcPitch(target.rig.object->position.x - eye.x, centre + height - eye.y));
    }

    int throwAndFly(float pitch, int steps) { return ::throwAndFly(thrower, pitch, steps); }

    PlayerRig thrower;
    Target target;
    bool landed = false;
    float centre = 0.0f; // the target's capsule centre, metres above the floor
};

class ThrowHitTest : public testing::Test {
protected:
    void SetUp() override {
        if (!gEngine->frisbeeModel) {
            gEngine->frisbeeModel = std::make_unique<Model>("assets/models/frisbee_rescaled.dae");
        }
    }
};

struct AimCase {
    float distance; // from the thrower's eye to the target's axis, metres
    float height;   // of the aim point above the target's capsule centre, metres
};

// At 3, 10 and 25 m, at the middle of the hitbox, at the dog's chest and at its head, below the
// hitbox's top (0.55 above the capsule centre): one life lost, the frisbee gone, nothing counted twice.
TEST_F(ThrowHitTest, ARealThrowCostsTheOtherPlayerOneLifeAndTheFrisbee) {
    const AimCase cases[] = {{3.0f, -0.45f}, {3.0f, 0.2f}, {3.0f, 0.4f},   {10.0f, -0.45f}, {10.0f, 0.2f},
                             {10.0f, 0.4f},  {25.0f, -0.45f}, {25.0f, 0.2f}, {25.0f, 0.4f}};
    for (const AimCase& c : cases) {
        Duel duel(glm::vec3(0.0f), c.distance);
        ASSERT_TRUE(duel.landed);
        const int flight = duel.throwAndFly(duel.pitchOnto(c.height), 120);
        EXPECT_EQ(duel.target.rig.player->lives, 4) << c.distance << " m, " << c.height << " m up";
        EXPECT_TRUE(frisbees().empty()) << c.distance << " m, " << c.height << " m up: the frisbee flies on";
        EXPECT_LT(flight, 120) << c.distance << " m, " << c.height << " m up";
        EXPECT_EQ(duel.thrower.player->lives, 5);
    }
}

// The game's two spawn points, 80 m apart along x, on level ground: the view pitched about 13
// degrees up arcs the disc onto the other player.
TEST_F(ThrowHitTest, AThrowFromOneSpawnPointReachesThePlayerOnTheOther) {
    Duel duel(glm::vec3(-35.0f, 0.0f, 1.1f), 80.0f);
    ASSERT_TRUE(duel.landed);
    const float pitch = duel.pitchOnto(0.0f);
    ASSERT_NEAR(pitch, 13.0f, 1.5f);
    duel.throwAndFly(pitch, 240);
    EXPECT_EQ(duel.target.rig.player->lives, 4);
    EXPECT_TRUE(frisbees().empty());
}

// Level flights over the head: above the hitbox, through where a capsule at full size would be, but
// over the smaller one that discs meet. No hit, and no bounce off the empty air above the dog.
TEST_F(ThrowHitTest, ADiscJustOverTheHeadFliesOnWithoutAHit) {
    for (const float distance : {3.0f, 10.0f}) {
        for (const float height : {0.85f, 0.92f}) {
            Duel duel(glm::vec3(0.0f), distance);
            ASSERT_TRUE(duel.landed);
            const int steps = static_cast<int>((distance + 2.0f) / throwSpeed * 60.0f);
            duel.throwAndFly(duel.pitchOnto(height), 0);
            ASSERT_EQ(frisbees().size(), 1u);
            const std::shared_ptr<GameObject> frisbee = frisbees()[0];
            for (int i = 0; i < steps; ++i) {
                duel.thrower.step();
            }
            EXPECT_EQ(duel.target.rig.player->lives, 5) << distance << " m, " << height << " m up";
            EXPECT_GT(frisbee->position.x, duel.target.rig.object->position.x + 1.0f)
                << distance << " m, " << height << " m up: the disc bounced off air";
        }
    }
}

// Two players whose capsules touch, the thrower facing the other: where a disc starts in the open,
// one metre ahead of the eye, lies beyond the other's hitbox, and the thrower's capsule centre inside
// it. The disc starts on the thrower's side and costs the other one life, level or 20 degrees up or
// down. Fault caught: a disc made beyond the other player, which flies on without a hit.
TEST_F(ThrowHitTest, APlayerWhoseCapsuleTouchesTheOthersHitsThemOnce) {
    // Capsule centres this far apart (metres): the capsules' surfaces touching, and as close as
    // walking brings them (a controller keeps 0.1 m from what it meets).
    for (const float apart : {0.78f, 0.88f}) {
        for (const float pitch : {0.0f, 20.0f, -20.0f}) {
            Target thrower(glm::vec3(0.0f), 0);
            Target target(glm::vec3(apart, 0.0f, 0.0f));
            target.rig.camera->camera.yaw = 90.0f;
            ASSERT_TRUE(thrower.rig.land() && target.rig.land());
            const double gap = target.rig.player->controller->getPosition().x -
                               thrower.rig.player->controller->getPosition().x;
            ASSERT_NEAR(gap, apart, 1e-3);
            throwAndFly(thrower.rig, pitch, 120);
            EXPECT_EQ(target.rig.player->lives, 4) << apart << " m apart, pitch " << pitch;
            EXPECT_EQ(thrower.rig.player->lives, 5) << apart << " m apart, pitch " << pitch;
        }
    }
}
} // namespace
