#include "engine/physics/PhysicsWorld.h"

#include "tests/engine/physics/LevelProbe.h"
#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestLevels.h"
#include "tests/engine/physics/TestMatch.h"
#include "tests/engine/physics/TestTable.h"

#include <glm/gtc/constants.hpp>
#include <initializer_list>
#include <gtest/gtest.h>
#include <string>

// Fast discs against everything the collision filter solves with them: the level, the players'
// capsules and each other. At 40 to 60 m/s a disc moves 0.67 to 1 m per step, ten to twenty times
// its thickness; without continuous detection it passes through a capsule or another disc between
// two steps, or ends a step deep inside a wall.
namespace {
constexpr float dt = 1.0f / 60.0f;
// How deep a disc may press into a surface it hits: the solver's own contact slop.
constexpr float sinkTolerance = 0.05f;

const DiscFacing facings[] = {DiscFacing::Flat, DiscFacing::OnEdge, DiscFacing::FaceFirst};

const float speeds[] = {40.0f, 60.0f};

std::string caseName(const char* orientation, float speed, float extra) {
    return std::string(orientation) + " at " + std::to_string(speed) + " m/s, " + std::to_string(extra);
}

// A disc of each facing thrown at each speed, with one more figure that a test varies.
struct FastThrow {
    DiscFacing facing;
    float speed;
    float variant;
};

std::vector<FastThrow> fastThrows(std::initializer_list<float> variants) {
    std::vector<FastThrow> table;
    for (const DiscFacing facing : facings) {
        for (const float speed : speeds) {
            for (const float variant : variants) {
                table.push_back({facing, speed, variant});
            }
        }
    }
    return table;
}

std::string nameOfThrow(const FastThrow& fast) { return caseName(nameOf(fast.facing), fast.speed, fast.variant); }

// A wall 2 m thick whose face is at x = 10, straight ahead. Each start offset puts the disc at a
// different place along its last step; offset 0 makes its centre land exactly on the face (10 m
// in 15 steps at 40 m/s).
TEST(ContinuousDetection, FastDiscsStopAtAWallAndBounceOffIt) {
    const auto play = [](const FastThrow& fast) -> std::string {
        PhysicsWorld world;
        world.init();
        world.addRigidStatic({boxMesh(glm::vec3(10.0f, -5.0f, -5.0f), glm::vec3(12.0f, 5.0f, 5.0f))});
        RigidBody* disc = throwFrisbee(world, Pose(turnOf(fast.facing), glm::vec3(fast.variant, 0.0f, 0.0f)),
                                       glm::vec3(fast.speed, 0.0f, 0.0f));
        float deepest = -1.0f;
        float rebound = 0.0f;
        for (int step = 0; step < 40; ++step) {
            const float before = disc->getLinearVelocity().x;
            world.step(dt);
            const Pose pose = disc->getGlobalPose();
            deepest = std::max(deepest, pose.position.x + discReach(pose, glm::vec3(1.0f, 0.0f, 0.0f)) - 10.0f);
            if (before > 0.0f && disc->getLinearVelocity().x <= 0.0f && rebound == 0.0f) {
                rebound = -disc->getLinearVelocity().x / before;
            }
        }
        // The disc's 0.6 and the level's 0.0 average to 0.3.
        if (deepest > sinkTolerance || rebound < 0.2f || rebound > 0.4f) {
            return std::to_string(deepest) + " m deep, rebound " + std::to_string(rebound);
        }
        return "";
    };
    EXPECT_EQ(failuresOf(fastThrows({0.0f, 0.2f, 0.45f}), play, nameOfThrow), "");
}

// Thrown down onto the floor at a slant of so many degrees: the disc must stay on top, whatever
// edge it lands on.
TEST(ContinuousDetection, FastDiscsLandOnTheFloorWithoutSinking) {
    const auto play = [](const FastThrow& fast) -> std::string {
        PhysicsWorld world;
        world.init();
        world.addRigidStatic({floorMesh(100.0f)});
        const float slant = glm::radians(fast.variant);
        RigidBody* disc = throwFrisbee(world, Pose(turnOf(fast.facing), glm::vec3(0.0f, 3.1f, 0.0f)),
                                       fast.speed * glm::vec3(std::cos(slant), -std::sin(slant), 0.0f));
        float deepest = -1.0f;
        for (int step = 0; step < 60; ++step) {
            world.step(dt);
            const Pose pose = disc->getGlobalPose();
            deepest = std::max(deepest, discReach(pose, glm::vec3(0.0f, -1.0f, 0.0f)) - pose.position.y);
        }
        return deepest > sinkTolerance ? std::to_string(deepest) + " m deep" : "";
    };
    EXPECT_EQ(failuresOf(fastThrows({20.0f, 45.0f, 90.0f}), play, nameOfThrow), "");
}

struct TurnInPlace {
    const char* name;
    DiscFacing facing;
    glm::vec3 at;   // where the disc's centre starts, still
    glm::vec3 spin; // radians per second
};

// A disc that turns fast while its centre hardly moves (tumbling after a bounce, spinning on its rim)
// swings its edge through 10 to 40 cm a step. Its centre moves less than the solver's slop in a step,
// yet its edge must be swept as a flying disc is: one flipping end over end just above the floor, or
// spinning with its face to a wall beside it, would end a step with its edge deep inside.
TEST(ContinuousDetection, ADiscTurningInPlaceSwingsNoEdgeIntoTheLevel) {
    // The floor's top at y = 0, the wall's face at x = 1; the disc a centimetre clear of either.
    const std::vector<LevelMesh> level{floorMesh(20.0f),
                                       boxMesh(glm::vec3(1.0f, 0.0f, -5.0f), glm::vec3(3.0f, 4.0f, 5.0f))};
    const LevelProbe probe(level);
    const float thin = frisbeeHalfExtents.y;
    const glm::vec3 overTheFloor(-5.0f, thin + 0.01f, 0.0f);
    const glm::vec3 besideTheWall(1.0f - thin - 0.01f, 2.0f, 0.0f);
    const TurnInPlace turns[] = {
        {"flipping over the floor", DiscFacing::Flat, overTheFloor, glm::vec3(20.0f, 0.0f, 0.0f)},
        {"flipping over the floor", DiscFacing::Flat, overTheFloor, glm::vec3(0.0f, 0.0f, 40.0f)},
        {"spinning beside a wall", DiscFacing::FaceFirst, besideTheWall, glm::vec3(0.0f, 20.0f, 0.0f)},
        {"spinning beside a wall", DiscFacing::FaceFirst, besideTheWall, glm::vec3(0.0f, 0.0f, 40.0f)},
    };
    const auto play = [&](const TurnInPlace& turn) -> std::string {
        PhysicsWorld world;
        world.init();
        world.addRigidStatic(level);
        RigidBody* disc = throwFrisbee(world, Pose(turnOf(turn.facing), turn.at), glm::vec3(0.0f));
        disc->setAngularVelocity(turn.spin);
        float deepest = 0.0f;
        for (int step = 0; step < 20; ++step) {
            world.step(dt);
            deepest = std::max(deepest, probe.deepest(discPoints(disc->getGlobalPose())));
        }
        return deepest > sinkTolerance ? std::to_string(deepest) + " m deep" : "";
    };
    const auto name = [](const TurnInPlace& turn) {
        return std::string(turn.name) + " at " + std::to_string(glm::length(turn.spin)) + " rad/s";
    };
    EXPECT_EQ(failuresOf(std::vector<TurnInPlace>(std::begin(turns), std::end(turns)), play, name), "");
}

// A floor of triangles a centimetre across, smaller than a disc's step by a hundred times: each is
// as solid as a large one.
TEST(ContinuousDetection, FastDiscsStopOnAFloorOfTinyTriangles) {
    PhysicsWorld world;
    world.init();
    world.addRigidStatic({gridMesh(133, 0.012f)});
    RigidBody* disc = throwFrisbee(world, Pose(glm::vec3(0.0f, 2.0f, 0.0f)), glm::vec3(0.0f, -40.0f, 0.0f));
    float lowest = 2.0f;
    for (int step = 0; step < 20; ++step) {
        world.step(dt);
        lowest = std::min(lowest, disc->getGlobalPose().position.y);
    }
    EXPECT_GT(lowest, frisbeeHalfExtents.y - sinkTolerance);
}

// A standing capsule, and one walking at 12 m/s towards the disc (52 and 72 m/s closing). The flight
// paths cross the capsule at heights and sideways offsets well inside it, so a disc that is not
// stopped shows up behind the capsule's axis.
TEST(ContinuousDetection, FastDiscsNeverPassThroughAPlayersCapsule) {
    std::vector<std::string> failures;
    int crossings = 0;
    for (const DiscFacing facing : facings) {
        for (const float speed : speeds) {
            for (const float walk : {0.0f, 12.0f}) {
                for (const glm::vec2 offset : {glm::vec2(0.0f), glm::vec2(0.3f, 0.15f), glm::vec2(-0.4f, -0.15f)}) {
                    PhysicsWorld world;
                    world.init();
                    CapsuleController* capsule = world.createCapsuleController(playerRadius, playerHeight);
                    capsule->setPosition(glm::dvec3(0.0));
                    RigidBody* disc = throwFrisbee(
                        world, Pose(turnOf(facing), glm::vec3(-7.3f, offset.x, offset.y)), glm::vec3(speed, 0.0f, 0.0f));
                    bool passed = false;
                    for (int step = 0; step < 30 && !passed; ++step) {
                        capsule->move(glm::vec3(-walk * dt, 0.0f, 0.0f), 0.001f, dt);
                        world.step(dt);
                        const glm::vec3 at = disc->getGlobalPose().position;
                        passed = at.x > static_cast<float>(capsule->getPosition().x);
                    }
                    ++crossings;
                    if (passed) {
                        failures.push_back(caseName(nameOf(facing), speed, walk) + " offset " +
                                           std::to_string(offset.x) + ", " + std::to_string(offset.y));
                    }
                }
            }
        }
    }
    static_assert(bodyCapsuleRadius > 0.15f && bodyCapsuleHalfHeight > 0.4f, "every path must cross the capsule");
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << crossings << ": " << ::testing::PrintToString(failures);
}

struct DiscPair {
    float first;  // velocity along x of the disc on the left, m/s
    float second; // of the disc on the right
};

// Two discs on one line, overlapping in height and sideways: one flying into one at rest, or both
// towards each other. A disc that passes the other shows as the two centres changing order.
TEST(ContinuousDetection, FastDiscsNeverPassThroughEachOther) {
    const DiscPair pairs[] = {{40.0f, 0.0f}, {60.0f, 0.0f}, {30.0f, -30.0f}, {40.0f, -20.0f}};
    std::vector<std::string> failures;
    for (const DiscFacing facing : facings) {
        for (const DiscPair& pair : pairs) {
            for (const glm::vec2 offset : {glm::vec2(0.0f), glm::vec2(0.04f, 0.2f)}) {
                PhysicsWorld world;
                world.init();
                RigidBody* left =
                    throwFrisbee(world, Pose(turnOf(facing), glm::vec3(-6.1f, 0.0f, 0.0f)), glm::vec3(pair.first, 0.0f, 0.0f));
                RigidBody* right = throwFrisbee(world, Pose(glm::vec3(0.0f, offset.x, offset.y)),
                                                glm::vec3(pair.second, 0.0f, 0.0f));
                bool passed = false;
                for (int step = 0; step < 30 && !passed; ++step) {
                    world.step(dt);
                    passed = left->getGlobalPose().position.x > right->getGlobalPose().position.x;
                }
                if (passed) {
                    failures.push_back(caseName(nameOf(facing), pair.first, pair.second) + " offset " +
                                       std::to_string(offset.x) + ", " + std::to_string(offset.y));
                }
            }
        }
    }
    EXPECT_TRUE(failures.empty()) << failures.size() << ": " << ::testing::PrintToString(failures);
}
} // namespace
