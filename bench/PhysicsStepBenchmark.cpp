// The fixed physics step of the game next to the bare library's step of the same bodies, in the
// same run and on the same machine state. Both rows play in the game's arena with two players
// walking (controller, capsule body, hitbox):
// - FixedStep/frisbees/N: N discs always in flight, each thrown again 1.5 s after its last throw;
// - FixedStep/match: the match as played, a throw a second from the players' eyes by turns, each
//   disc gone 15 s after its throw; measured over a minute of play once the first 15 s have filled
//   the arena, so most of the discs have landed and slide or rest.
// Reported per step: world_us, our world's step; moves_us, the controllers' moves; bare_us, the bare
// library world of hull discs, our materials and the library's continuous detection, each level
// mesh a static body of its own; bare_tree_us, that world with the level one static body whose one
// triangle-mesh tree holds every mesh, as our world has it; compound_us, the first bare baseline
// (compound discs, the library's materials), whose figures earlier reports gave as bare_us; ratio,
// world_us / bare_us, kept against the mesh-by-mesh level so that it can be followed across
// reports; allocs_per_step, the heap allocations of our moves and step; discs, the live discs;
// moving, those of ours faster than 1 cm/s; bare_awake, the hull discs the library has not put to
// sleep in bare_us's world.
#include "bench/AllocationCounter.h"
#include "bench/BulletBaseline.h"
#include "engine/physics/PhysicsWorld.h"
#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestLevels.h"
#include "tests/engine/physics/TestMatch.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>
#include <glm/trigonometric.hpp>
#include <random>
#include <vector>

namespace {
constexpr float dt = 1.0f / 60.0f;
constexpr float throwSpeed = 40.0f;
// The discs-in-flight rows: each disc's flight before it is thrown again, in steps.
constexpr int flightSteps = 90;
// The match: a throw a second, each disc released 15 s after its throw, a minute measured.
constexpr int throwSteps = 60;
constexpr int discLifeSteps = 900;
constexpr int matchSteps = 3600;

const glm::vec3 hitboxHalf(1.0f, 1.0f, 0.5f);
// The players drop from the spawn points onto the floor below them during the warm-up.
const glm::vec3 (&spawns)[2] = spawnPoints;

// The discs in flight: from 2 m above a spawn point, any heading, a little up or down.
Throw spawnThrow(int frisbee, std::uint32_t& seed) {
    seed = seed * 1664525u + 1013904223u;
    const glm::vec3 eye = spawns[frisbee % 2] + glm::vec3(0.0f, 2.0f, 0.0f);
    const float yaw = static_cast<float>(seed >> 8) / 16777216.0f * glm::two_pi<float>();
    const float pitch = (static_cast<float>(seed & 0xFF) / 255.0f - 0.3f) * 0.6f;
    const Pose pose(glm::angleAxis(yaw, glm::vec3(0.0f, 1.0f, 0.0f)), eye);
    return {pose, throwSpeed * glm::normalize(pose.rotation * glm::vec3(0.0f, std::sin(pitch), 1.0f)), eye};
}

// The game's throw from a player's eye: any heading, 10 degrees down to 30 up.
Throw eyeThrow(const glm::vec3& capsuleCentre, std::mt19937& random) {
    std::uniform_real_distribution<float> yawOf(0.0f, glm::two_pi<float>());
    std::uniform_real_distribution<float> pitchOf(glm::radians(-10.0f), glm::radians(30.0f));
    const float yaw = yawOf(random);
    return throwFromEye(capsuleCentre, yaw, pitchOf(random));
}

template <typename Work>
double microsecondsOf(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

class OurScene {
public:
    explicit OurScene(const std::vector<LevelMesh>& level) {
        world.init();
        world.addRigidStatic(level);
        for (int p = 0; p < 2; ++p) {
            controllers[p] = world.createCapsuleController(playerRadius, playerHeight);
            controllers[p]->setFootPosition(glm::dvec3(spawns[p]));
            hitboxes[p] = world.createKinematicRigidDynamic(Pose(spawns[p] + glm::vec3(0.0f, 0.6f, 0.0f)), 1.0f,
                                                            Geometry::box(hitboxHalf), Pose(), false, nullptr);
        }
    }

    void throwDisc(const Throw& start) { discs.push_back(throwFrisbee(world, start.pose, start.velocity)); }

    void rethrow(std::size_t disc, const Throw& start) {
        discs[disc]->setGlobalPose(start.pose);
        discs[disc]->setLinearVelocity(start.velocity);
        discs[disc]->setAngularVelocity(glm::vec3(0.0f));
    }

    void releaseOldest() {
        discs.front()->release();
        discs.erase(discs.begin());
    }

    void movePlayers(int step) {
        for (int p = 0; p < 2; ++p) {
            controllers[p]->move(walkDisplacement(p, step), 0.001f, dt);
            hitboxes[p]->setKinematicTarget(Pose(capsuleCentre(p) - dogBelowCentre));
        }
    }

    glm::vec3 capsuleCentre(int player) const { return glm::vec3(controllers[player]->getPosition()); }

    std::size_t movingDiscs() const {
        return static_cast<std::size_t>(std::count_if(discs.begin(), discs.end(), [](const RigidBody* disc) {
            return glm::length(disc->getLinearVelocity()) > 0.01f;
        }));
    }

    PhysicsWorld world;
    std::vector<RigidBody*> discs;

private:
    CapsuleController* controllers[2] = {};
    RigidBody* hitboxes[2] = {};
};

class BareScene {
public:
    BareScene(BulletBaseline::Kind kind, const std::vector<LevelMesh>& level, BulletBaseline::LevelBodies levelBodies)
        : bare(kind, frisbeeHalfExtents) {
        bare.addLevel(level, levelBodies);
        const float scale = CapsuleController::scaleCoeff;
        for (int p = 0; p < 2; ++p) {
            const glm::vec3 centre = spawns[p] + glm::vec3(0.0f, capsuleCentreHeight, 0.0f);
            capsules[p] = bare.addCapsule(scale * playerRadius, scale * playerHeight, centre);
            hitboxes[p] = bare.addHitbox(hitboxHalf, centre - dogBelowCentre);
        }
    }

    void throwDisc(const Throw& start) { discs.push_back(bare.addFrisbee(start.pose, start.velocity)); }
    void rethrow(std::size_t disc, const Throw& start) { bare.rethrow(discs[disc], start.pose, start.velocity); }

    void releaseOldest() {
        bare.remove(discs.front());
        discs.erase(discs.begin());
    }

    // The capsules go where our controllers went: the same bodies in the same places.
    void followPlayers(const OurScene& ours) {
        for (int p = 0; p < 2; ++p) {
            const glm::vec3 centre = ours.capsuleCentre(p);
            bare.moveKinematic(capsules[p], centre);
            bare.moveKinematic(hitboxes[p], centre - dogBelowCentre);
        }
    }

    std::size_t awakeDiscs() const {
        return static_cast<std::size_t>(
            std::count_if(discs.begin(), discs.end(), [this](std::size_t disc) { return bare.isAwake(disc); }));
    }

    BulletBaseline bare;

private:
    std::size_t capsules[2] = {};
    std::size_t hitboxes[2] = {};
    std::vector<std::size_t> discs;
};

// What a row's measured steps add up to; reported per step.
struct Tally {
    double worldMicroseconds = 0.0;
    double moveMicroseconds = 0.0;
    double hullMicroseconds = 0.0;
    double treeMicroseconds = 0.0;
    double compoundMicroseconds = 0.0;
    std::size_t allocations = 0;
    std::size_t discs = 0;
    std::size_t moving = 0;
    std::size_t bareAwake = 0;

    void report(benchmark::State& state) const {
        const double steps = static_cast<double>(state.iterations());
        state.counters["world_us"] = worldMicroseconds / steps;
        state.counters["bare_us"] = hullMicroseconds / steps;
        state.counters["bare_tree_us"] = treeMicroseconds / steps;
        state.counters["compound_us"] = compoundMicroseconds / steps;
        state.counters["ratio"] = hullMicroseconds > 0.0 ? worldMicroseconds / hullMicroseconds : 0.0;
        state.counters["moves_us"] = moveMicroseconds / steps;
        state.counters["allocs_per_step"] = static_cast<double>(allocations) / steps;
        state.counters["discs"] = static_cast<double>(discs) / steps;
        state.counters["moving"] = static_cast<double>(moving) / steps;
        state.counters["bare_awake"] = static_cast<double>(bareAwake) / steps;
    }
};

// Our world and the three bare ones, given the same throws and stepped one after the other.
class Scenes {
public:
    Scenes() : Scenes(arenaLevel()) {}

    void throwDisc(const Throw& start) {
        ours.throwDisc(start);
        hull.throwDisc(start);
        tree.throwDisc(start);
        compound.throwDisc(start);
    }

    void rethrow(std::size_t disc, const Throw& start) {
        ours.rethrow(disc, start);
        hull.rethrow(disc, start);
        tree.rethrow(disc, start);
        compound.rethrow(disc, start);
    }

    void releaseOldest() {
        ours.releaseOldest();
        hull.releaseOldest();
        tree.releaseOldest();
        compound.releaseOldest();
    }

    void step(int step, Tally& tally) {
        // Only our moves and step are counted: a throw makes a body, and a release frees one.
        const std::size_t before = heapAllocations();
        tally.moveMicroseconds += microsecondsOf([&] { ours.movePlayers(step); });
        tally.worldMicroseconds += microsecondsOf([&] { ours.world.step(dt); });
        tally.allocations += heapAllocations() - before;
        hull.followPlayers(ours);
        tree.followPlayers(ours);
        compound.followPlayers(ours);
        tally.hullMicroseconds += microsecondsOf([&] { hull.bare.step(dt); });
        tally.treeMicroseconds += microsecondsOf([&] { tree.bare.step(dt); });
        tally.compoundMicroseconds += microsecondsOf([&] { compound.bare.step(dt); });
        tally.discs += ours.discs.size();
        tally.moving += ours.movingDiscs();
        tally.bareAwake += hull.awakeDiscs();
    }

    OurScene ours;

private:
    explicit Scenes(const std::vector<LevelMesh>& level)
        : ours(level), hull(BulletBaseline::Kind::Hull, level, BulletBaseline::LevelBodies::MeshByMesh),
          tree(BulletBaseline::Kind::Hull, level, BulletBaseline::LevelBodies::OneTree),
          compound(BulletBaseline::Kind::Compound, level, BulletBaseline::LevelBodies::MeshByMesh) {}

    BareScene hull;
    BareScene tree;
    BareScene compound;
};

// N discs always in flight, their throws spread evenly over a flight.
class DiscsInFlight {
public:
    explicit DiscsInFlight(int frisbees) : frisbees(frisbees) {
        std::uint32_t firstSeed = 1;
        for (int i = 0; i < frisbees; ++i) {
            scenes.throwDisc(spawnThrow(i, firstSeed));
        }
    }

    void step(int step, Tally& tally) {
        for (int i = 0; i < frisbees; ++i) {
            if ((step + i * flightSteps / frisbees) % flightSteps == 0) {
                scenes.rethrow(static_cast<std::size_t>(i), spawnThrow(i, seed));
            }
        }
        scenes.step(step, tally);
    }

private:
    Scenes scenes;
    int frisbees;
    std::uint32_t seed = 7;
};

// The match as played: the players throw by turns, and the oldest disc goes as each new one comes.
class Match {
public:
    void step(int step, Tally& tally) {
        if (step % throwSteps == 0) {
            if (step >= discLifeSteps) {
                scenes.releaseOldest();
            }
            const int thrower = step / throwSteps % 2;
            scenes.throwDisc(eyeThrow(scenes.ours.capsuleCentre(thrower), random));
        }
        scenes.step(step, tally);
    }

private:
    Scenes scenes;
    // Fixed seed: every run plays the same match.
    std::mt19937 random{20240601u};
};

// warmUpSteps are played before the timed steps and left out of the figures.
template <typename Row>
void measure(benchmark::State& state, Row& row, int warmUpSteps) {
    Tally warmUp;
    int step = 0;
    for (; step < warmUpSteps; ++step) {
        row.step(step, warmUp);
    }
    Tally tally;
    for (auto _ : state) {
        row.step(step++, tally);
    }
    tally.report(state);
}

void discsInFlight(benchmark::State& state) {
    DiscsInFlight row(static_cast<int>(state.range(0)));
    // Past the first throws' landings and the pools' growth.
    measure(state, row, 2 * flightSteps);
}

void match(benchmark::State& state) {
    Match row;
    // The first 15 s fill the arena to the discs a match keeps alive.
    measure(state, row, discLifeSteps);
}

BENCHMARK(discsInFlight)->Name("FixedStep/frisbees")->Arg(0)->Arg(16)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);
// A fixed count, so that the figures are always over the whole minute, however short the run asked.
BENCHMARK(match)->Name("FixedStep/match")->Iterations(matchSteps)->Unit(benchmark::kMicrosecond);
} // namespace
