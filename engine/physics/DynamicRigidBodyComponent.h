#pragma once

#include "engine/physics/Geometry.h"
#include "engine/physics/Pose.h"
#include "engine/scene/Component.h"

#include <cstdint>
#include <deque>
#include <glm/vec3.hpp>

class RigidBody;

// A simulated body of spheres, capsules and boxes with its mass from one density; its pose is
// copied into the owner after every physics step. Shapes are queued with addShape and attached
// when the body starts, or at the next fixed update once it has.
class DynamicRigidBodyComponent : public Component {
public:
    DynamicRigidBodyComponent(GameObject* owner, float density, const glm::vec3& initialLinearVelocity,
                              bool enableCcd);
    ~DynamicRigidBodyComponent() override;

    void onStart() override;
    void onFixedUpdate() override;
    // Takes the body out of the world at once; the owner leaves the scene when the walk ends.
    // A body still held when the component goes (the scene torn down) goes with it.
    void onDestroy() override;

    void addShape(const Geometry& geometry, const Pose& localPose);
    void attachPendingShapes();
    // The body starts inside the body with this id (a disc inside its thrower's capsule): the two
    // pass through each other until they are apart. Before the start only.
    void passBy(std::uint64_t bodyId) { passedBodyId = bodyId; }

    // Null before the start, after onDestroy, and when the world refused the body.
    RigidBody* actor = nullptr;

private:
    struct PendingShape {
        Pose localPose;
        Geometry geometry;
    };

    float density;
    bool enableCcd;
    glm::vec3 initialLinearVelocity;
    std::deque<PendingShape> pendingShapes;
    std::uint64_t passedBodyId = 0; // body ids start at 1
};
