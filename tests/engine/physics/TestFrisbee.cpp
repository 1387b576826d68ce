#include "tests/engine/physics/TestFrisbee.h"

#include <algorithm>
#include <glm/gtc/constants.hpp>
#include <limits>

namespace {
const Pose crossed(glm::angleAxis(glm::quarter_pi<float>(), glm::vec3(0.0f, 1.0f, 0.0f)), glm::vec3(0.0f));
} // namespace

glm::quat turnOf(DiscFacing facing) {
    switch (facing) {
    case DiscFacing::OnEdge:
        return glm::angleAxis(glm::half_pi<float>(), glm::vec3(1.0f, 0.0f, 0.0f));
    case DiscFacing::FaceFirst:
        return glm::angleAxis(glm::half_pi<float>(), glm::vec3(0.0f, 0.0f, 1.0f));
    default:
        return glm::quat(1.0f, 0.0f, 0.0f, 0.0f);
    }
}

const char* nameOf(DiscFacing facing) {
    const char* names[] = {"flat", "on edge", "face first"};
    return names[static_cast<int>(facing)];
}

std::string nameOf(const Gap& gap) {
    return "gap " + std::to_string(gap.steps) + " steps " + std::to_string(gap.offset * 1000.0f) + " mm";
}

const std::vector<LocalShape>& discShapes() {
    static const std::vector<LocalShape> shapes = {{Geometry::box(frisbeeHalfExtents), Pose()},
                                                   {Geometry::box(frisbeeHalfExtents), crossed}};
    return shapes;
}

RigidBody* throwFrisbee(PhysicsWorld& world, const Pose& pose, const glm::vec3& velocity) {
    return throwFrisbee(world, pose, velocity, nullptr);
}

RigidBody* throwFrisbee(PhysicsWorld& world, const Pose& pose, const glm::vec3& velocity, Component* userData) {
    RigidBody* disc = world.createRigidDynamic(pose, true, userData);
    for (const LocalShape& shape : discShapes()) {
        world.attachShape(*disc, shape.geometry, shape.localPose, userData);
    }
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

float discReach(const Pose& pose, const glm::vec3& direction) {
    float farthest = 0.0f;
    for (const Pose& box : {pose, pose * crossed}) {
        float along = 0.0f;
        for (int axis = 0; axis < 3; ++axis) {
            glm::vec3 unit(0.0f);
            unit[axis] = 1.0f;
            along += std::abs(glm::dot(direction, box.rotation * unit)) * frisbeeHalfExtents[axis];
        }
        farthest = std::max(farthest, along);
    }
    return farthest;
}

float discRadius(const Pose& pose, const glm::vec3& direction) {
    float farthest = 0.0f;
    for (const Pose& box : {pose, pose * crossed}) {
        const glm::vec3 local = glm::inverse(box.rotation) * direction;
        float leaves = std::numeric_limits<float>::max();
        for (int axis = 0; axis < 3; ++axis) {
            if (local[axis] != 0.0f) {
                leaves = std::min(leaves, frisbeeHalfExtents[axis] / std::abs(local[axis]));
            }
        }
        farthest = std::max(farthest, leaves);
    }
    return farthest;
}

float depthInDisc(const Pose& pose, const glm::vec3& point) {
    float deepest = 0.0f;
    for (const Pose& box : {pose, pose * crossed}) {
        const glm::vec3 local = glm::inverse(box.rotation) * (point - box.position);
        const glm::vec3 room = frisbeeHalfExtents - glm::abs(local);
        deepest = std::max(deepest, std::min({room.x, room.y, room.z}));
    }
    return deepest;
}

float kineticEnergy(const RigidBody& body) {
    const glm::quat massFrame = body.getGlobalPose().rotation * body.getCMassLocalPose().rotation;
    const glm::vec3 spin = glm::inverse(massFrame) * body.getAngularVelocity();
    const glm::vec3 velocity = body.getLinearVelocity();
    return 0.5f * body.getMass() * glm::dot(velocity, velocity) +
           0.5f * glm::dot(body.getMassSpaceInertiaTensor() * spin, spin);
}
