#pragma once

#include <btBulletDynamicsCommon.h>

// The library's discrete dynamics world, with the materials of predicted contacts (made for fast
// bodies before the narrow phase, without the contact-added hook) combined like all others.
class DynamicsWorld : public btDiscreteDynamicsWorld {
public:
    using btDiscreteDynamicsWorld::btDiscreteDynamicsWorld;

protected:
    void createPredictiveContacts(btScalar timeStep) override;
};
