#include "engine/physics/PhysicsWorld.h"

#include "tests/engine/physics/LevelProbe.h"
#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestLevels.h"
#include "tests/engine/physics/TestMatch.h"

#include <cstdio>
#include <glm/gtc/constants.hpp>
#include <gtest/gtest.h>
#include <random>
#include <utility>

// Discs as a match throws them, in the real arena, judged after every step by a look at the level's
// triangles that shares nothing with the world: discs spend most of their 15 s not in flight but
// landing, sliding over the floor's inner edges, tumbling, resting and meeting each other, and every
// one of those must leave them solid.
namespace {
constexpr float dt = 1.0f / 60.0f;
constexpr int lifeSteps = 900; // 15 s, as the game's time to live
constexpr int throwEvery = 60; // one a second
constexpr int throws = 400;

// The speed at which the body's mass alone would carry this energy, metres per second. A spinning
// disc that lands may turn spin into speed; only the sum of the two energies must not grow beyond
// what gravity adds.
float movingSpeed(float energy, const RigidBody& body) { return std::sqrt(2.0f * std::max(energy, 0.0f) / body.getMass()); }

struct DiscRecord {
    RigidBody* body = nullptr;
    int age = 0;
    float deepest = 0.0f;
    bool gained = false;
    bool crossed = false;
    float finalDepth = 0.0f;
};

struct Faults {
    int deeperThan5cm = 0;
    int deeperThan10cm = 0;
    int restsInside = 0;
    int gainsSpeed = 0;
    int crossesSurface = 0;
    float worstDepth = 0.0f;
    float worstGain = 0.0f;
};

class MatchRun {
public:
    explicit MatchRun(std::vector<LevelMesh> meshes) : level(std::move(meshes)), probe(level) {
        world.init();
        world.addRigidStatic(level);
        for (int p = 0; p < 2; ++p) {
            players[p] = world.createCapsuleController(playerRadius, playerHeight);
            players[p]->setFootPosition(glm::dvec3(spawnPoints[p]));
        }
    }

    Faults play() {
        for (int step = 0; step < throws * throwEvery + lifeSteps; ++step) {
            if (step % throwEvery == 0 && step / throwEvery < throws) {
                throwOne(step / throwEvery);
            }
            walk(step);
            stepAndCheck();
        }
        return faults;
    }

private:
    float uniform(float low, float high) { return low + (high - low) * static_cast<float>(random() >> 8) / 16777216.0f; }

    // From a spawn point's eye, or from a random place on the floor, any heading, pitch -10 to +30
    // degrees, one metre ahead of the eye at 40 m/s, as the game throws.
    void throwOne(int index) {
        for (;;) {
            glm::vec3 foot = index % 3 < 2 ? spawnPoints[index % 3]
                                           : glm::vec3(uniform(-50.0f, 50.0f), 10.0f, uniform(-35.0f, 35.0f));
            const std::optional<float> ground = probe.surfaceBelow(foot);
            const float yaw = uniform(0.0f, glm::two_pi<float>());
            const float pitch = glm::radians(uniform(-10.0f, 30.0f));
            if (!ground || std::abs(foot.x) + std::abs(foot.z) > 75.0f) {
                continue;
            }
            foot.y = *ground;
            const glm::vec3 centre = foot + glm::vec3(0.0f, capsuleCentreHeight, 0.0f);
            const Throw disc = throwFromEye(centre, yaw, pitch);
            // Not from inside a crate or through a wall: from where a player could stand and throw.
            if (probe.crosses(centre, disc.eye) || probe.crosses(disc.eye, disc.pose.position) ||
                probe.deepest(discPoints(disc.pose)) > 0.0f) {
                continue;
            }
            discs.push_back({throwFrisbee(world, disc.pose, disc.velocity)});
            return;
        }
    }

    void walk(int step) {
        for (int p = 0; p < 2; ++p) {
            players[p]->move(walkDisplacement(p, step), 0.001f, dt);
        }
    }

    // Whether something that may push a disc is near it: another disc or a player.
    bool nearOthers(const DiscRecord& disc, const glm::vec3& at) const {
        for (const DiscRecord& other : discs) {
            if (&other != &disc && glm::distance(other.body->getGlobalPose().position, at) < 2.0f) {
                return true;
            }
        }
        for (const CapsuleController* player : players) {
            if (glm::distance(glm::vec3(player->getPosition()), at) < 2.5f) {
                return true;
            }
        }
        return false;
    }

    void stepAndCheck() {
        std::vector<glm::vec3> before;
        std::vector<float> energies;
        for (const DiscRecord& disc : discs) {
            before.push_back(disc.body->getGlobalPose().position);
            energies.push_back(kineticEnergy(*disc.body));
        }
        world.step(dt);
        for (std::size_t i = 0; i < discs.size(); ++i) {
            DiscRecord& disc = discs[i];
            const Pose pose = disc.body->getGlobalPose();
            const float depth = probe.deepest(discPoints(pose));
            disc.deepest = std::max(disc.deepest, depth);
            const float fallen = disc.body->getMass() * glm::dot(world.getGravity(), pose.position - before[i]);
            const float expected = movingSpeed(energies[i] + fallen, *disc.body);
            const float gain = movingSpeed(kineticEnergy(*disc.body), *disc.body) - expected;
            if (gain > 1.0f && !nearOthers(disc, before[i])) {
                disc.gained = true;
                faults.worstGain = std::max(faults.worstGain, gain);
            }
            disc.crossed = disc.crossed || probe.crosses(before[i], pose.position);
            disc.finalDepth = depth;
            ++disc.age;
        }
        std::erase_if(discs, [&](DiscRecord& disc) {
            if (disc.age < lifeSteps) {
                return false;
            }
            count(disc);
            disc.body->release();
            return true;
        });
    }

    void count(const DiscRecord& disc) {
        faults.deeperThan5cm += disc.deepest > 0.05f;
        faults.deeperThan10cm += disc.deepest > 0.10f;
        faults.restsInside += disc.finalDepth > 0.02f;
        faults.gainsSpeed += disc.gained;
        faults.crossesSurface += disc.crossed;
        faults.worstDepth = std::max(faults.worstDepth, disc.deepest);
    }

    std::vector<LevelMesh> level;
    LevelProbe probe;
    PhysicsWorld world;
    CapsuleController* players[2] = {};
    std::vector<DiscRecord> discs;
    std::mt19937 random{20261211};
    Faults faults;
};

// Prints the run's figures and fails on any fault.
void expectSolid(const Faults& faults) {
    std::printf("of %d discs: deeper than 5 cm %d, deeper than 10 cm %d, resting inside %d, speed gained %d, "
                "centre crossed %d; worst depth %.3f m, worst gain %.2f m/s\n",
                throws, faults.deeperThan5cm, faults.deeperThan10cm, faults.restsInside, faults.gainsSpeed,
                faults.crossesSurface, faults.worstDepth, faults.worstGain);
    EXPECT_EQ(faults.deeperThan5cm, 0);
    EXPECT_EQ(faults.restsInside, 0);
    EXPECT_EQ(faults.gainsSpeed, 0);
    EXPECT_EQ(faults.crossesSurface, 0);
}

TEST(MatchRun, DiscsStaySolidThroughAWholeMatch) { expectSolid(MatchRun(arenaLevel()).play()); }

// The same match in the arena exported inside out: every solid of it wound inwards. The probe judges
// by parity and distance, which no winding changes, so the throws and the judgement are the same;
// the fault caught is a level that holds discs only when its solids are wound outwards.
TEST(MatchRun, DiscsStaySolidInTheArenaWoundInsideOut) {
    expectSolid(MatchRun(windingReversed(arenaLevel())).play());
}
} // namespace
