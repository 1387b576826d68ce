#include "engine/physics/PhysicsWorld.h"

#include "tests/engine/physics/LevelProbe.h"
#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestLevels.h"
#include "tests/engine/physics/TestTable.h"

#include <functional>
#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>
#include <gtest/gtest.h>
#include <string>

// A disc landing and sliding where the level's surfaces meet: the seam between two triangles of a
// flat floor, the join of two floor slabs, and the arena's crest where a platform's top meets a
// ramp. A seam is no edge: the disc slides on as over the rest of the floor, slowed by friction
// only. A crest is crossed as a crest: the disc follows the surface or leaves it, but is never
// thrown up steeper than the surface goes, stopped dead, frozen in place or sunk in.
namespace {
constexpr float dt = 1.0f / 60.0f;
constexpr int steps = 60;
constexpr float depthLimit = 0.02f;

struct Slide {
    const char* name;
    std::function<std::vector<LevelMesh>()> level;
    DiscFacing facing;
    Pose start;
    glm::vec3 velocity;
    float steepest; // degrees: of the steepest surface the disc slides over
};

// 5 degrees down at speed along heading, landing on the floor at the origin after 0.3 s.
Pose landingAtTheOrigin(DiscFacing facing, const glm::vec3& velocity) {
    const float flight = 0.3f;
    const glm::quat turn = turnOf(facing);
    const glm::vec3 landing(0.0f, discReach(Pose(turn, glm::vec3(0.0f)), glm::vec3(0.0f, -1.0f, 0.0f)), 0.0f);
    return Pose(turn, landing - velocity * flight + 0.5f * glm::vec3(0.0f, 9.81f, 0.0f) * flight * flight);
}

glm::vec3 shallowly(float speed, const glm::vec3& heading) {
    return speed * (std::cos(glm::radians(5.0f)) * heading + glm::vec3(0.0f, -std::sin(glm::radians(5.0f)), 0.0f));
}

Slide overTheSeam(const char* name, DiscFacing facing, float speed, const glm::vec3& heading) {
    const glm::vec3 velocity = shallowly(speed, heading);
    return {name, [] { return std::vector<LevelMesh>{floorMesh(200.0f)}; }, facing, landingAtTheOrigin(facing, velocity),
            velocity, 0.0f};
}

// Already sliding flat across the seam at speed, its leading point 5 mm short of it.
Slide intoTheSeam(float speed) {
    const glm::vec3 across(glm::sqrt(0.5f), 0.0f, -glm::sqrt(0.5f));
    const float back = discReach(Pose(), across) + 0.005f;
    return {"into the seam, 5 mm short of it", [] { return std::vector<LevelMesh>{floorMesh(200.0f)}; },
            DiscFacing::Flat, Pose(glm::vec3(0.0f, frisbeeHalfExtents.y, 0.0f) - back * across), speed * across, 0.0f};
}

std::vector<Slide> slides() {
    const float diagonal = glm::sqrt(0.5f);
    const glm::vec3 acrossTheJoin = shallowly(20.0f, glm::vec3(1.0f, 0.0f, 0.0f));
    const glm::vec3 alongTheSeam(diagonal, 0.0f, diagonal);
    const glm::vec3 acrossTheSeam(diagonal, 0.0f, -diagonal);
    const auto slabs = [] {
        return std::vector<LevelMesh>{boxMesh(glm::vec3(-200.0f, -1.0f, -200.0f), glm::vec3(0.5f, 0.0f, 200.0f)),
                                      boxMesh(glm::vec3(0.5f, -1.0f, -200.0f), glm::vec3(200.0f, 0.0f, 200.0f))};
    };
    // The arena's west base, 2 m high, and the 30 degree ramp north of it from z = 8.1 to 11.56.
    const float slope = glm::radians(30.0f);
    const glm::quat onTheSlope = glm::angleAxis(slope, glm::vec3(1.0f, 0.0f, 0.0f));
    const float rampZ = 10.0f;
    const glm::vec3 onTheRamp(-35.0f, (11.564f - rampZ) * std::tan(slope), rampZ);
    std::vector<Slide> table{
        overTheSeam("along the seam", DiscFacing::Flat, 60.0f, alongTheSeam),
        overTheSeam("along the seam", DiscFacing::Flat, 40.0f, alongTheSeam),
        overTheSeam("across the seam", DiscFacing::Flat, 60.0f, acrossTheSeam),
        overTheSeam("across the seam at a slant", DiscFacing::Flat, 60.0f, glm::vec3(std::cos(0.3f), 0.0f, -std::sin(0.3f))),
        overTheSeam("along the seam", DiscFacing::OnEdge, 60.0f, alongTheSeam),
        overTheSeam("across the seam", DiscFacing::FaceFirst, 60.0f, acrossTheSeam),
        {"over the join of two slabs", slabs, DiscFacing::Flat, landingAtTheOrigin(DiscFacing::Flat, acrossTheJoin),
         acrossTheJoin, 0.0f},
        {"off a platform onto a ramp", arenaLevel, DiscFacing::Flat, Pose(glm::vec3(-35.0f, 2.053f, 6.0f)),
         glm::vec3(0.0f, 0.0f, 8.0f), 30.0f},
        {"up a ramp onto a platform", arenaLevel, DiscFacing::Flat,
         Pose(onTheSlope, onTheRamp + onTheSlope * glm::vec3(0.0f, 0.053f, 0.0f)),
         10.0f * glm::vec3(0.0f, std::sin(slope), -std::cos(slope)), 30.0f},
    };
    // About one slide across a seam in seven ends a step with the disc a few millimetres short of it,
    // where the triangle beyond already reaches the disc: that triangle must give it the floor to
    // slide on, not the seam as a side to stop at.
    for (const float speed : {3.0f, 8.0f, 20.0f}) {
        table.push_back(intoTheSeam(speed));
    }
    return table;
}

// What went wrong in the slide, empty when nothing did.
std::string play(const Slide& slide) {
    const std::vector<LevelMesh> level = slide.level();
    const LevelProbe probe(level);
    PhysicsWorld world;
    world.init();
    world.addRigidStatic(level);
    RigidBody* disc = throwFrisbee(world, slide.start, slide.velocity);
    float fastestFall = 0.0f;
    int heldSteps = 0;
    for (int step = 0; step < steps; ++step) {
        const glm::vec3 before = disc->getLinearVelocity();
        const glm::vec3 from = disc->getGlobalPose().position;
        fastestFall = std::max(fastestFall, -before.y);
        world.step(dt);
        const glm::vec3 after = disc->getLinearVelocity();
        const float depth = probe.deepest(discPoints(disc->getGlobalPose()));
        // Friction (1.25, the pair's) takes at most 1.25 times what the floor gives upwards, on a
        // slope a little more; a disc on its rim may take twice that, where part of the push turns it.
        const float grip = slide.facing == DiscFacing::Flat ? 1.25f : 2.5f;
        const float held = std::max(after.y - before.y - world.getGravity().y * dt, 0.0f);
        const float ground = glm::length(glm::vec2(before.x, before.z));
        const float slowed = ground - glm::length(glm::vec2(after.x, after.z));
        const float alongTheSlope = ground * std::tan(glm::radians(slide.steepest));
        const float allowedRise = std::max({before.y, 1.1f * 0.3f * fastestFall, alongTheSlope});
        const float moved = glm::distance(disc->getGlobalPose().position, from);
        const std::string at = " at step " + std::to_string(step);
        if (depth > depthLimit) {
            return std::to_string(depth) + " m deep" + at;
        }
        if (slowed > grip * held + (slide.steepest > 0.0f ? 0.5f : 0.1f)) {
            return "slowed by " + std::to_string(slowed) + " m/s" + at;
        }
        if (after.y > allowedRise + 0.2f) {
            return "thrown up at " + std::to_string(after.y) + " m/s" + at;
        }
        // A stop at a touch holds a disc for a step; a disc held for two is frozen.
        heldSteps = glm::length(before) > 1.0f && moved < 0.5f * glm::length(before) * dt ? heldSteps + 1 : 0;
        if (heldSteps > 1) {
            return "held in place" + at;
        }
    }
    return "";
}

TEST(DiscSlide, OverSeamsAndCrestsAsOverTheSurfacesTheyJoin) {
    const auto name = [](const Slide& slide) { return std::string(slide.name) + ", " + nameOf(slide.facing); };
    EXPECT_EQ(failuresOf(slides(), play, name), "");
}
} // namespace
