#include "engine/physics/contacts/PassingBodies.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/RigidBody.h"

#include <LinearMath/btAabbUtil2.h>

namespace {
void boundsOf(const btCollisionObject& object, btVector3& min, btVector3& max) {
    object.getCollisionShape()->getAabb(object.getWorldTransform(), min, max);
}
} // namespace

bool passingBy(const RigidBody& body0, const RigidBody& body1) {
    return body0.bullet().passesBy == &body1.bullet().body || body1.bullet().passesBy == &body0.bullet().body;
}

void endPassWhenApart(BulletBody& body) {
    if (body.passesBy == nullptr) {
        return;
    }
    btVector3 min0, max0, min1, max1;
    boundsOf(body.body, min0, max0);
    boundsOf(*body.passesBy, min1, max1);
    if (!TestAabbAgainstAabb2(min0, max0, min1, max1)) {
        body.passesBy = nullptr;
    }
}

void forgetPassesBy(const std::vector<std::unique_ptr<RigidBody>>& bodies, const RigidBody& leaving) {
    for (const auto& body : bodies) {
        if (body->bullet().passesBy == &leaving.bullet().body) {
            body->bullet().passesBy = nullptr;
        }
    }
}
