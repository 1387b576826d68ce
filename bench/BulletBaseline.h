#pragma once

#include "engine/NonCopyable.h"
#include "engine/physics/LevelMesh.h"
#include "engine/physics/Pose.h"

#include <cstddef>
#include <memory>
#include <vector>

// The step benchmark's yardstick: the same bodies as a PhysicsWorld scene in a bare library world
// with its defaults (no collision filter of ours, no contact reports, no material hook, no level
// sweeps, no controllers: kinematic bodies are placed directly). Built only into the benchmark.
class BulletBaseline : public NonCopyable {
public:
    BulletBaseline();
    ~BulletBaseline();

    void addLevel(const std::vector<LevelMesh>& meshes);
    // A kinematic capsule standing where a controller's body would (centre, metres).
    std::size_t addCapsule(float radius, float height, const glm::vec3& centre);
    // A kinematic box that touches without pushing, as a hitbox.
    std::size_t addHitbox(const glm::vec3& halfExtents, const glm::vec3& centre);
    void moveKinematic(std::size_t index, const glm::vec3& centre);
    // Two crossed boxes of half extents half, density 1, with continuous detection.
    std::size_t addFrisbee(const glm::vec3& half, const Pose& pose, const glm::vec3& velocity);
    void rethrow(std::size_t index, const Pose& pose, const glm::vec3& velocity);
    void step(float dt);

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};
