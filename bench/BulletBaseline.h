#pragma once

#include "engine/NonCopyable.h"
#include "engine/physics/Pose.h"
#include "engine/physics/level/LevelMesh.h"

#include <cstddef>
#include <memory>
#include <vector>

// The step benchmark's yardsticks: the game's bodies in a bare library world. The level as static
// triangle meshes; kinematic capsules and hitboxes put in place before each step; discs of one
// shared shape, each two crossed boxes. Left out is our layer: our collision filter, contact
// reports, material hook, controllers' sweeps and our own continuous sweeps. Built only into the
// benchmark.
class BulletBaseline : public NonCopyable {
public:
    // Hull: what a user of the bare library would build for the same game. Each disc is one convex
    // hull of its boxes' 16 corners, which the library's own continuous detection sweeps; gravity,
    // damping, the solver's bounce threshold and the friction and restitution of each pair of
    // touching bodies are our world's. Compound: the first baseline, kept so that its figures can
    // still be followed. Each disc is the two boxes as a compound, on which the library's continuous
    // detection does not run (it sweeps only convex shapes); the bodies have the library's default
    // materials beside a level of friction 2 that does not bounce, and no damping.
    enum class Kind { Hull, Compound };

    // discHalfExtents: of each of a disc's two boxes, metres.
    BulletBaseline(Kind kind, const glm::vec3& discHalfExtents);
    ~BulletBaseline();

    // How the level's meshes become static bodies. MeshByMesh: each mesh a body with a tree of its
    // own, so a disc's step walks one tree per mesh its bounds overlap. OneTree: one body whose one
    // tree holds every mesh, as a user who knows the library would build it and as our world does.
    enum class LevelBodies { MeshByMesh, OneTree };

    // Meshes that make no collision mesh are left out, as our world would not start with them.
    void addLevel(const std::vector<LevelMesh>& meshes, LevelBodies bodies);
    // A kinematic capsule standing upright at centre (radius and cylinder height, metres).
    std::size_t addCapsule(float radius, float height, const glm::vec3& centre);
    // A kinematic box that touches without pushing, as a hitbox.
    std::size_t addHitbox(const glm::vec3& halfExtents, const glm::vec3& centre);
    void moveKinematic(std::size_t index, const glm::vec3& centre);
    // A disc of density 1 at pose, flying at velocity (metres per second).
    std::size_t addFrisbee(const Pose& pose, const glm::vec3& velocity);
    void rethrow(std::size_t index, const Pose& pose, const glm::vec3& velocity);
    // Takes the body out of the world for good; its index is not reused.
    void remove(std::size_t index);
    // Whether the library still simulates the body, rather than letting it sleep.
    bool isAwake(std::size_t index) const;
    void step(float dt);

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};
