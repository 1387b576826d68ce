#include "engine/physics/PhysicsWorld.h"

#include "tests/engine/physics/LevelProbe.h"
#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestLevels.h"

#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>
#include <gtest/gtest.h>
#include <string>

// A fast disc meeting what the game puts in its way: the arena's wall and floor, a player's
// capsule, a disc at rest and a disc coming the other way. Each case starts the disc some way off
// its target, on it, or already overlapping it by millimetres (where the last step's contact left
// it), and every step must end with the two solid: nothing passes through, nothing ends a step more
// than 2 cm inside the other, the rebound along the normal is the pair's restitution, two discs
// keep their momentum, and no energy comes from nowhere.
namespace {
constexpr float dt = 1.0f / 60.0f;
constexpr int steps = 20;
constexpr float depthLimit = 0.02f;
// The capsule that dynamic bodies meet: the player's (0.39, 1.18), scaled by 0.8.
constexpr float capsuleRadius = 0.8f * 0.39f;
constexpr float capsuleHalfHeight = 0.8f * 0.59f;

enum class Target { Wall, Floor, Capsule, DiscAtRest, DiscHeadOn };

struct Orientation {
    const char* name;
    glm::quat turn;
};

// Flat (thin along y), on edge across the flight (thin along z), face first (thin along x).
const Orientation flat{"flat", glm::quat(1.0f, 0.0f, 0.0f, 0.0f)};
const Orientation onEdge{"on edge", glm::angleAxis(glm::half_pi<float>(), glm::vec3(1.0f, 0.0f, 0.0f))};
const Orientation faceFirst{"face first", glm::angleAxis(glm::half_pi<float>(), glm::vec3(0.0f, 0.0f, 1.0f))};

// Where the target's surface is when the first step begins: `steps` of the closing motion ahead of
// the disc's leading point, plus offset metres (0 on the surface, below 0 overlapping it). Two steps
// and a small negative offset is a disc arriving whose second step would end just inside.
struct Gap {
    int steps;
    float offset;
};

struct Impact {
    Target target;
    Orientation orientation;
    float speed;         // of the thrown disc, metres per second; head on, of each disc
    float slant = 0.0f;  // degrees below the horizontal, for the floor
    Gap gap{0, 0.0f};
};

// The pair's restitution along the normal: the level's 0 and a disc's 0.6 average to 0.3.
float restitutionOf(Target target) { return target == Target::Wall || target == Target::Floor ? 0.3f : 0.6f; }

// A disc landing at a slant on the edge that runs along its flight tips over that edge as friction
// holds it, and the turn lifts its centre faster than the edge rebounds: there the centre's rebound
// is not the pair's restitution, and only solidity and energy are judged.
bool reboundIsTheCentres(const Impact& impact) {
    return impact.target != Target::Floor || impact.slant >= 90.0f || impact.orientation.name != faceFirst.name;
}

std::string nameOf(const Impact& impact) {
    const char* targets[] = {"wall", "floor", "capsule", "disc at rest", "disc head on"};
    return std::string(targets[static_cast<int>(impact.target)]) + ", " + impact.orientation.name + ", " +
           std::to_string(static_cast<int>(impact.speed)) + " m/s, " + std::to_string(static_cast<int>(impact.slant)) +
           " deg, gap " + std::to_string(impact.gap.steps) + " steps " + std::to_string(impact.gap.offset * 1000.0f) + " mm";
}

// Every failure on a line of its own: a table's failures are read all together.
std::string linesOf(const std::vector<std::string>& failures) {
    std::string text;
    for (const std::string& failure : failures) {
        text += failure + "\n";
    }
    return text;
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
        const glm::vec3 along = direction();
        const float closing = impact.speed * -glm::dot(along, normal()) * (impact.target == Target::DiscHeadOn ? 2.0f : 1.0f);
        const float gap = impact.gap.steps * closing * dt + impact.gap.offset;
        const float reach = discReach(Pose(impact.orientation.turn, glm::vec3(0.0f)), -normal());
        switch (impact.target) {
        case Target::Wall:
        case Target::Floor: {
            world.addRigidStatic(arena());
            const glm::vec3 surface = impact.target == Target::Wall ? glm::vec3(54.0f, 1.5f, -15.0f) : glm::vec3(-10.0f, 0.0f, 25.0f);
            disc = throwFrisbee(world, Pose(impact.orientation.turn, surface + normal() * (reach + gap)), impact.speed * along);
            break;
        }
        case Target::Capsule:
            capsule = world.createCapsuleController(0.39f, 1.18f);
            capsule->setPosition(glm::dvec3(0.0));
            disc = throwFrisbee(world, Pose(impact.orientation.turn, glm::vec3(-(capsuleRadius + gap + reach), 0.0f, 0.0f)),
                                impact.speed * along);
            break;
        case Target::DiscAtRest:
        case Target::DiscHeadOn: {
            const bool headOn = impact.target == Target::DiscHeadOn;
            const float offset = headOn ? 0.5f * (gap + 2.0f * reach) : 0.0f;
            disc = throwFrisbee(world, Pose(impact.orientation.turn, glm::vec3(headOn ? -offset : -(gap + 2.0f * reach), 0.0f, 0.0f)),
                                impact.speed * along);
            other = throwFrisbee(world, Pose(impact.orientation.turn, glm::vec3(offset, 0.0f, 0.0f)),
                                 headOn ? -impact.speed * along : glm::vec3(0.0f));
            break;
        }
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
        float deepest = 0.0f;
        switch (impact.target) {
        case Target::Wall:
        case Target::Floor:
            return probe.deepest(discPoints(pose));
        case Target::Capsule:
            for (const glm::vec3& point : discPoints(pose)) {
                const glm::vec3 axis(capsule->getPosition());
                const glm::vec3 onAxis(axis.x, glm::clamp(point.y, axis.y - capsuleHalfHeight, axis.y + capsuleHalfHeight), axis.z);
                deepest = std::max(deepest, capsuleRadius - glm::distance(point, onAxis));
            }
            return deepest;
        default:
            for (const glm::vec3& point : discPoints(pose)) {
                deepest = std::max(deepest, depthInDisc(other->getGlobalPose(), point));
            }
            for (const glm::vec3& point : discPoints(other->getGlobalPose())) {
                deepest = std::max(deepest, depthInDisc(pose, point));
            }
            return deepest;
        }
    }

    bool passedThrough() const {
        const glm::vec3 at = disc->getGlobalPose().position;
        switch (impact.target) {
        case Target::Wall:
            return at.x >= 54.0f;
        case Target::Floor:
            return at.y <= 0.0f;
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

    glm::vec3 momentum() const {
        glm::vec3 sum = disc->getMass() * disc->getLinearVelocity();
        return other ? sum + other->getMass() * other->getLinearVelocity() : sum;
    }

    // Kinetic energy less the work gravity has done since the start: it may only fall.
    float energy() const {
        float total = kineticEnergy(*disc) - disc->getMass() * glm::dot(world.getGravity(), disc->getGlobalPose().position);
        if (other) {
            total += kineticEnergy(*other) - other->getMass() * glm::dot(world.getGravity(), other->getGlobalPose().position);
        }
        return total;
    }

    Impact impact;
    PhysicsWorld world;
    LevelProbe probe{arena()};
    RigidBody* disc = nullptr;
    RigidBody* other = nullptr;
    CapsuleController* capsule = nullptr;
};

// What went wrong in a case, empty when nothing did.
std::string play(const Impact& impact) {
    ImpactRun run(impact);
    const glm::vec3 momentumBefore = run.momentum();
    const float energyBefore = run.energy();
    float deepest = 0.0f;
    float rebound = -1.0f;
    for (int step = 0; step < steps; ++step) {
        const float closing = run.closingVelocity();
        run.world.step(dt);
        if (run.passedThrough()) {
            return "passed through at step " + std::to_string(step);
        }
        deepest = std::max(deepest, run.depth());
        if (rebound < 0.0f && closing < 0.0f && run.closingVelocity() >= 0.0f) {
            rebound = run.closingVelocity() / -closing;
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
    if (reboundIsTheCentres(impact) && std::abs(rebound - restitution) > 0.1f * restitution) {
        faults += "rebound " + std::to_string(rebound) + "; ";
    }
    const glm::vec3 change = run.momentum() - momentumBefore;
    if (run.other && glm::length(glm::vec2(change.x, change.z)) > 0.01f * run.disc->getMass() * impact.speed) {
        faults += "momentum changed by " + std::to_string(glm::length(change)) + "; ";
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
    const std::vector<Gap> allGaps{onTheFace, overlaps1mm, overlaps5mm, clear5mm, endsOnTheFace, ends6mmInside, ends12mmInside};
    std::vector<Impact> table;
    for (const Orientation& orientation : {flat, onEdge, faceFirst}) {
        for (const float speed : {40.0f, 60.0f}) {
            for (const Gap& gap : allGaps) {
                table.push_back({Target::Wall, orientation, speed, 0.0f, gap});
                table.push_back({Target::Capsule, orientation, speed, 0.0f, gap});
            }
            for (const float slant : {45.0f, 90.0f}) {
                for (const Gap& gap : {onTheFace, overlaps1mm, overlaps5mm, ends6mmInside}) {
                    table.push_back({Target::Floor, orientation, speed, slant, gap});
                }
            }
        }
    }
    for (const Orientation& orientation : {flat, faceFirst}) {
        for (const Gap& gap : {Gap{0, -0.001f}, Gap{0, -0.004f}, Gap{0, -0.008f}, onTheFace, endsOnTheFace, ends6mmInside}) {
            table.push_back({Target::DiscHeadOn, orientation, 60.0f, 0.0f, gap});
            table.push_back({Target::DiscHeadOn, orientation, 40.0f, 0.0f, gap});
            table.push_back({Target::DiscAtRest, orientation, 40.0f, 0.0f, gap});
        }
    }
    return table;
}

TEST(DiscImpact, EveryImpactEndsSolidWithThePairsRestitution) {
    std::vector<std::string> failures;
    const std::vector<Impact> table = impacts();
    for (const Impact& impact : table) {
        const std::string faults = play(impact);
        if (!faults.empty()) {
            failures.push_back(nameOf(impact) + ": " + faults);
        }
    }
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << table.size() << ":\n" << linesOf(failures);
}

struct Slide {
    const char* name;
    glm::vec3 heading; // horizontal, towards which the disc flies
    Orientation orientation;
    float speed;
};

// A floor of two triangles whose seam runs along x = z: a disc landing at a shallow angle slides
// along the seam or over it. The seam is no edge of the floor: the disc must slide on as over the
// rest of the floor, slowed by friction only, never stopped dead at the seam, sunk into it or thrown
// up off it.
TEST(DiscSlide, OverTheSeamOfAFlatFloorAsOverTheFloor) {
    const float diagonal = glm::sqrt(0.5f);
    const Slide slides[] = {
        {"along the seam", glm::vec3(diagonal, 0.0f, diagonal), flat, 60.0f},
        {"along the seam", glm::vec3(diagonal, 0.0f, diagonal), flat, 40.0f},
        {"across the seam", glm::vec3(diagonal, 0.0f, -diagonal), flat, 60.0f},
        {"across the seam at a slant", glm::vec3(std::cos(0.3f), 0.0f, -std::sin(0.3f)), flat, 60.0f},
        {"along the seam", glm::vec3(diagonal, 0.0f, diagonal), onEdge, 60.0f},
        {"across the seam", glm::vec3(diagonal, 0.0f, -diagonal), faceFirst, 60.0f},
    };
    const std::vector<LevelMesh> floor = {floorMesh(200.0f)};
    const LevelProbe probe(floor);
    std::vector<std::string> failures;
    for (const Slide& slide : slides) {
        PhysicsWorld world;
        world.init();
        world.addRigidStatic(floor);
        // 5 degrees down, landing on the seam at the origin after about a third of a second.
        const glm::vec3 velocity = slide.speed * (std::cos(glm::radians(5.0f)) * slide.heading +
                                                  glm::vec3(0.0f, -std::sin(glm::radians(5.0f)), 0.0f));
        const float flight = 0.3f;
        const glm::vec3 landing(0.0f, discReach(Pose(slide.orientation.turn, glm::vec3(0.0f)), glm::vec3(0.0f, -1.0f, 0.0f)), 0.0f);
        const glm::vec3 start = landing - velocity * flight - 0.5f * world.getGravity() * flight * flight;
        RigidBody* disc = throwFrisbee(world, Pose(slide.orientation.turn, start), velocity);
        std::string faults;
        float fastestFall = 0.0f;
        bool landed = false;
        for (int step = 0; step < 60 && faults.empty(); ++step) {
            const glm::vec3 before = disc->getLinearVelocity();
            fastestFall = std::max(fastestFall, -before.y);
            world.step(dt);
            const glm::vec3 after = disc->getLinearVelocity();
            const float depth = probe.deepest(discPoints(disc->getGlobalPose()));
            // Friction (1.25, the pair's) takes at most 1.25 times what the floor gives upwards; a disc
            // on its rim may take twice that, where part of the floor's push turns it instead.
            const float grip = slide.orientation.name == flat.name ? 1.25f : 2.5f;
            const float held = std::max(after.y - before.y - world.getGravity().y * dt, 0.0f);
            const float slowed = glm::length(glm::vec2(before.x, before.z)) - glm::length(glm::vec2(after.x, after.z));
            landed = landed || held > 0.0f;
            if (depth > depthLimit) {
                faults = std::to_string(depth) + " m deep at step " + std::to_string(step);
            } else if (slowed > grip * held + 0.1f) {
                faults = "slowed by " + std::to_string(slowed) + " m/s at step " + std::to_string(step);
            } else if (after.y > 1.1f * 0.3f * fastestFall + 0.2f) {
                faults = "thrown up at " + std::to_string(after.y) + " m/s at step " + std::to_string(step);
            }
        }
        if (!landed) {
            faults += " never landed";
        }
        if (!faults.empty()) {
            failures.push_back(std::string(slide.name) + ", " + slide.orientation.name + ", " + std::to_string(slide.speed) + ": " + faults);
        }
    }
    EXPECT_TRUE(failures.empty()) << linesOf(failures);
}
} // namespace
