#include "engine/physics/PhysicsTolerances.h"
#include "engine/physics/PhysicsWorld.h"

#include "tests/engine/physics/LevelProbe.h"
#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestLevels.h"
#include "tests/engine/physics/TestMatch.h"
#include "tests/engine/physics/TestTable.h"

#include <glm/geometric.hpp>
#include <glm/vec2.hpp>
#include <gtest/gtest.h>
#include <optional>
#include <string>

// A disc put inside one of the arena's solids, made there or moved there: no face of a solid pushes
// what lies behind it, so without a push out it flies on through the solid at its own speed, out of
// the far side or out of the arena. It must come out the shortest way, within a few steps, and no
// faster than the push, whatever its own speed into the solid.
namespace {
constexpr float dt = 1.0f / 60.0f;
constexpr int stepsToGetOut = 10;

struct Placement {
    const char* name;
    glm::vec3 centre;
    glm::vec3 velocity;
    glm::vec3 wayOut; // the shortest, unit
    // Where the disc was made and stepped once before it was moved to centre by setGlobalPose; made
    // at centre when none.
    std::optional<glm::vec3> madeAt = std::nullopt;
    // Whether it comes to rest where it gets out (on a crate's top): a push that went on after the
    // disc was out, or a way out of where it was before it was moved, would carry it off.
    bool settles = false;
};

const std::vector<LevelMesh>& arena() {
    static const std::vector<LevelMesh> level = arenaLevel();
    return level;
}

// The east wall fills 54 < x < 55; cover wall A 15.6 < z < 16.4 from x = -26 to -18, 2.8 m high;
// crate I stands 2.4 m high round (-6, -12).
std::vector<Placement> placements() {
    const glm::vec3 inTheEastWall(54.3f, 1.5f, -15.0f);
    const glm::vec3 underTheCratesTop(-6.0f, 2.1f, -12.0f);
    const glm::vec3 intoTheEastWall(40.0f, 0.0f, 0.0f);
    const glm::vec3 down(0.0f, -40.0f, 0.0f);
    return {
        {"east wall, near its inner face, flying on out", inTheEastWall, intoTheEastWall, {-1.0f, 0.0f, 0.0f}},
        {"east wall, near its outer face, flying in", {54.8f, 1.5f, -15.0f}, -intoTheEastWall, {1.0f, 0.0f, 0.0f}},
        {"cover wall, flying through it", {-22.0f, 1.5f, 16.1f}, {0.0f, 0.0f, -40.0f}, {0.0f, 0.0f, 1.0f}},
        {"crate, under its top, flying down", underTheCratesTop, down, {0.0f, 1.0f, 0.0f}, std::nullopt, true},
        {"east wall, moved there in flight", inTheEastWall, intoTheEastWall, {-1.0f, 0.0f, 0.0f}, glm::vec3(0.0f, 10.0f, 0.0f)},
        {"crate, moved there on its way out of the wall", underTheCratesTop, down, {0.0f, 1.0f, 0.0f}, inTheEastWall, true},
    };
}

// Three seconds on, the disc lies still where it got out.
std::string settled(PhysicsWorld& world, const RigidBody& disc, const glm::vec3& out) {
    for (int step = 0; step < 180; ++step) {
        world.step(dt);
    }
    const glm::vec3 at = disc.getGlobalPose().position;
    const float speed = glm::length(disc.getLinearVelocity());
    if (speed > 0.5f || glm::distance(glm::vec2(at.x, at.z), glm::vec2(out.x, out.z)) > 0.5f) {
        return "at " + std::to_string(speed) + " m/s " + std::to_string(glm::distance(at, out)) +
               " m from where it got out, three seconds later";
    }
    return "";
}

std::string play(const Placement& placement) {
    PhysicsWorld world;
    world.init();
    world.addRigidStatic(arena());
    const LevelProbe probe(arena());
    RigidBody* disc = nullptr;
    if (placement.madeAt) {
        disc = throwFrisbee(world, Pose(*placement.madeAt), placement.velocity);
        world.step(dt);
        disc->setGlobalPose(Pose(placement.centre));
    } else {
        disc = throwFrisbee(world, Pose(placement.centre), placement.velocity);
    }
    for (int step = 0; step < 3 * stepsToGetOut; ++step) {
        world.step(dt);
        const Pose pose = disc->getGlobalPose();
        const float travelled = glm::dot(pose.position - placement.centre, placement.wayOut);
        if (travelled < -0.05f) {
            return "carried the other way, " + std::to_string(-travelled) + " m at step " + std::to_string(step);
        }
        if (probe.deepest(discPoints(pose)) > 0.001f) {
            if (step >= stepsToGetOut) {
                return "still inside at step " + std::to_string(step);
            }
            continue;
        }
        const float speed = glm::length(disc->getLinearVelocity());
        if (speed > PhysicsTolerances::escapeSpeed + 9.81f * dt * stepsToGetOut) {
            return "left at " + std::to_string(speed) + " m/s";
        }
        return placement.settles ? settled(world, *disc, pose.position) : "";
    }
    return "never got out";
}

TEST(LevelEscape, ABodyPutInsideASolidLeavesItTheShortestWayAtThePushsSpeed) {
    const auto name = [](const Placement& placement) { return std::string(placement.name); };
    EXPECT_EQ(failuresOf(placements(), play, name), "");
}

// A player standing against the wall's inner face bars the disc's shortest way out of it. The disc
// takes the next way, out of the far face. Pushed on the barred way, it would hang in the wall at
// the push's speed, gravity dropped, for its whole life; with the push merely ended, it would fly
// on through the wall at the speed the player's capsule gave it back.
TEST(LevelEscape, ABarredWayOutGivesWayToTheNext) {
    PhysicsWorld world;
    world.init();
    world.addRigidStatic(arena());
    const LevelProbe probe(arena());
    CapsuleController* player = world.createCapsuleController(playerRadius, playerHeight);
    player->setPosition(glm::dvec3(53.5, 1.5, -15.0));
    RigidBody* disc = throwFrisbee(world, Pose(glm::vec3(54.3f, 1.5f, -15.0f)), glm::vec3(40.0f, 0.0f, 0.0f));
    for (int step = 0; step < stepsToGetOut; ++step) {
        world.step(dt);
    }
    EXPECT_EQ(probe.deepest(discPoints(disc->getGlobalPose())), 0.0f);
    EXPECT_GT(disc->getGlobalPose().position.x, 55.0f);
    EXPECT_LE(disc->getLinearVelocity().x, PhysicsTolerances::escapeSpeed + 0.01f);
}
} // namespace
