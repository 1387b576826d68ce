#pragma once

#include "engine/physics/BodySweep.h"

#include <btBulletCollisionCommon.h>
#include <memory>
#include <utility>
#include <vector>

class RigidBody;

// Continuous collision detection for the bodies that ask for it (thrown discs). After each step,
// the shapes of each such body are swept from where the step began to where it ended against every
// body that the collision filter solves it with continuously: the level, the players' capsules and
// the other dynamic bodies. At the first touch that would carry it deeper than the solver's slop,
// the body is put back at that touch, just short of the surface, and the part of the two bodies'
// relative velocity that goes into the surface bounces off with the pair's restitution (shared by
// their masses when the other body is dynamic too). So a disc at 60 m/s passes through nothing and
// stops at what it hits instead of ending the step inside it.
//
// The library's own continuous detection cannot do this: it runs only for bodies of one convex
// shape, sweeps a sphere in place of the body and keeps the velocity, so a disc either sinks into a
// wall rim first (a small sphere) or stops short of it without bouncing (a large one).
class ContinuousSweeps {
public:
    // pairs: the broadphase's pairs of the step, whose boxes reach over the bodies' motions; dt: the
    // step's length in seconds, for the velocities of bodies that are moved, not simulated.
    void apply(const std::vector<std::unique_ptr<RigidBody>>& bodies, btOverlappingPairCache& pairs, float dt);

private:
    void findPartners(btOverlappingPairCache& pairs);
    void sweep(RigidBody& body, float dt);
    void keepCentreOutOfLevel(RigidBody& body, float dt) const;

    // Kept between steps: no allocation once grown.
    std::vector<std::pair<RigidBody*, SweptBox>> targets; // the level and the capsules
    // Pairs of dynamic bodies, each swept once: by the older of two with continuous detection, else
    // by the one with it. Ordered by the sweeping body's id, then the other's.
    std::vector<std::pair<RigidBody*, RigidBody*>> partners;
};
