#include "engine/physics/character/CapsuleController.h"

#include "engine/physics/Finite.h"
#include "engine/physics/PhysicsErrorCallback.h"
#include "engine/physics/RigidBody.h"
#include "engine/physics/character/ControllerSweep.h"

#include <algorithm>
#include <cmath>
#include <glm/geometric.hpp>

namespace {
// Kept between the swept capsule and what stopped it, on top of the sweep's own tolerance, so the
// next sweep starts clear of the surface instead of inside it.
constexpr float skin = 0.001f;
// Sideways slides per move: enough for a wall and then a corner.
constexpr int maxSlides = 4;
const glm::vec3 up(0.0f, 1.0f, 0.0f);
} // namespace

struct CapsuleController::Attempt {
    glm::vec3 centre;
    ControllerCollisionFlags flags = 0;
    // The step offset carried the capsule up onto something it may not climb (a surface too steep to
    // walk, or an edge higher than the step offset): the move is redone without it.
    bool climbRefused = false;
};

CapsuleController::CapsuleController(RigidBody& actor, std::unique_ptr<ControllerSweep> sweep,
                                     PhysicsErrorCallback& errors, float radius, float height)
    : actor(actor), sweep(std::move(sweep)), errors(errors), radius(radius), height(height) {}

CapsuleController::~CapsuleController() = default;

ControllerCollisionFlags CapsuleController::move(const glm::vec3& displacement, float minDist, float,
                                                 const ControllerFilters& filters) {
    if (!isFinite(displacement) || !std::isfinite(minDist)) {
        reportError(errors, ErrorCode::InvalidParameter, "CapsuleController::move: displacement is not valid.");
        return 0;
    }
    // Only a capsule that stood on something after its last move walks with the step offset, so a
    // falling or jumping capsule does not hop onto ledges.
    const bool grounded = (state.collisionFlags & ControllerCollisionFlag::CollisionDown) != 0;
    const bool walking = grounded && displacement.y <= 0.0f;
    Attempt result = attempt(displacement, minDist, walking ? stepOffset : 0.0f, filters);
    if (result.climbRefused) {
        result = attempt(displacement, minDist, 0.0f, filters);
    }
    position = glm::dvec3(result.centre);
    state.collisionFlags = result.flags;
    state.isMovingUp = displacement.y > 0.0f && !(result.flags & ControllerCollisionFlag::CollisionUp);
    actor.moveKinematicNow(Pose(result.centre), false);
    return result.flags;
}

CapsuleController::Attempt CapsuleController::attempt(const glm::vec3& displacement, float minDist, float step,
                                                      const ControllerFilters& filters) const {
    Attempt result{glm::vec3(position)};
    const glm::vec3 start = result.centre;
    const float rise = std::max(displacement.y, 0.0f);
    const glm::vec3 side(displacement.x, 0.0f, displacement.z);
    if (glm::length(side) < minDist) {
        step = 0.0f;
    }
    float lifted = 0.0f;
    if (rise + step >= minDist) {
        const auto hit = travel(result.centre, up * (rise + step), filters);
        lifted = result.centre.y - start.y;
        if (hit && lifted < rise) {
            result.flags |= ControllerCollisionFlag::CollisionUp;
        }
    }
    slide(result.centre, side, minDist, filters, result.flags);
    const float stepLifted = std::max(lifted - rise, 0.0f);
    // Walking, the down pass also reaches as far as the steepest walkable slope (45 degrees) falls
    // over the sideways motion, so a capsule walking down a ramp stays on it instead of hopping.
    const float slopeFall = step > 0.0f ? glm::length(side) : 0.0f;
    const float drop = std::max(-displacement.y, 0.0f) + stepLifted + slopeFall;
    if (drop >= minDist) {
        if (const auto hit = travel(result.centre, -up * drop, filters)) {
            result.flags |= ControllerCollisionFlag::CollisionDown;
            result.climbRefused = stepLifted > 0.0f && result.centre.y > start.y + skin && !mayClimbOnto(*hit, start, filters);
        }
    }
    return result;
}

bool CapsuleController::mayClimbOnto(const SweepHit& hit, const glm::vec3& start, const ControllerFilters& filters) const {
    const float startFoot = start.y - static_cast<float>(footOffset());
    if (hit.point.y - startFoot > stepOffset + skin) {
        return false;
    }
    return hit.normal.y >= slopeLimit || sweep->faceBeyond(hit, filters).y >= slopeLimit;
}

std::optional<SweepHit> CapsuleController::travel(glm::vec3& centre, const glm::vec3& motion,
                                                  const ControllerFilters& filters) const {
    const float length = glm::length(motion);
    if (length <= 0.0f) {
        return std::nullopt;
    }
    const auto hit = sweep->cast(centre, motion, filters);
    centre += motion * (hit ? std::max(hit->distance - skin, 0.0f) / length : 1.0f);
    return hit;
}

void CapsuleController::slide(glm::vec3& centre, const glm::vec3& motion, float minDist,
                              const ControllerFilters& filters, ControllerCollisionFlags& flags) const {
    glm::vec3 remaining = motion;
    glm::vec3 walls[maxSlides];
    int wallCount = 0;
    for (int i = 0; i < maxSlides && glm::length(remaining) >= minDist; ++i) {
        const glm::vec3 before = centre;
        const auto hit = travel(centre, remaining, filters);
        if (!hit) {
            return;
        }
        flags |= ControllerCollisionFlag::CollisionSides;
        // Only the horizontal part of a normal steers the slide: the side pass never climbs, so the
        // round bottom of the capsule cannot ride up an edge higher than the step offset.
        glm::vec3 wall(hit->normal.x, 0.0f, hit->normal.z);
        if (glm::length(wall) < 1e-4f) {
            return;
        }
        wall = glm::normalize(wall);
        glm::vec3 rest = remaining - (centre - before);
        rest -= wall * glm::dot(rest, wall);
        // Into a wall already met: two walls make a corner, which stops the motion instead of
        // bouncing between them.
        for (int k = 0; k < wallCount; ++k) {
            if (glm::dot(rest, walls[k]) < 0.0f) {
                return;
            }
        }
        walls[wallCount++] = wall;
        // Never slide backwards against the intended motion: that is what makes capsules jitter.
        if (glm::dot(rest, motion) <= 0.0f) {
            return;
        }
        remaining = rest;
    }
}

bool CapsuleController::setPosition(const glm::dvec3& newPosition) {
    if (!isFinite(newPosition)) {
        reportError(errors, ErrorCode::InvalidParameter, "CapsuleController::setPosition: position is not valid.");
        return false;
    }
    position = newPosition;
    actor.moveKinematicNow(Pose(glm::vec3(position)), true);
    return true;
}

bool CapsuleController::setFootPosition(const glm::dvec3& foot) {
    return setPosition(foot + glm::dvec3(0.0, footOffset(), 0.0));
}

glm::dvec3 CapsuleController::getFootPosition() const { return position - glm::dvec3(0.0, footOffset(), 0.0); }

double CapsuleController::footOffset() const {
    return static_cast<double>(height) / 2.0 + static_cast<double>(radius) + static_cast<double>(contactOffset);
}
