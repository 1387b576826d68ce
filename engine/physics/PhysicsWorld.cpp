#include "engine/physics/PhysicsWorld.h"

#include "engine/Logging.h"
#include "engine/physics/BulletBody.h"
#include "engine/physics/character/ControllerSweep.h"
#include "engine/physics/contacts/BodyPairFilter.h"
#include "engine/physics/contacts/BoxTriangleCollision.h"
#include "engine/physics/contacts/ContactMaterials.h"
#include "engine/physics/contacts/FilteringDispatcher.h"
#include "engine/physics/contacts/PassingBodies.h"
#include "engine/physics/debug/DebugFrame.h"
#include "engine/physics/debug/DebuggerConnection.h"
#include "engine/physics/level/LevelEscapes.h"
#include "engine/physics/reports/ContactReports.h"
#include "engine/physics/sweeps/ContinuousSweeps.h"
#include "engine/physics/sweeps/PlacementSweep.h"
#include "engine/physics/sweeps/SweptDynamicsWorld.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/constants.hpp>

namespace {
const glm::vec3 gravity(0.0f, -9.81f, 0.0f);
// A listener on this machine answers at once or not at all; the game does not wait longer.
constexpr std::chrono::milliseconds debuggerTimeout{10};

bool supportedByBodies(const Geometry& geometry) {
    const GeometryType type = geometry.getType();
    return type == GeometryType::Sphere || type == GeometryType::Capsule || type == GeometryType::Box;
}

// A shape of a dynamic or hitbox body: of its one group, seen by no controller's sweep.
std::unique_ptr<Shape> bodyShape(const Geometry& geometry, const Pose& localPose, CollisionGroup group,
                                 Component* component) {
    auto shape = std::make_unique<Shape>();
    shape->geometry = geometry;
    shape->localPose = Pose(glm::normalize(localPose.rotation), localPose.position);
    shape->simulationFilterData = filterDataOf(group);
    shape->sceneQueryShape = false;
    shape->userData = component;
    return shape;
}
} // namespace

struct PhysicsWorld::Impl {
    Impl() {
        broadphase.getOverlappingPairCache()->setOverlapFilterCallback(&pairFilter);
        dispatcher.registerCollisionCreateFunc(BOX_SHAPE_PROXYTYPE, TRIANGLE_SHAPE_PROXYTYPE, &boxTriangle);
        world.setGravity(btVector3(gravity.x, gravity.y, gravity.z));
        world.getSolverInfo().m_restitutionVelocityThreshold = bounceThreshold;
    }

    // Declared in the order they are needed; destroyed in reverse, bodies before the world.
    btDefaultCollisionConfiguration configuration;
    BoxTriangleCollision::CreateFunc boxTriangle;
    FilteringDispatcher dispatcher{&configuration};
    BodyPairFilter pairFilter;
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    ContinuousSweeps continuousSweeps;
    LevelEscapes escapes;
    SweptDynamicsWorld world{&dispatcher, &broadphase, &solver, &configuration, continuousSweeps};
    std::vector<std::unique_ptr<RigidBody>> bodies;
    std::vector<std::unique_ptr<CapsuleController>> controllers;
    ContactReports reports;
    DebuggerConnection debugger;
    DebugFrame frame;
    PlacementSweep placement;
    std::uint64_t nextBodyId = 1;
    std::uint64_t stepCount = 0;
};

PhysicsWorld::PhysicsWorld() = default;

PhysicsWorld::~PhysicsWorld() = default;

void PhysicsWorld::init(std::uint16_t debuggerPort) {
    if (impl) {
        reportError(errorCallback, ErrorCode::InvalidOperation, "PhysicsWorld::init: the world is already built.");
        return;
    }
    getPhysicsLogger()->debug("Initializing Bullet {}.{}", btGetVersion() / 100, btGetVersion() % 100);
    installContactMaterials();
    impl = std::make_unique<Impl>();
    setSimulationEventCallback(&eventCallback);
    impl->debugger.connect(debuggerPort, debuggerTimeout);
}

void PhysicsWorld::step(float dt) {
    if (!checkInitialised("step")) {
        return;
    }
    if (!std::isfinite(dt) || dt <= 0.0f) {
        reportError(errorCallback, ErrorCode::InvalidParameter, "PhysicsWorld::step: the elapsed time must be positive!");
        return;
    }
    impl->escapes.beforeStep(impl->bodies);
    for (const auto& body : impl->bodies) {
        body->beginStep();
    }
    // No sub-steps: one step of exactly dt, and the bodies' own transforms are the result.
    impl->world.stepSimulation(dt, 0, dt);
    ++impl->stepCount;
    impl->continuousSweeps.apply(impl->bodies, *impl->broadphase.getOverlappingPairCache(), dt);
    impl->escapes.afterStep(impl->bodies, dt);
    impl->reports.collect(impl->dispatcher, impl->bodies);
    const std::vector<ContactPair>& reports = impl->reports.getReports();
    if (simulationEventCallback && !reports.empty()) {
        simulationEventCallback->onContact(reports.data(), static_cast<std::uint32_t>(reports.size()));
    }
    sendDebugFrame();
}

RigidBody* PhysicsWorld::createRigidDynamic(const Pose& pose, bool enableCcd, Component* component) {
    if (!checkInitialised("createRigidDynamic")) {
        return nullptr;
    }
    if (!pose.isValid()) {
        reportError(errorCallback, ErrorCode::InvalidParameter, "createRigidDynamic: pose is not valid.");
        return nullptr;
    }
    return &addBody(BodyType::Dynamic, pose, enableCcd, component);
}

void PhysicsWorld::attachShape(RigidBody& actor, const Geometry& geometry, const Pose& localPose,
                               Component* component) {
    if (!supportedByBodies(geometry)) {
        getPhysicsLogger()->error("A RigidDynamic can only have spheres, capsules and boxes as attached shapes.");
        return;
    }
    if (!geometry.isValid() || !localPose.isValid()) {
        reportError(errorCallback, ErrorCode::InvalidParameter,
                    "attachShape: geometry or local pose is not valid; no shape was attached.");
        return;
    }
    // The level is built whole from its meshes; a shape added to it later would never collide.
    if (actor.getType() == BodyType::Static) {
        reportError(errorCallback, ErrorCode::InvalidOperation, "attachShape: the level takes no shapes; none was attached.");
        return;
    }
    actor.addShape(bodyShape(geometry, localPose, CollisionGroup::DynamicBody, component));
}

RigidBody* PhysicsWorld::createKinematicRigidDynamic(const Pose& pose, float density, const Geometry& geometry,
                                                     const Pose& localPose, bool enableCcd, Component* component) {
    if (!checkInitialised("createKinematicRigidDynamic")) {
        return nullptr;
    }
    if (!pose.isValid()) {
        reportError(errorCallback, ErrorCode::InvalidParameter, "createKinematicRigidDynamic: pose is not valid.");
        return nullptr;
    }
    RigidBody& body = addBody(BodyType::Kinematic, pose, enableCcd, component);
    if (!supportedByBodies(geometry) || !geometry.isValid() || !localPose.isValid()) {
        getPhysicsLogger()->error("A kinematic RigidDynamic can only have spheres, capsules and boxes as attached shapes.");
        return nullptr;
    }
    std::unique_ptr<Shape> shape = bodyShape(geometry, localPose, CollisionGroup::Hitbox, component);
    shape->queryFilterData = filterDataOf(CollisionGroup::Hitbox);
    body.addShape(std::move(shape));
    body.updateMassAndInertia(density);
    return &body;
}

RigidBody* PhysicsWorld::addRigidStatic(const std::vector<LevelMesh>& meshes) {
    if (!checkInitialised("addRigidStatic")) {
        return nullptr;
    }
    RigidBody& body = addBody(BodyType::Static, Pose(), false, nullptr);
    if (meshes.empty()) {
        return &body;
    }
    std::vector<std::unique_ptr<Shape>> shapes;
    std::vector<std::unique_ptr<CookedTriangleMesh>> cooked;
    for (const LevelMesh& mesh : meshes) {
        cooked.push_back(CookedTriangleMesh::cook(mesh));
        if (!cooked.back()) {
            fatal(getPhysicsLogger(), "Error while adding a rigid static: Failed to cook triangle mesh.");
        }
        auto shape = std::make_unique<Shape>();
        shape->geometry = Geometry::triangleMesh();
        shape->simulationFilterData = filterDataOf(CollisionGroup::Level);
        shape->material = levelMaterial;
        shapes.push_back(std::move(shape));
    }
    body.setLevel(std::move(shapes), std::move(cooked));
    return &body;
}

CapsuleController* PhysicsWorld::createCapsuleController(float radius, float height) {
    if (!checkInitialised("createCapsuleController")) {
        return nullptr;
    }
    if (!std::isfinite(radius) || radius <= 0.0f || !std::isfinite(height) || height < 0.0f) {
        reportError(errorCallback, ErrorCode::InvalidParameter, "createCapsuleController: radius or height is not valid.");
        return nullptr;
    }
    RigidBody& actor = addBody(BodyType::Kinematic, Pose(), false, nullptr);
    actor.followsController = true;
    auto shape = std::make_unique<Shape>();
    // Dynamic bodies meet the capsule scaled down: a frisbee that grazes the player's outline is not
    // thrown back by a solid zone bigger than the dog (the hitbox scores it instead). The controller's
    // own sweeps, and the other controllers', use the full capsule.
    shape->geometry = Geometry::capsule(CapsuleController::scaleCoeff * radius, CapsuleController::scaleCoeff * 0.5f * height);
    // Capsules lie along x; a quarter turn about z stands this one up.
    shape->localPose = Pose(glm::angleAxis(glm::half_pi<float>(), glm::vec3(0.0f, 0.0f, 1.0f)), glm::vec3(0.0f));
    shape->simulationFilterData = filterDataOf(CollisionGroup::Player);
    shape->queryFilterData = filterDataOf(CollisionGroup::Player);
    actor.addShape(std::move(shape));
    auto sweep = std::make_unique<ControllerSweep>(impl->world, actor, impl->controllers,
                                                   radius + CapsuleController::contactOffset, height);
    impl->controllers.push_back(
        std::make_unique<CapsuleController>(actor, std::move(sweep), errorCallback, radius, height));
    return impl->controllers.back().get();
}

void PhysicsWorld::releaseController(CapsuleController* controller) {
    if (!controller || !checkInitialised("releaseController")) {
        return;
    }
    auto& controllers = impl->controllers;
    const auto found = std::find_if(controllers.begin(), controllers.end(),
                                    [&](const std::unique_ptr<CapsuleController>& entry) { return entry.get() == controller; });
    if (found == controllers.end()) {
        reportError(errorCallback, ErrorCode::InvalidParameter, "releaseController: not a controller of this world.");
        return;
    }
    RigidBody& actor = *controller->getActor();
    controllers.erase(found);
    releaseBody(actor);
}

glm::vec3 PhysicsWorld::clearPlaceAlong(const std::vector<LocalShape>& shapes, const glm::vec3& from,
                                        const glm::vec3& to, const GameObject* passedOwner) {
    if (!checkInitialised("clearPlaceAlong")) {
        return to;
    }
    return impl->placement.place(shapes, from, to, impl->bodies, passedOwner);
}

void PhysicsWorld::passBy(RigidBody& body, std::uint64_t otherId) {
    if (!checkInitialised("passBy")) {
        return;
    }
    const auto other = std::find_if(impl->bodies.begin(), impl->bodies.end(),
                                    [&](const std::unique_ptr<RigidBody>& entry) { return entry->getId() == otherId; });
    if (other != impl->bodies.end() && other->get() != &body) {
        body.bullet().passesBy = &(*other)->bullet().body;
    }
}

glm::vec3 PhysicsWorld::getGravity() const { return gravity; }

void PhysicsWorld::setSimulationEventCallback(SimulationEventCallback* callback) {
    simulationEventCallback = callback;
}

const std::vector<BodyPair>& PhysicsWorld::getContacts() const {
    static const std::vector<BodyPair> none;
    return impl ? impl->reports.getContacts(impl->dispatcher) : none;
}

bool PhysicsWorld::isDebuggerConnected() const { return impl && impl->debugger.isConnected(); }

bool PhysicsWorld::checkInitialised(const char* operation) {
    if (!impl) {
        const std::string message = fmt::format("PhysicsWorld::{}: the world is not built yet (init).", operation);
        reportError(errorCallback, ErrorCode::InvalidOperation, message.c_str());
    }
    return impl != nullptr;
}

RigidBody& PhysicsWorld::addBody(BodyType type, const Pose& pose, bool enableCcd, Component* component) {
    const Pose unit(glm::normalize(pose.rotation), pose.position);
    auto body = std::unique_ptr<RigidBody>(new RigidBody(*this, type, impl->nextBodyId++, unit, enableCcd));
    body->userData = component;
    body->bullet().world = &impl->world;
    impl->world.addRigidBody(&body->bullet().body, btBroadphaseProxy::DefaultFilter, btBroadphaseProxy::AllFilter);
    impl->bodies.push_back(std::move(body));
    return *impl->bodies.back();
}

void PhysicsWorld::releaseBody(RigidBody& body) {
    impl->reports.forget(body);
    impl->escapes.forget(body);
    forgetPassesBy(impl->bodies, body);
    std::erase_if(impl->bodies, [&](const std::unique_ptr<RigidBody>& entry) { return entry.get() == &body; });
}

void PhysicsWorld::sendDebugFrame() {
    if (impl->debugger.isConnected()) {
        impl->debugger.sendLine(impl->frame.write(impl->stepCount, impl->bodies, impl->reports.getContacts(impl->dispatcher)));
    }
}
