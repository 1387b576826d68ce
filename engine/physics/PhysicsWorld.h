#pragma once

#include "engine/NonCopyable.h"
#include "engine/physics/Geometry.h"
#include "engine/physics/LocalShape.h"
#include "engine/physics/PhysicsErrorCallback.h"
#include "engine/physics/Pose.h"
#include "engine/physics/RigidBody.h"
#include "engine/physics/character/CapsuleController.h"
#include "engine/physics/level/LevelMesh.h"
#include "engine/physics/reports/PhysicsEventCallback.h"
#include "engine/physics/reports/SimulationEventCallback.h"

#include <cstdint>
#include <glm/vec3.hpp>
#include <memory>
#include <vector>

class Component;
class GameObject;

// The Engine's one physics world: the simulated scene with its collision filter, the factories
// through which the game makes bodies and controllers, the contact reports and the debugger stream.
// Constructing it makes only the error callback; init() builds the world. It steps on the calling
// thread, one fixed step per call. Units: metres, seconds, kilograms.
class PhysicsWorld : public NonCopyable {
public:
    // Where a physics debugger on this machine listens for the world's stream.
    static constexpr std::uint16_t defaultDebuggerPort = 5425;

    PhysicsWorld();
    ~PhysicsWorld();

    void init(std::uint16_t debuggerPort = defaultDebuggerPort);
    // Exactly one simulation step of dt seconds; poses afterwards are those the step computed. The
    // contact reports are delivered before it returns.
    void step(float dt);

    // A dynamic body without shapes (mass 1) at pose; user data component. Null for a pose that is
    // not valid.
    RigidBody* createRigidDynamic(const Pose& pose, bool enableCcd, Component* component);
    // One sphere, capsule or box of group DynamicBody, seen by no query. Other geometries are
    // refused with an error. The mass is not updated: call updateMassAndInertia when all are on.
    void attachShape(RigidBody& actor, const Geometry& geometry, const Pose& localPose, Component* component);
    // A kinematic body with one shape of group Hitbox and the mass of that shape at density. Null,
    // with an error, for other geometries (the body stays in the world without shapes).
    RigidBody* createKinematicRigidDynamic(const Pose& pose, float density, const Geometry& geometry,
                                           const Pose& localPose, bool enableCcd, Component* component);
    // The static level: one triangle-mesh shape of group Level per mesh, already in the world. The
    // world keeps its own copy of the arrays. A mesh that makes no collision mesh ends the process.
    RigidBody* addRigidStatic(const std::vector<LevelMesh>& meshes);
    // A capsule controller at the origin (radius and cylinder height in metres). Null, with an error,
    // for sizes that are not positive.
    CapsuleController* createCapsuleController(float radius, float height);
    // Takes a controller and its capsule body out of the world and destroys them; null is ignored.
    // The game never does (its players live as long as the world); whoever makes players for a
    // while must, or their capsules stay behind, solid and unseen.
    void releaseController(CapsuleController* controller);

    // Where a body of these boxes (at their local poses, the body unturned) can be made on the
    // straight path from `from` to `to` (world, metres): `to` itself when the boxes carried along the
    // path meet neither the level nor a hitbox; else on the path's side of the first thing they meet,
    // a few millimetres clear of a face of the level or just short of a hitbox. Hitboxes of
    // passedOwner's are passed through; `from` must lie outside the level's solids.
    glm::vec3 clearPlaceAlong(const std::vector<LocalShape>& shapes, const glm::vec3& from, const glm::vec3& to,
                              const GameObject* passedOwner);
    // Lets the body and the body with id otherId pass through each other until their bounding boxes
    // part: no contact between them is found, solved, reported or swept. For a body made where
    // another already is. An id that names no other body of the world is ignored.
    void passBy(RigidBody& body, std::uint64_t otherId);

    glm::vec3 getGravity() const;
    // The receiver of each step's contact reports; null for none. Not owned.
    void setSimulationEventCallback(SimulationEventCallback* callback);
    // Every pair of bodies with contact points after the last step (solved or only reported).
    const std::vector<BodyPair>& getContacts() const;
    // Whether a debugger listener took the connection at init and is still reading.
    bool isDebuggerConnected() const;

    PhysicsErrorCallback errorCallback;
    // Hands the hitboxes their touches; the world's receiver from init on.
    PhysicsEventCallback eventCallback;

private:
    friend class RigidBody;
    struct Impl;

    bool checkInitialised(const char* operation);
    RigidBody& addBody(BodyType type, const Pose& pose, bool enableCcd, Component* component);
    void releaseBody(RigidBody& body);
    void sendDebugFrame();

    std::unique_ptr<Impl> impl;
    SimulationEventCallback* simulationEventCallback = nullptr;
};
