#include "engine/physics/PhysicsWorld.h"

#include "tests/engine/physics/ReboundMeter.h"
#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestLevels.h"
#include "tests/engine/physics/TestMatch.h"
#include "tests/engine/physics/TestTable.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <glm/geometric.hpp>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Levels as modelling tools export them, not only closed solids wound outwards: an open grid (a
// terrain floor) either way round, a wall of two faces laid back to back in one mesh and in two, a
// thin closed panel, a closed box wound inwards and the arena wound inside out. Each must be as
// solid as a closed solid wound outwards, from every side a body can reach. The faults caught: a
// triangle of an open sheet taken as one-sided by its winding, faces laid back to back taken as
// covering each other and dropped, and a solid wound inwards met only from inside; each lets a disc
// fly through the level.
namespace {
constexpr float dt = 1.0f / 60.0f;
constexpr int steps = 20;
constexpr float depthLimit = 0.02f;
// The pair's restitution along the normal: the level's 0 and a disc's 0.6 averaged.
constexpr float restitution = 0.3f;
const glm::vec3 up(0.0f, 1.0f, 0.0f);
const glm::vec3 east(1.0f, 0.0f, 0.0f);
// How far the player capsule's sweeps reach from its axis.
constexpr float sweptReach = playerRadius + CapsuleController::contactOffset;

// A surface of a small level, where discs and the capsule meet it. Every level has its ground at
// y = 0.
struct Surface {
    const char* name;
    std::function<std::vector<LevelMesh>()> level;
    glm::vec3 middle; // where they meet it; inside a solid, halfway between its two faces
    glm::vec3 normal; // unit: out of a solid; for a sheet, the side its triangles face
    float halfThickness; // from middle to the face on either side, metres; 0 for a sheet
    float extent;        // how far the surface reaches at least round middle, metres
    bool backReachable;  // false for a closed solid, whose back is inside it
};

const std::vector<LevelMesh>& arenaInsideOut() {
    static const std::vector<LevelMesh> level = windingReversed(arenaLevel());
    return level;
}

// The ground the walls stand on, so that the capsule can walk up to them.
std::vector<LevelMesh> onTheFloor(std::vector<LevelMesh> wall) {
    wall.push_back(floorMesh(50.0f));
    return wall;
}

std::vector<Surface> surfaces() {
    // 6 m square in the plane x = 0, facing +x, from the floor up.
    const glm::vec3 corner(0.0f, 0.0f, -3.0f), height(0.0f, 6.0f, 0.0f), width(0.0f, 0.0f, 6.0f);
    const glm::vec3 wallMiddle(0.0f, 3.0f, 0.0f);
    // The middle of a square next to the grid's centre: no rim within 4 m.
    const glm::vec3 inASquare(0.5f, 0.0f, 0.5f);
    const auto grid = [] { return gridMesh(10, 1.0f); };
    return {
        {"open grid", [=] { return std::vector<LevelMesh>{grid()}; }, inASquare, up, 0.0f, 4.0f, true},
        {"open grid wound downwards", [=] { return windingReversed({grid()}); }, inASquare, -up, 0.0f, 4.0f, true},
        {"back-to-back quads in one mesh", [=] { return onTheFloor({backToBackMesh(corner, height, width)}); },
         wallMiddle, east, 0.0f, 2.5f, true},
        {"back-to-back quads in two meshes",
         [=] {
             const LevelMesh front = sheetMesh(corner, height, width);
             return onTheFloor({front, windingReversed({front}).front()});
         },
         wallMiddle, east, 0.0f, 2.5f, true},
        {"closed panel 5 cm thick",
         [] { return onTheFloor({boxMesh(glm::vec3(-0.025f, 0.0f, -3.0f), glm::vec3(0.025f, 6.0f, 3.0f))}); },
         wallMiddle, east, 0.025f, 2.5f, true},
        {"closed box wound inwards",
         [] {
             return onTheFloor(windingReversed({boxMesh(glm::vec3(-4.0f, 0.0f, -3.0f), glm::vec3(0.0f, 6.0f, 3.0f))}));
         },
         wallMiddle, east, 0.0f, 2.5f, false},
        {"arena inside out, east wall", arenaInsideOut, arenaWallFace, -east, 0.0f, 1.5f, false},
        {"arena inside out, open floor", arenaInsideOut, arenaOpenFloor, up, 0.0f, 2.0f, false},
    };
}

// One side of a surface: what a body coming from there meets.
struct Approach {
    const Surface* surface;
    float side; // 1 from the side the normal points to, -1 from behind

    // Unit, from the surface towards the body.
    glm::vec3 towards() const { return side * surface->normal; }
    // A point of the face the body meets.
    glm::vec3 face() const { return surface->middle + towards() * surface->halfThickness; }
    // How far the point lies in front of that face, metres; below 0 past it.
    float clearance(const glm::vec3& point) const { return glm::dot(point - face(), towards()); }
    // Whether the point lies over the surface, not beyond its rim.
    bool over(const glm::vec3& point) const {
        const glm::vec3 offset = point - surface->middle;
        return glm::length(offset - surface->normal * glm::dot(offset, surface->normal)) <= surface->extent;
    }
    std::string name() const {
        const glm::vec3 from = towards();
        const int axis = std::abs(from.x) > 0.5f ? 0 : std::abs(from.y) > 0.5f ? 1 : 2;
        return std::string(surface->name) + ", from " + (from[axis] > 0.0f ? "+" : "-") + "xyz"[axis];
    }
};

std::vector<Approach> approaches(const std::vector<Surface>& all) {
    std::vector<Approach> found;
    for (const Surface& surface : all) {
        found.push_back({&surface, 1.0f});
        if (surface.backReachable) {
            found.push_back({&surface, -1.0f});
        }
    }
    return found;
}

struct Impact {
    Approach approach;
    DiscFacing facing;
    float speed; // metres per second, straight at the face
    Gap gap;
};

std::string nameOf(const Impact& impact) {
    return impact.approach.name() + ", " + nameOf(impact.facing) + ", " +
           std::to_string(static_cast<int>(impact.speed)) + " m/s, " + nameOf(impact.gap);
}

// How far the disc at pose reaches past the face, within the surface's extent; 0 when it does not.
float depthPast(const Approach& approach, const Pose& pose) {
    float deepest = 0.0f;
    for (const glm::vec3& point : discPoints(pose)) {
        if (approach.over(point)) {
            deepest = std::max(deepest, -approach.clearance(point));
        }
    }
    return deepest;
}

// What went wrong as the disc met the surface, empty when nothing did. Thrown straight at the face,
// a disc meets it evenly either side of its centre, so the centre's rebound is the contact's.
std::string play(const Impact& impact) {
    const Approach& approach = impact.approach;
    PhysicsWorld world;
    world.init();
    world.addRigidStatic(approach.surface->level());
    const glm::quat turn = turnOf(impact.facing);
    const float reach = discReach(Pose(turn, glm::vec3(0.0f)), approach.towards());
    const float gap = impact.gap.metres(impact.speed, dt);
    RigidBody* disc = throwFrisbee(world, Pose(turn, approach.face() + approach.towards() * (reach + gap)),
                                   -impact.speed * approach.towards());
    float deepest = 0.0f;
    ReboundMeter rebound;
    for (int step = 0; step < steps; ++step) {
        const float closing = glm::dot(disc->getLinearVelocity(), approach.towards());
        world.step(dt);
        if (approach.clearance(disc->getGlobalPose().position) <= 0.0f) {
            return "passed through at step " + std::to_string(step);
        }
        deepest = std::max(deepest, depthPast(approach, disc->getGlobalPose()));
        rebound.observe(closing, glm::dot(disc->getLinearVelocity(), approach.towards()));
    }
    std::string faults;
    if (deepest > depthLimit) {
        faults += "deepest " + std::to_string(deepest) + " m; ";
    }
    if (!rebound.near(restitution)) {
        faults += "rebound " + std::to_string(rebound.ratio()) + "; ";
    }
    return faults;
}

std::vector<Impact> impacts(const std::vector<Surface>& all) {
    const Gap onTheFace{0, 0.0f};
    const Gap endsOnTheFace{2, 0.0f};
    const Gap ends6mmPast{2, -0.006f};
    std::vector<Impact> table;
    for (const Approach& approach : approaches(all)) {
        for (const DiscFacing facing : {DiscFacing::Flat, DiscFacing::FaceFirst}) {
            for (const float speed : {10.0f, 40.0f}) {
                for (const Gap& gap : {onTheFace, endsOnTheFace, ends6mmPast}) {
                    table.push_back({approach, facing, speed, gap});
                }
            }
        }
    }
    return table;
}

// The player's capsule on a level, moved as the player moves it: a horizontal velocity, and doubled
// gravity that builds up until a move reports ground below.
class Walker {
public:
    Walker(const std::vector<LevelMesh>& level, const glm::vec3& foot) {
        world.init();
        world.addRigidStatic(level);
        capsule = world.createCapsuleController(playerRadius, playerHeight);
        capsule->setFootPosition(glm::dvec3(foot));
    }

    void walk(const glm::vec3& velocity) {
        const bool grounded = flags & ControllerCollisionFlag::CollisionDown;
        fallSpeed = grounded ? 0.0f : fallSpeed + 2.0f * world.getGravity().y * dt;
        flags = capsule->move(velocity * dt + glm::vec3(0.0f, fallSpeed * dt, 0.0f), 0.001f, dt);
        world.step(dt);
    }

    glm::vec3 foot() const { return glm::vec3(capsule->getFootPosition()); }

    ControllerCollisionFlags flags = 0; // of the last move

private:
    PhysicsWorld world;
    CapsuleController* capsule = nullptr;
    float fallSpeed = 0.0f;
};

// What went wrong as the capsule walked 6 m at 4 m/s from 3 m off, empty when nothing did: over a
// floor along x, dropped onto it from 0.3 m; at a wall straight on, along the ground.
std::string walk(const Approach& approach) {
    const bool onFloor = approach.towards().y > 0.5f;
    const glm::vec3 middle = approach.surface->middle;
    const glm::vec3 start = onFloor ? middle + glm::vec3(-3.0f, 0.3f, 0.0f)
                                    : glm::vec3(middle.x, 0.0f, middle.z) + 3.0f * approach.towards();
    Walker walker(approach.surface->level(), start);
    // The swept capsule touches a floor with its foot and a wall with its side.
    const float keep = onFloor ? 0.0f : sweptReach;
    for (int step = 0; step < 90; ++step) {
        walker.walk(4.0f * (onFloor ? east : -approach.towards()));
        const float past = keep - approach.clearance(walker.foot());
        if (past > 0.005f) {
            return std::to_string(past) + " m past the face at step " + std::to_string(step);
        }
    }
    const float off = approach.clearance(walker.foot()) - keep;
    const ControllerCollisionFlags touch =
        onFloor ? ControllerCollisionFlag::CollisionDown : ControllerCollisionFlag::CollisionSides;
    std::string faults;
    if (std::abs(off) > 0.01f || !(walker.flags & touch)) {
        faults += "ends " + std::to_string(off) + " m off the face, flags " + std::to_string(walker.flags) + "; ";
    }
    if (onFloor && walker.foot().x - start.x < 5.0f) {
        faults += "walked only " + std::to_string(walker.foot().x - start.x) + " m; ";
    }
    return faults;
}

TEST(OpenLevel, DiscsMeetEverySurfaceFromEverySideItCanBeReached) {
    const std::vector<Surface> all = surfaces();
    const auto name = [](const Impact& impact) { return nameOf(impact); };
    EXPECT_EQ(failuresOf(impacts(all), play, name), "");
}

// The capsule's sweeps meet every triangle whatever its winding. The fault caught: the players lose
// a floor or a wall to the level's sides, as they would to sweeps that met the faces of closed
// solids from the front only (then the grid wound downwards, the box wound inwards and the arena
// inside out let the capsule through).
TEST(OpenLevel, ThePlayerStandsOnEveryFloorAndIsStoppedByEveryWall) {
    const std::vector<Surface> all = surfaces();
    std::vector<Approach> walks = approaches(all);
    std::erase_if(walks, [](const Approach& approach) { return approach.towards().y <= -0.5f; });
    EXPECT_EQ(failuresOf(walks, walk, [](const Approach& approach) { return approach.name(); }), "");
}
} // namespace
