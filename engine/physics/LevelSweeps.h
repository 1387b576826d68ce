#pragma once

#include <btBulletDynamicsCommon.h>
#include <memory>
#include <vector>

class RigidBody;

// Keeps fast bodies from passing through the level. The library's own continuous detection skips
// a body that already has contact points with the level, so a spinning disc whose corner grazes the
// floor at 40 m/s can fall through it, and other bodies can press one through slowly. After each
// step, a ray follows the centre of every body with continuous detection from where it began the
// step to where it ended, against the static bodies; if it crossed a surface, the body is put back
// just short of it and its velocity into it bounces off with the pair's restitution. A body's centre
// thus never changes sides of a level surface, and the contact solver pushes the rest of it out on
// the side it came from.
class LevelSweeps {
public:
    void apply(const std::vector<std::unique_ptr<RigidBody>>& bodies);

private:
    void sweep(RigidBody& body) const;

    std::vector<RigidBody*> level; // kept between steps: no allocation once grown
};
