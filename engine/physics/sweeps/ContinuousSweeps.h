#pragma once

#include "engine/physics/sweeps/ConservativeAdvancement.h"
#include "engine/physics/sweeps/LevelSweep.h"
#include "engine/physics/sweeps/SweptBox.h"

#include <btBulletCollisionCommon.h>
#include <memory>
#include <utility>
#include <vector>

class RigidBody;

// Continuous collision detection for the bodies that ask for it (thrown discs). After each step,
// the shapes of each such body are swept, turn included, from where the step began to where it
// ended against every body that the collision filter solves it with continuously: the level, the
// players' capsules and the other dynamic bodies. At the first touch, the body is put back there,
// just clear of the surface, and the part of the two bodies' relative velocity that goes into the
// surface bounces off with the pair's restitution (shared by their masses when the other body is
// dynamic too). So a disc at 60 m/s passes through nothing and stops at what it hits instead of
// ending the step inside it.
//
// The contact solver keeps what touches slowly: resting, sliding, a disc pressed against a wall.
// The sweeps keep what meets fast: a face the step carries a body deeper into than the solver's
// slop, and two bodies closing in on each other faster than bodies bounce at. Such a pair is taken
// from the solver too when it already touches as the step begins (sortContacts): the solver knows
// only the overlap it starts from, where two corners that meet head on overlap at a slant and would
// glance off each other or pass through; the sweeps take the normal from how the two came together.
// Bodies that overlap deeper than a touch (one put inside another) are the solver's to part.
//
// The library's own continuous detection cannot do this: it runs only for bodies of one convex
// shape, sweeps a sphere in place of the body and keeps the velocity, so a disc either sinks into a
// wall rim first (a small sphere) or stops short of it without bouncing (a large one).
class ContinuousSweeps {
public:
    ContinuousSweeps();

    // pairs: the broadphase's pairs of the step, whose boxes reach over the bodies' motions; dt: the
    // step's length in seconds, for the velocities of bodies that are moved, not simulated.
    void apply(const std::vector<std::unique_ptr<RigidBody>>& bodies, btOverlappingPairCache& pairs, float dt);

    // Called between finding the step's contacts and solving them: takes from the solver the pairs of
    // dynamic bodies, one with continuous detection, that touch but overlap no deeper than the
    // solver's slop and whose centres close in on each other faster than bodies bounce at; and notes
    // the pairs of such a body that the solver keeps.
    void sortContacts(btDispatcher& dispatcher);

private:
    struct Hit {
        BodyTouch touch;
        RigidBody* other;
    };

    using BodyPair = std::pair<RigidBody*, RigidBody*>;

    void findPartners(btOverlappingPairCache& pairs);
    static bool contains(const std::vector<BodyPair>& pairs, const RigidBody& a, const RigidBody& b);
    void sweep(RigidBody& body, float dt);
    void consider(RigidBody& body, RigidBody& other, float dt, std::optional<Hit>& first);
    std::optional<BodyTouch> levelTouch(const RigidBody& body, const RigidBody& level);
    std::optional<BodyTouch> bodyTouch(const RigidBody& body, const RigidBody& other) const;

    // Kept between steps: no allocation once grown.
    std::vector<std::pair<RigidBody*, SweptBox>> targets; // the level and the capsules
    // Pairs of dynamic bodies, each swept once: by the older of two with continuous detection, else
    // by the one with it. Ordered by the sweeping body's id, then the other's.
    std::vector<BodyPair> partners;
    // The step's pairs in contact with a body with continuous detection that the solver keeps, as
    // (body with the lower id, other), sorted; and the manifolds of all such pairs while they are
    // sorted.
    std::vector<BodyPair> solved;
    std::vector<std::pair<BodyPair, btPersistentManifold*>> contacts;
    LevelSweep levelSweep;
};
