#include "engine/physics/DynamicsWorld.h"

#include "engine/physics/ContactMaterials.h"

void DynamicsWorld::createPredictiveContacts(btScalar timeStep) {
    btDiscreteDynamicsWorld::createPredictiveContacts(timeStep);
    for (int i = 0; i < m_predictiveManifolds.size(); ++i) {
        btPersistentManifold& manifold = *m_predictiveManifolds[i];
        for (int p = 0; p < manifold.getNumContacts(); ++p) {
            combineBodyMaterials(manifold.getContactPoint(p), *manifold.getBody0(), *manifold.getBody1());
        }
    }
}
