#include "tests/engine/physics/TestFrisbee.h"

#include <glm/gtc/constants.hpp>

RigidBody* throwFrisbee(PhysicsWorld& world, const Pose& pose, const glm::vec3& velocity) {
    RigidBody* disc = world.createRigidDynamic(pose, true, nullptr);
    const Geometry box = Geometry::box(frisbeeHalfExtents);
    const Pose crossed(glm::angleAxis(glm::quarter_pi<float>(), glm::vec3(0.0f, 1.0f, 0.0f)), glm::vec3(0.0f));
    world.attachShape(*disc, box, Pose(), nullptr);
    world.attachShape(*disc, box, crossed, nullptr);
    disc->updateMassAndInertia(1.0f);
    disc->setLinearVelocity(velocity);
    return disc;
}
