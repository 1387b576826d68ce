#include "tests/engine/physics/TestFrisbee.h"

#include <glm/gtc/constants.hpp>

namespace {
const Pose crossed(glm::angleAxis(glm::quarter_pi<float>(), glm::vec3(0.0f, 1.0f, 0.0f)), glm::vec3(0.0f));
} // namespace

RigidBody* throwFrisbee(PhysicsWorld& world, const Pose& pose, const glm::vec3& velocity) {
    RigidBody* disc = world.createRigidDynamic(pose, true, nullptr);
    const Geometry box = Geometry::box(frisbeeHalfExtents);
    world.attachShape(*disc, box, Pose(), nullptr);
    world.attachShape(*disc, box, crossed, nullptr);
    disc->updateMassAndInertia(1.0f);
    disc->setLinearVelocity(velocity);
    return disc;
}

std::vector<glm::vec3> discPoints(const Pose& pose) {
    std::vector<glm::vec3> points;
    for (const Pose& box : {pose, pose * crossed}) {
        // Each coordinate -1, 0 or 1 times the half extent: 26 points other than the centre.
        for (int i = 0; i < 27; ++i) {
            const glm::vec3 unit(i % 3 - 1, i / 3 % 3 - 1, i / 9 - 1);
            if (unit != glm::vec3(0.0f)) {
                points.push_back(box.transform(unit * frisbeeHalfExtents));
            }
        }
    }
    return points;
}
