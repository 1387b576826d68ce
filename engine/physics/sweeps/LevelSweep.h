#pragma once

#include "engine/physics/sweeps/ConservativeAdvancement.h"

#include <btBulletCollisionCommon.h>
#include <optional>
#include <vector>

struct BulletBody;
class LevelCollisionMesh;

// One convex shape of a body swept through a step, its turn included, against the triangles of the
// level near its path. Only faces that the step carries the body deeper into than the contact
// solver's slop are cast against: the faces a disc rests or slides on, and the seams between them,
// cost one test of a plane each, and the solver (which holds such contacts) is left alone.
class LevelSweep {
public:
    LevelSweep() { candidates.reserve(64); }

    // The earliest touch of a face that the shape (at local in the body) ends the step more than slop
    // deeper in than it started, or none. The touch's otherChild is the level's mesh of the face.
    std::optional<BodyTouch> firstTouch(const btConvexShape& shape, const btTransform& local, const BulletBody& moving,
                                        const BulletBody& level, btScalar slop);
    // The same for the shape carried, turning steadily, from the world pose start to the world pose end.
    std::optional<BodyTouch> firstTouch(const btConvexShape& shape, const btTransform& start, const btTransform& end,
                                        const BulletBody& level, btScalar slop);

private:
    struct Candidate {
        btVector3 corners[3];
        int part;
        int index;
    };
    // The triangle's normal on the side the shape starts on, when the shape may meet it from there.
    static std::optional<btVector3> facing(const Candidate& candidate, const LevelCollisionMesh& mesh,
                                           const btVector3& start);

    struct Gather : btTriangleCallback {
        explicit Gather(std::vector<Candidate>& into) : into(into) {}
        void processTriangle(btVector3* triangle, int part, int index) override;
        std::vector<Candidate>& into;
    };

    // Kept between steps: no allocation once grown.
    std::vector<Candidate> candidates;
};
