#pragma once

#include "engine/physics/BodySweep.h"

#include <btBulletCollisionCommon.h>
#include <optional>
#include <vector>

struct BulletBody;

// One convex shape of a body swept through a step, its turn included, against the triangles of the
// level near its path. Only faces that the step carries the body deeper into than the contact solver's slop are
// cast against: the faces a disc rests or slides on, and the seams between them, cost one test of a
// plane each, and the solver (which holds such contacts) is left alone.
class LevelSweep {
public:
    LevelSweep() { candidates.reserve(64); }

    // The earliest touch of a face that the shape (at local in the body) ends the step more than slop
    // deeper in than it started, or none.
    std::optional<BodyTouch> firstTouch(const btConvexShape& shape, const btTransform& local, const BulletBody& moving,
                                        const BulletBody& level, btScalar slop);

private:
    struct Candidate {
        btVector3 corners[3];
        int part;
        int index;
    };
    static std::optional<BodyTouch> touchOf(const btConvexShape& shape, const btTransform& from, const btTransform& to,
                                            const btVector3* corners, const btVector3& normal);

    struct Gather : btTriangleCallback {
        explicit Gather(std::vector<Candidate>& into) : into(into) {}
        void processTriangle(btVector3* triangle, int part, int index) override;
        std::vector<Candidate>& into;
    };

    // Kept between steps: no allocation once grown.
    std::vector<Candidate> candidates;
};
