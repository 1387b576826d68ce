#pragma once

#include "engine/NonCopyable.h"
#include "engine/physics/Pose.h"
#include "engine/physics/Shape.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class Component;
class PhysicsWorld;
class PhysicsErrorCallback;
class CookedTriangleMesh;
struct BulletBody;
class RigidBody;

enum class BodyType {
    Static,    // never moves on its own: the level
    Dynamic,   // simulated
    Kinematic, // moved by the game: hitboxes and the controllers' capsules
};

struct BodyPair {
    RigidBody* first;
    RigidBody* second;
};

// A body of the world (an actor): its pose is the actor frame, which its shapes' local poses are
// given in; the centre of mass is a separate frame inside it. Made and owned by PhysicsWorld; the
// handle is valid until release() or the world's end.
class RigidBody : public NonCopyable {
public:
    ~RigidBody();

    BodyType getType() const { return type; }
    // Unique within its world, never reused; names the body in the debugger stream.
    std::uint64_t getId() const { return id; }

    Pose getGlobalPose() const;
    // Moves the body at once, without sweeping; velocities are kept.
    void setGlobalPose(const Pose& pose, bool autowake = true);
    // Kinematic bodies only: the pose the body moves to during the next step, pushing what it meets.
    void setKinematicTarget(const Pose& target);
    // The centre of mass's velocity, metres per second.
    glm::vec3 getLinearVelocity() const;
    void setLinearVelocity(const glm::vec3& velocity, bool autowake = true);
    glm::vec3 getAngularVelocity() const;
    void setAngularVelocity(const glm::vec3& velocity, bool autowake = true);

    // Mass, centre of mass and inertia from the body's spheres, capsules and boxes, all of the one
    // density (kg per cubic metre). The actor frame stays where it is. False, with an error report
    // and nothing changed, when the density is not positive or no shape has volume.
    bool updateMassAndInertia(float density);
    float getMass() const { return mass; }
    const Pose& getCMassLocalPose() const { return centreOfMass; }
    glm::vec3 getMassSpaceInertiaTensor() const { return inertia; }
    bool isCcdEnabled() const { return ccdEnabled; }

    std::size_t getNbShapes() const { return shapes.size(); }
    const Shape& getShape(std::size_t index) const { return *shapes[index]; }

    // Takes the body out of the world at once and destroys it; the handle is gone afterwards. A
    // controller's body goes only with its controller: releasing it is refused.
    void release();

    Component* userData = nullptr;

    // For engine/physics only: the simulation's side of the body.
    BulletBody& bullet() const { return *bulletBody; }
    // The union of the shapes' filter groups: what the collision filter sees of the body.
    std::uint32_t getFilterWord() const { return filterWord; }
    // Whether a character controller's sweep with these query filter words (all zero: any) sees it.
    bool isSeenByQueries(const FilterData& filter) const;
    // Called by the world right before each simulation step.
    void beginStep();
    // Moves a kinematic body now; with teleport, without the velocity that the jump would imply.
    void moveKinematicNow(const Pose& pose, bool teleport);
    // Whether the body was put somewhere (made, or moved by setGlobalPose) since the last call, where
    // it may lie inside the level.
    bool takePlacement();
    void markPlaced() { placed = true; }

private:
    friend class PhysicsWorld;
    RigidBody(PhysicsWorld& world, BodyType type, std::uint64_t id, const Pose& pose, bool enableCcd);
    // A sphere, capsule or box; its Bullet side is built from its geometry.
    void addShape(std::unique_ptr<Shape> shape);
    // The level's meshes, one shape each, become the body's one collision mesh.
    void setLevel(std::vector<std::unique_ptr<Shape>> meshShapes, std::vector<std::unique_ptr<CookedTriangleMesh>> meshes);
    void placeShapes(const Pose& actorPose);
    // After the shapes' places in the compound changed.
    void updateHull();
    PhysicsErrorCallback& errors() const;

    PhysicsWorld& world;
    BodyType type;
    std::uint64_t id;
    bool ccdEnabled;
    float mass = 1.0f;
    Pose centreOfMass;
    glm::vec3 inertia{1.0f};
    std::uint32_t filterWord = 0;
    bool followsController = false;
    bool placed = false;
    std::optional<Pose> kinematicTarget;
    std::vector<std::unique_ptr<Shape>> shapes;
    std::unique_ptr<BulletBody> bulletBody;
};
