#pragma once

#include <btBulletDynamicsCommon.h>
#include <memory>
#include <vector>

class RigidBody;

// Bodies put inside a closed solid of the level, made there or moved there, find no face that pushes
// them: a solid's faces push only out of their front, so such a body would fly on through the solid
// at its own speed. Each is pushed out instead, the shortest way, at escapeSpeed with its own motion
// dropped, until all of it is clear of the face it leaves by; then it is looked at again, in case
// it came out into another solid. Only bodies put somewhere since the last look are looked at: the
// sweeps keep a moving body from getting inside.
class LevelEscapes {
public:
    // Metres per second: out of a metre of wall in six steps, and no faster out of the far side.
    static constexpr btScalar escapeSpeed = 10.0f;

    LevelEscapes() { escapes.reserve(16); }

    // Before a step: finds the newly placed dynamic bodies that are inside a solid, and pushes every
    // body on its way out.
    void beforeStep(const std::vector<std::unique_ptr<RigidBody>>& bodies);
    // After the step: how far each got; a body that is out goes on at the push's speed.
    void afterStep();
    // A body leaving the world.
    void forget(const RigidBody& body);

private:
    struct Escape {
        RigidBody* body;
        btVector3 direction; // unit, world
        btScalar remaining;  // metres still to go along it
        btVector3 from;      // the body's centre when the step began
    };

    // Whether the body lies inside a solid of a level among the bodies; if so, its way out begins.
    void lookAt(RigidBody& body, const std::vector<std::unique_ptr<RigidBody>>& bodies);

    std::vector<Escape> escapes;
};
