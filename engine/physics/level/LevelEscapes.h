#pragma once

#include <array>
#include <btBulletDynamicsCommon.h>
#include <memory>
#include <optional>
#include <vector>

class RigidBody;

// Bodies put inside a closed solid of the level, made there or moved there, find no face that pushes
// them: a solid's faces push only out of their front, so such a body would fly on through the solid
// at its own speed. Each is pushed out instead, the shortest way, at the tolerances' escapeSpeed with
// its own motion dropped, until all of it is clear of the face it leaves by; then it is looked at
// again, in case it came out into another solid. A way that is barred (a player stands against the
// wall) gets the body nowhere in a step: the next shortest way is taken, up to three ways in all,
// and after that the body is left to the contact solver. Only bodies put somewhere since the last
// look are looked at: the sweeps keep a moving body from getting inside.
class LevelEscapes {
public:
    LevelEscapes() { escapes.reserve(16); }

    // Before a step: finds the newly placed dynamic bodies that are inside a solid, and pushes every
    // body on its way out.
    void beforeStep(const std::vector<std::unique_ptr<RigidBody>>& bodies);
    // After the step of dt seconds: how far each got; a body that is out goes on at the push's speed.
    void afterStep(const std::vector<std::unique_ptr<RigidBody>>& bodies, float dt);
    // A body leaving the world.
    void forget(const RigidBody& body);

private:
    static constexpr int maxWays = 3;

    struct Escape {
        RigidBody* body = nullptr;
        btVector3 direction{0.0f, 0.0f, 0.0f}; // unit, world
        btScalar remaining = 0.0f;             // metres still to go along it; none once it is over
        btVector3 from{0.0f, 0.0f, 0.0f};      // the body's centre when the step began
        std::array<btVector3, maxWays> barred{}; // the ways tried that got nowhere, world
        int barredCount = 0;
    };

    // The way out of the solid the body is inside, passing over the escape's barred ways; none when
    // the body is inside no solid or every way is barred.
    static bool findWay(Escape& escape, const std::vector<std::unique_ptr<RigidBody>>& bodies);
    // After a step that got the body nowhere: the next way, or the end of the escape.
    static void tryAnotherWay(Escape& escape, const std::vector<std::unique_ptr<RigidBody>>& bodies);

    std::vector<Escape> escapes;
};
