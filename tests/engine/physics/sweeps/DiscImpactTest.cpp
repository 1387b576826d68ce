#include "engine/physics/PhysicsWorld.h"

#include "tests/engine/physics/LevelProbe.h"
#include "tests/engine/physics/ReboundMeter.h"
#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestLevels.h"
#include "tests/engine/physics/TestMatch.h"
#include "tests/engine/physics/TestTable.h"

#include <glm/geometric.hpp>
#include <gtest/gtest.h>
#include <string>

// A fast disc meeting what the game puts in its way: the arena's wall and floor, a player's
// capsule, a disc at rest in the air or asleep on the floor, and a disc coming the other way. Each
// case starts the disc some way off its target, on it, or already overlapping it by millimetres
// (where the last step's contact left it), and every step must end with the two solid: nothing
// passes through, nothing ends a step more than 2 cm inside the other, the rebound along the normal
// is the pair's restitution, two discs keep their momentum, and no energy comes from nowhere.
namespace {
constexpr float dt = 1.0f / 60.0f;
constexpr int steps = 20;
constexpr float depthLimit = 0.02f;

enum class Target { Wall, Floor, Capsule, DiscAtRest, DiscAsleepOnTheFloor, DiscHeadOn };

struct Impact {
    Target target;
    DiscFacing facing;
    float speed;        // of the thrown disc, metres per second; head on, of each disc
    float slant = 0.0f; // degrees below the horizontal, for the floor
    Gap gap{0, 0.0f};
    // Head on: the other disc turned about its axis (degrees) and raised (metres).
    float otherTurn = 0.0f;
    float otherAbove = 0.0f;
};

bool onTheArena(Target target) {
    return target == Target::Wall || target == Target::Floor || target == Target::DiscAsleepOnTheFloor;
}

bool againstADisc(Target target) {
    return target == Target::DiscAtRest || target == Target::DiscAsleepOnTheFloor || target == Target::DiscHeadOn;
}

// The pair's restitution along the normal: the level's 0 and a disc's 0.6 average to 0.3.
float restitutionOf(Target target) { return target == Target::Wall || target == Target::Floor ? 0.3f : 0.6f; }

// A disc landing at a slant on the edge that runs along its flight tips over that edge as friction
// holds it, and the turn lifts its centre faster than the edge rebounds: there the centre's rebound
// is not the pair's restitution, and only solidity and energy are judged.
bool reboundIsTheCentres(const Impact& impact) {
    return impact.target != Target::Floor || impact.slant >= 90.0f || impact.facing != DiscFacing::FaceFirst;
}

std::string nameOf(const Impact& impact) {
    const char* targets[] = {"wall", "floor", "capsule", "disc at rest", "disc asleep on the floor", "disc head on"};
    return std::string(targets[static_cast<int>(impact.target)]) + ", " + nameOf(impact.facing) + ", " +
           std::to_string(static_cast<int>(impact.speed)) + " m/s, " + std::to_string(static_cast<int>(impact.slant)) +
           " deg, " + nameOf(impact.gap) +
           (impact.otherTurn != 0.0f ? ", the other turned " + std::to_string(impact.otherTurn) + " deg" : "") +
           (impact.otherAbove != 0.0f ? ", " + std::to_string(impact.otherAbove) + " m higher" : "");
}

const std::vector<LevelMesh>& arena() {
    static const std::vector<LevelMesh> level = arenaLevel();
    return level;
}

// One case played out: the world, the disc, and what it meets.
class ImpactRun {
public:
    explicit ImpactRun(const Impact& impact) : impact(impact) {
        world.init();
        if (onTheArena(impact.target)) {
            world.addRigidStatic(arena());
        }
        const glm::vec3 along = direction();
        const float discs = impact.target == Target::DiscHeadOn ? 2.0f : 1.0f;
        const float closing = impact.speed * -glm::dot(along, normal()) * discs;
        const float gap = impact.gap.metres(closing, dt);
        const glm::quat turn = turnOf(impact.facing);
        const float reach = discReach(Pose(turn, glm::vec3(0.0f)), -normal());
        switch (impact.target) {
        case Target::Wall:
            disc = throwFrisbee(world, Pose(turn, arenaWallFace + normal() * (reach + gap)), impact.speed * along);
            break;
        case Target::Floor:
            disc = throwFrisbee(world, Pose(turn, arenaOpenFloor + normal() * (reach + gap)), impact.speed * along);
            break;
        case Target::Capsule:
            capsule = world.createCapsuleController(playerRadius, playerHeight);
            capsule->setPosition(glm::dvec3(0.0));
            disc = throwFrisbee(world, Pose(turn, glm::vec3(-(bodyCapsuleRadius + gap + reach), 0.0f, 0.0f)),
                                impact.speed * along);
            break;
        default:
            throwAtADisc(turn, gap, reach);
            break;
        }
    }

    // From the target towards the disc.
    glm::vec3 normal() const {
        return impact.target == Target::Floor ? glm::vec3(0.0f, 1.0f, 0.0f) : glm::vec3(-1.0f, 0.0f, 0.0f);
    }

    glm::vec3 direction() const {
        if (impact.target == Target::Floor) {
            const float slant = glm::radians(impact.slant);
            return glm::vec3(-std::cos(slant), -std::sin(slant), 0.0f);
        }
        return glm::vec3(1.0f, 0.0f, 0.0f);
    }

    // How deep the disc is in its target, metres.
    float depth() const {
        const Pose pose = disc->getGlobalPose();
        switch (impact.target) {
        case Target::Wall:
        case Target::Floor:
            return probe.deepest(discPoints(pose));
        case Target::Capsule:
            return depthInCapsule(pose);
        default:
            return std::max(depthInOther(pose, other->getGlobalPose()), depthInOther(other->getGlobalPose(), pose));
        }
    }

    bool passedThrough() const {
        const glm::vec3 at = disc->getGlobalPose().position;
        switch (impact.target) {
        case Target::Wall:
            return at.x >= arenaWallFace.x;
        case Target::Floor:
            return at.y <= arenaOpenFloor.y;
        case Target::Capsule:
            return at.x >= static_cast<float>(capsule->getPosition().x);
        default:
            return at.x >= other->getGlobalPose().position.x;
        }
    }

    // The disc's velocity relative to its target along the normal: below 0 while they close in.
    float closingVelocity() const {
        const glm::vec3 relative = disc->getLinearVelocity() - (other ? other->getLinearVelocity() : glm::vec3(0.0f));
        return glm::dot(relative, normal());
    }

    // Along the ground: gravity and the floor change the rest.
    glm::vec2 momentum() const {
        glm::vec3 sum = disc->getMass() * disc->getLinearVelocity();
        if (other) {
            sum += other->getMass() * other->getLinearVelocity();
        }
        return glm::vec2(sum.x, sum.z);
    }

    // Kinetic energy less the work gravity has done since the start: it may only fall.
    float energy() const {
        const auto of = [&](const RigidBody& body) {
            return kineticEnergy(body) - body.getMass() * glm::dot(world.getGravity(), body.getGlobalPose().position);
        };
        return of(*disc) + (other ? of(*other) : 0.0f);
    }

    Impact impact;
    PhysicsWorld world;
    LevelProbe probe{arena()};
    RigidBody* disc = nullptr;
    RigidBody* other = nullptr;
    CapsuleController* capsule = nullptr;

private:
    // The other disc ahead along x: still in the air, asleep on the floor (it lay there for 3 s
    // before the throw), or flying the other way.
    void throwAtADisc(const glm::quat& turn, float gap, float reach) {
        const bool headOn = impact.target == Target::DiscHeadOn;
        glm::vec3 at(0.0f);
        if (impact.target == Target::DiscAsleepOnTheFloor) {
            at = arenaOpenFloor + glm::vec3(0.0f, discReach(Pose(turn, glm::vec3(0.0f)), glm::vec3(0.0f, -1.0f, 0.0f)), 0.0f);
            other = throwFrisbee(world, Pose(turn, at), glm::vec3(0.0f));
            for (int i = 0; i < 180; ++i) {
                world.step(dt);
            }
            at = other->getGlobalPose().position;
        }
        const glm::quat turnOfOther =
            glm::angleAxis(glm::radians(impact.otherTurn), glm::vec3(0.0f, 1.0f, 0.0f)) * turn;
        // Where the other's surface crosses the line of flight: between two of its points when turned.
        const float otherReach = discRadius(Pose(turnOfOther, glm::vec3(0.0f)), normal());
        const float offset = headOn ? 0.5f * (gap + reach + otherReach) : gap + 2.0f * reach;
        disc = throwFrisbee(world, Pose(turn, at - glm::vec3(offset, 0.0f, 0.0f)), impact.speed * direction());
        if (!other) {
            other = throwFrisbee(world,
                                 Pose(turnOfOther, at + glm::vec3(headOn ? offset : 0.0f, impact.otherAbove, 0.0f)),
                                 headOn ? -impact.speed * direction() : glm::vec3(0.0f));
        }
    }

    float depthInCapsule(const Pose& pose) const {
        float deepest = 0.0f;
        const glm::vec3 axis(capsule->getPosition());
        for (const glm::vec3& point : discPoints(pose)) {
            const float height = glm::clamp(point.y, axis.y - bodyCapsuleHalfHeight, axis.y + bodyCapsuleHalfHeight);
            deepest = std::max(deepest, bodyCapsuleRadius - glm::distance(point, glm::vec3(axis.x, height, axis.z)));
        }
        return deepest;
    }

    static float depthInOther(const Pose& pose, const Pose& otherPose) {
        float deepest = 0.0f;
        for (const glm::vec3& point : discPoints(pose)) {
            deepest = std::max(deepest, depthInDisc(otherPose, point));
        }
        return deepest;
    }
};

// What went wrong in a case, empty when nothing did.
std::string play(const Impact& impact) {
    ImpactRun run(impact);
    const float energyBefore = run.energy();
    float deepest = 0.0f;
    ReboundMeter rebound;
    glm::vec2 momentumBefore(0.0f);
    glm::vec2 momentumAfter(0.0f);
    for (int step = 0; step < steps; ++step) {
        const float closing = run.closingVelocity();
        if (!rebound.parted()) {
            momentumBefore = run.momentum();
        }
        run.world.step(dt);
        if (run.passedThrough()) {
            return "passed through at step " + std::to_string(step);
        }
        deepest = std::max(deepest, run.depth());
        // Taken across the step in which the two part, as the rebound: the floor's friction slows
        // discs on it.
        if (rebound.observe(closing, run.closingVelocity())) {
            momentumAfter = run.momentum();
        }
        if (run.energy() > energyBefore * 1.01f + 0.01f) {
            return "gained energy at step " + std::to_string(step);
        }
    }
    std::string faults;
    if (deepest > depthLimit) {
        faults += "deepest " + std::to_string(deepest) + " m; ";
    }
    const float restitution = restitutionOf(impact.target);
    if (reboundIsTheCentres(impact) && !rebound.near(restitution)) {
        faults += "rebound " + std::to_string(rebound.ratio()) + "; ";
    }
    // On the floor, friction of 1.25 may take up to 1.25 g dt from each disc in that step.
    const float friction = impact.target == Target::DiscAsleepOnTheFloor ? 2.0f * 1.25f * 9.81f * dt : 0.0f;
    const float kept = run.disc->getMass() * (0.01f * impact.speed + friction);
    if (againstADisc(impact.target) && glm::length(momentumAfter - momentumBefore) > kept) {
        faults += "momentum changed by " + std::to_string(glm::length(momentumAfter - momentumBefore)) + "; ";
    }
    return faults;
}

std::vector<Impact> impacts() {
    const Gap onTheFace{0, 0.0f};
    const Gap overlaps1mm{0, -0.001f};
    const Gap overlaps5mm{0, -0.005f};
    const Gap clear5mm{0, 0.005f};
    const Gap endsOnTheFace{2, 0.0f};
    const Gap ends6mmInside{2, -0.006f};
    const Gap ends12mmInside{2, -0.012f};
    const std::vector<Gap> allGaps{onTheFace,     overlaps1mm,   overlaps5mm,   clear5mm,
                                   endsOnTheFace, ends6mmInside, ends12mmInside};
    std::vector<Impact> table;
    for (const DiscFacing facing : {DiscFacing::Flat, DiscFacing::OnEdge, DiscFacing::FaceFirst}) {
        for (const float speed : {40.0f, 60.0f}) {
            for (const Gap& gap : allGaps) {
                table.push_back({Target::Wall, facing, speed, 0.0f, gap});
                table.push_back({Target::Capsule, facing, speed, 0.0f, gap});
            }
            for (const float slant : {45.0f, 90.0f}) {
                for (const Gap& gap : {onTheFace, overlaps1mm, overlaps5mm, ends6mmInside}) {
                    table.push_back({Target::Floor, facing, speed, slant, gap});
                }
            }
        }
    }
    for (const DiscFacing facing : {DiscFacing::Flat, DiscFacing::FaceFirst}) {
        for (const Gap& gap : {Gap{0, -0.001f}, Gap{0, -0.004f}, Gap{0, -0.008f}, onTheFace, endsOnTheFace, ends6mmInside}) {
            table.push_back({Target::DiscHeadOn, facing, 60.0f, 0.0f, gap});
            table.push_back({Target::DiscHeadOn, facing, 40.0f, 0.0f, gap});
            table.push_back({Target::DiscAtRest, facing, 40.0f, 0.0f, gap});
        }
    }
    // Overlapping as the step begins, the thrown disc's point between two points of the other's star,
    // the other 5 cm higher: the hulls the sweeps meet overlap less across the discs' faces than along
    // the flight, so the overlap's own normal is upright, along which the two do not close. Only the
    // way they came together turns them back; else they pass through each other.
    for (const float speed : {40.0f, 60.0f}) {
        for (const Gap& gap : {Gap{0, -0.001f}, Gap{0, -0.004f}, Gap{0, -0.008f}}) {
            table.push_back({Target::DiscHeadOn, DiscFacing::Flat, speed, 0.0f, gap, 22.5f, 0.05f});
        }
    }
    // Flat, as a disc comes to rest; at the height of the other, sliding into it.
    for (const Gap& gap : {overlaps1mm, onTheFace, endsOnTheFace, ends6mmInside}) {
        table.push_back({Target::DiscAsleepOnTheFloor, DiscFacing::Flat, 40.0f, 0.0f, gap});
    }
    return table;
}

TEST(DiscImpact, EveryImpactEndsSolidWithThePairsRestitution) {
    const auto name = [](const Impact& impact) { return nameOf(impact); };
    EXPECT_EQ(failuresOf(impacts(), play, name), "");
}
} // namespace
