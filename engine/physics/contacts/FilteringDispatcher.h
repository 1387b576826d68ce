#pragma once

#include <btBulletCollisionCommon.h>

// The narrow phase and the solver asking the collision filter: a pair runs the narrow phase only
// when its flags ask for detection, and its contacts reach the solver only when they ask for
// solving. A report-only pair is detected but never pushes either body. Asked again every step, so
// a body whose shapes came after the pair was made is judged by its shapes.
class FilteringDispatcher : public btCollisionDispatcher {
public:
    using btCollisionDispatcher::btCollisionDispatcher;

    bool needsCollision(const btCollisionObject* object0, const btCollisionObject* object1) override;
    bool needsResponse(const btCollisionObject* object0, const btCollisionObject* object1) override;
};
