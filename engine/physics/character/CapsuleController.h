#pragma once

#include "engine/NonCopyable.h"
#include "engine/physics/contacts/CollisionGroup.h"

#include <cstdint>
#include <glm/vec3.hpp>
#include <memory>
#include <optional>

class ControllerSweep;
class PhysicsErrorCallback;
class RigidBody;
struct SweepHit;

// What a character controller's sweeps see: the static level and the kinematic and dynamic bodies
// that take part in queries (other controllers' capsules; frisbees and hitboxes do not).
// filterData, when given, must share a bit with a shape's query filter data.
struct ControllerFilters {
    const FilterData* filterData = nullptr;
    bool includeStatic = true;
    bool includeDynamic = true;
};

using ControllerCollisionFlags = std::uint8_t;

struct ControllerCollisionFlag {
    static constexpr ControllerCollisionFlags CollisionSides = 1;
    static constexpr ControllerCollisionFlags CollisionUp = 2;
    static constexpr ControllerCollisionFlags CollisionDown = 4;
};

struct ControllerState {
    ControllerCollisionFlags collisionFlags = 0; // of the last move
    bool isMovingUp = false;                     // the last move went up and met no ceiling
};

// An upright capsule (up is +y) moved by collide-and-slide instead of being simulated: the player.
// It collides with the level and other controllers (at their full size); a kinematic capsule body
// of group Player, scaled by scaleCoeff, follows it, so dynamic bodies collide solidly with it.
// Positions are in double precision, as the game's positions are handed over; the capsule's centre
// is its position.
class CapsuleController : public NonCopyable {
public:
    // How far the capsule keeps from what it touches, metres. The sweeps use a capsule this much
    // larger, so the real capsule never rests in contact (where sweeps lose their normals).
    static constexpr float contactOffset = 0.1f;
    // The highest step climbed by walking, metres: each move with sideways motion first rises by it
    // and comes back down onto what is below. Higher makes table tops walkable.
    static constexpr float stepOffset = 0.5f;
    // The smallest up component of a surface's normal that can be walked on: cos 45 degrees. A step
    // that lands on anything steeper is undone (no climbing of steep slopes).
    static constexpr float slopeLimit = 0.707f;
    // The size of the capsule body that dynamic bodies collide with, relative to the controller's
    // capsule. At 1 a disc bounces off empty air above the dog's head and beside its flanks.
    static constexpr float scaleCoeff = 0.8f;

    CapsuleController(RigidBody& actor, std::unique_ptr<ControllerSweep> sweep, PhysicsErrorCallback& errors,
                      float radius, float height);
    ~CapsuleController();

    // Moves by displacement (metres): an up pass (the step offset, and any upward motion), a sideways
    // pass sliding along what it meets, and a down pass (the step offset back, and any downward
    // motion). Motions shorter than minDist are not made. Returns and keeps the collision flags.
    // elapsedTime is the time the displacement covers; nothing here depends on it.
    ControllerCollisionFlags move(const glm::vec3& displacement, float minDist, float elapsedTime,
                                  const ControllerFilters& filters = {});

    // Puts the capsule's centre there without sweeping; false and unchanged when not finite.
    bool setPosition(const glm::dvec3& position);
    const glm::dvec3& getPosition() const { return position; }
    // The bottom of the swept capsule: centre - up * (height / 2 + radius + contactOffset).
    bool setFootPosition(const glm::dvec3& position);
    glm::dvec3 getFootPosition() const;

    ControllerState getState() const { return state; }
    RigidBody* getActor() const { return &actor; }
    float getRadius() const { return radius; }
    float getHeight() const { return height; }

private:
    struct Attempt;
    Attempt attempt(const glm::vec3& displacement, float minDist, float step, const ControllerFilters& filters) const;
    // Moves centre along motion up to the first surface; the surface, if one stopped it.
    std::optional<SweepHit> travel(glm::vec3& centre, const glm::vec3& motion, const ControllerFilters& filters) const;
    // Whether a step up may end on what the down pass met: a walkable face (the face beyond an edge
    // the round bottom rests on counts) no higher than the step offset above the foot.
    bool mayClimbOnto(const SweepHit& hit, const glm::vec3& start, const ControllerFilters& filters) const;
    void slide(glm::vec3& centre, const glm::vec3& motion, float minDist, const ControllerFilters& filters,
               ControllerCollisionFlags& flags) const;
    double footOffset() const;

    RigidBody& actor;
    std::unique_ptr<ControllerSweep> sweep;
    PhysicsErrorCallback& errors;
    float radius;
    float height;
    glm::dvec3 position{0.0};
    ControllerState state;
};
