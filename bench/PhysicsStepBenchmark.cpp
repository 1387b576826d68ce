// The fixed physics step of a match: the game's arena, two walking players (controller, capsule body,
// hitbox) and 0, 50 or 200 frisbees in flight, each thrown again 1.5 s after its last throw. Next to
// it, in the same run and on the same machine state, the library's bare stepSimulation of the same
// bodies. Reported: microseconds per step of each, our layer's cost as the ratio of the two, the
// controllers' moves on their own, and the heap allocations of our step in steady state.
#include "bench/AllocationCounter.h"
#include "bench/BulletBaseline.h"
#include "engine/physics/PhysicsWorld.h"
#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestLevels.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <glm/gtc/constants.hpp>

namespace {
constexpr float dt = 1.0f / 60.0f;
constexpr int flightSteps = 90;
const glm::vec3 hitboxHalf(1.0f, 1.0f, 0.5f);
// The game's spawn points; the players drop onto the floor below them during the warm-up.
const glm::vec3 spawns[2] = {{-35.0f, 2.6f, 1.1f}, {45.0f, 2.6f, 1.1f}};
// The player's capsule centre above its foot: height / 2 + radius + contact offset.
constexpr float centreHeight = 0.59f + 0.39f + 0.1f;

// The same throws for both worlds: from a player's eye, any heading, a little up or down.
Pose throwPose(int frisbee, std::uint32_t& seed) {
    seed = seed * 1664525u + 1013904223u;
    const glm::vec3 eye = spawns[frisbee % 2] + glm::vec3(0.0f, 2.0f, 0.0f);
    const float yaw = static_cast<float>(seed >> 8) / 16777216.0f * glm::two_pi<float>();
    return Pose(glm::angleAxis(yaw, glm::vec3(0.0f, 1.0f, 0.0f)), eye);
}

glm::vec3 throwVelocity(const Pose& pose, std::uint32_t seed) {
    const float pitch = (static_cast<float>(seed & 0xFF) / 255.0f - 0.3f) * 0.6f;
    return 40.0f * glm::normalize(pose.rotation * glm::vec3(0.0f, std::sin(pitch), 1.0f));
}

// Where each player walks this step: a circle of 3 m radius round its spawn point, at 3 m/s, with
// gravity's pull of a player standing on the floor.
glm::vec3 walkDisplacement(int player, int step) {
    const float angle = step * dt + player;
    return glm::vec3(-std::sin(angle), 0.0f, std::cos(angle)) * (3.0f * dt) + glm::vec3(0.0f, -0.1f, 0.0f);
}

class OurScene {
public:
    explicit OurScene(int frisbees) {
        world.init();
        world.addRigidStatic(arenaLevel());
        for (int p = 0; p < 2; ++p) {
            controllers[p] = world.createCapsuleController(0.39f, 1.18f);
            controllers[p]->setFootPosition(glm::dvec3(spawns[p]));
            hitboxes[p] = world.createKinematicRigidDynamic(Pose(spawns[p] + glm::vec3(0.0f, 0.6f, 0.0f)), 1.0f,
                                                            Geometry::box(hitboxHalf), Pose(), false, nullptr);
        }
        std::uint32_t seed = 1;
        for (int i = 0; i < frisbees; ++i) {
            const Pose pose = throwPose(i, seed);
            discs.push_back(throwFrisbee(world, pose, throwVelocity(pose, seed)));
        }
    }

    void rethrow(int step, std::uint32_t& seed) {
        for (std::size_t i = 0; i < discs.size(); ++i) {
            if ((step + static_cast<int>(i) * flightSteps / static_cast<int>(discs.size())) % flightSteps == 0) {
                const Pose pose = throwPose(static_cast<int>(i), seed);
                discs[i]->setGlobalPose(pose);
                discs[i]->setLinearVelocity(throwVelocity(pose, seed));
                discs[i]->setAngularVelocity(glm::vec3(0.0f));
            }
        }
    }

    void movePlayers(int step) {
        for (int p = 0; p < 2; ++p) {
            controllers[p]->move(walkDisplacement(p, step), 0.001f, dt);
            hitboxes[p]->setKinematicTarget(Pose(glm::vec3(controllers[p]->getPosition()) - glm::vec3(0.0f, 0.45f, 0.0f)));
        }
    }

    PhysicsWorld world;
    CapsuleController* controllers[2] = {};
    RigidBody* hitboxes[2] = {};
    std::vector<RigidBody*> discs;
};

class BareScene {
public:
    explicit BareScene(int frisbees) {
        bare.addLevel(arenaLevel());
        for (int p = 0; p < 2; ++p) {
            const glm::vec3 centre = spawns[p] + glm::vec3(0.0f, centreHeight, 0.0f);
            capsules[p] = bare.addCapsule(0.39f, 1.18f, centre);
            hitboxes[p] = bare.addHitbox(hitboxHalf, centre - glm::vec3(0.0f, 0.45f, 0.0f));
        }
        std::uint32_t seed = 1;
        for (int i = 0; i < frisbees; ++i) {
            const Pose pose = throwPose(i, seed);
            discs.push_back(bare.addFrisbee(frisbeeHalfExtents, pose, throwVelocity(pose, seed)));
        }
    }

    void rethrow(int step, std::uint32_t& seed) {
        for (std::size_t i = 0; i < discs.size(); ++i) {
            if ((step + static_cast<int>(i) * flightSteps / static_cast<int>(discs.size())) % flightSteps == 0) {
                const Pose pose = throwPose(static_cast<int>(i), seed);
                bare.rethrow(discs[i], pose, throwVelocity(pose, seed));
            }
        }
    }

    // The capsules go where our controllers went: the same bodies in the same places.
    void movePlayers(const OurScene& ours) {
        for (int p = 0; p < 2; ++p) {
            const glm::vec3 centre(ours.controllers[p]->getPosition());
            bare.moveKinematic(capsules[p], centre);
            bare.moveKinematic(hitboxes[p], centre - glm::vec3(0.0f, 0.45f, 0.0f));
        }
    }

    BulletBaseline bare;
    std::size_t capsules[2] = {};
    std::size_t hitboxes[2] = {};
    std::vector<std::size_t> discs;
};

double elapsedMicroseconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - since).count();
}

void fixedStep(benchmark::State& state) {
    const int frisbees = static_cast<int>(state.range(0));
    OurScene ours(frisbees);
    BareScene bare(frisbees);
    std::uint32_t ourSeed = 7;
    std::uint32_t bareSeed = 7;
    int step = 0;
    // Past the first throws' landings and the pools' growth: the steady state of a match.
    for (; step < 2 * flightSteps; ++step) {
        ours.rethrow(step, ourSeed);
        ours.movePlayers(step);
        ours.world.step(dt);
        bare.rethrow(step, bareSeed);
        bare.movePlayers(ours);
        bare.bare.step(dt);
    }
    double worldTime = 0.0;
    double moveTime = 0.0;
    double bareTime = 0.0;
    std::size_t allocations = 0;
    for (auto _ : state) {
        const std::size_t before = heapAllocations();
        ours.rethrow(step, ourSeed);
        auto start = std::chrono::steady_clock::now();
        ours.movePlayers(step);
        moveTime += elapsedMicroseconds(start);
        start = std::chrono::steady_clock::now();
        ours.world.step(dt);
        worldTime += elapsedMicroseconds(start);
        allocations += heapAllocations() - before;

        bare.rethrow(step, bareSeed);
        bare.movePlayers(ours);
        start = std::chrono::steady_clock::now();
        bare.bare.step(dt);
        bareTime += elapsedMicroseconds(start);
        ++step;
    }
    const double steps = static_cast<double>(state.iterations());
    state.counters["world_us"] = worldTime / steps;
    state.counters["bare_us"] = bareTime / steps;
    state.counters["ratio"] = bareTime > 0.0 ? worldTime / bareTime : 0.0;
    state.counters["moves_us"] = moveTime / steps;
    state.counters["allocs_per_step"] = static_cast<double>(allocations) / steps;
}

BENCHMARK(fixedStep)->Name("FixedStep/frisbees")->Arg(0)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);
} // namespace
