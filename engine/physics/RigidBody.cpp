#include "engine/physics/RigidBody.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/BulletMath.h"
#include "engine/physics/Finite.h"
#include "engine/physics/MassProperties.h"
#include "engine/physics/PhysicsErrorCallback.h"
#include "engine/physics/PhysicsTolerances.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/physics/contacts/PassingBodies.h"
#include "engine/physics/sweeps/HullOfBoxes.h"

#include <algorithm>
#include <fmt/format.h>
#include <utility>

namespace {
std::unique_ptr<btCollisionShape> collisionShapeOf(const Geometry& geometry) {
    switch (geometry.getType()) {
    case GeometryType::Sphere:
        return std::make_unique<btSphereShape>(geometry.getRadius());
    case GeometryType::Capsule:
        return std::make_unique<btCapsuleShapeX>(geometry.getRadius(), 2.0f * geometry.getHalfHeight());
    case GeometryType::Box: {
        const glm::vec3 half = geometry.getHalfExtents();
        auto box = std::make_unique<btBoxShape>(toBullet(half));
        box->setMargin(PhysicsTolerances::boxMarginOf(half, PhysicsTolerances::boxMargin));
        return box;
    }
    default:
        return nullptr;
    }
}

// Velocities are set on dynamic bodies only, and finite; each refusal is reported once.
bool refusesVelocity(PhysicsErrorCallback& errors, BodyType type, const char* operation, const glm::vec3& velocity) {
    if (type != BodyType::Dynamic) {
        reportError(errors, ErrorCode::InvalidOperation, fmt::format("{}: Body must be dynamic!", operation).c_str());
        return true;
    }
    if (!isFinite(velocity)) {
        reportError(errors, ErrorCode::InvalidParameter, fmt::format("{}: velocity is not valid.", operation).c_str());
        return true;
    }
    return false;
}
} // namespace

RigidBody::RigidBody(PhysicsWorld& world, BodyType type, std::uint64_t id, const Pose& pose, bool enableCcd)
    : world(world), type(type), id(id), ccdEnabled(enableCcd && type == BodyType::Dynamic),
      placed(type == BodyType::Dynamic), bulletBody(std::make_unique<BulletBody>(type == BodyType::Dynamic ? 1.0f : 0.0f)) {
    btRigidBody& body = bulletBody->body;
    body.setUserPointer(this);
    body.setWorldTransform(toBullet(pose));
    body.setInterpolationWorldTransform(body.getWorldTransform());
    body.setFriction(defaultMaterial.dynamicFriction);
    body.setRestitution(defaultMaterial.restitution);
    // Linear damping none, a little angular damping: thrown discs spin down instead of forever.
    body.setDamping(0.0f, 0.05f);
    int flags = body.getCollisionFlags() | btCollisionObject::CF_CUSTOM_MATERIAL_CALLBACK;
    if (type == BodyType::Kinematic) {
        flags |= btCollisionObject::CF_KINEMATIC_OBJECT;
        // A kinematic body that fell asleep would stop pushing and stop being reported.
        body.setActivationState(DISABLE_DEACTIVATION);
    }
    body.setCollisionFlags(flags);
}

RigidBody::~RigidBody() {
    if (bulletBody->world) {
        bulletBody->world->removeRigidBody(&bulletBody->body);
    }
}

Pose RigidBody::getGlobalPose() const {
    return toPose(bulletBody->body.getWorldTransform()) * centreOfMass.inverse();
}

void RigidBody::setGlobalPose(const Pose& pose, bool autowake) {
    if (!pose.isValid()) {
        reportError(errors(), ErrorCode::InvalidParameter, "setGlobalPose: pose is not valid.");
        return;
    }
    Pose unit = pose;
    unit.rotation = glm::normalize(unit.rotation);
    placeShapes(unit);
    placed = true;
    if (autowake && type != BodyType::Static) {
        bulletBody->body.activate(true);
    }
}

void RigidBody::setKinematicTarget(const Pose& target) {
    if (type != BodyType::Kinematic) {
        reportError(errors(), ErrorCode::InvalidOperation, "setKinematicTarget: Body must be kinematic!");
        return;
    }
    if (!target.isValid()) {
        reportError(errors(), ErrorCode::InvalidParameter, "setKinematicTarget: target is not valid.");
        return;
    }
    kinematicTarget = Pose(glm::normalize(target.rotation), target.position);
}

glm::vec3 RigidBody::getLinearVelocity() const { return toGlm(bulletBody->body.getLinearVelocity()); }

void RigidBody::setLinearVelocity(const glm::vec3& velocity, bool autowake) {
    if (refusesVelocity(errors(), type, "setLinearVelocity", velocity)) {
        return;
    }
    bulletBody->body.setLinearVelocity(toBullet(velocity));
    if (autowake) {
        bulletBody->body.activate(true);
    }
}

glm::vec3 RigidBody::getAngularVelocity() const { return toGlm(bulletBody->body.getAngularVelocity()); }

void RigidBody::setAngularVelocity(const glm::vec3& velocity, bool autowake) {
    if (refusesVelocity(errors(), type, "setAngularVelocity", velocity)) {
        return;
    }
    bulletBody->body.setAngularVelocity(toBullet(velocity));
    if (autowake) {
        bulletBody->body.activate(true);
    }
}

bool RigidBody::updateMassAndInertia(float density) {
    const std::optional<MassProperties> properties = computeMassProperties(shapes, density);
    if (!properties) {
        reportError(errors(), ErrorCode::InvalidParameter,
                    "updateMassAndInertia: density must be greater than 0 and a shape must have volume.");
        return false;
    }
    const Pose actorPose = getGlobalPose();
    mass = properties->mass;
    centreOfMass = properties->centreOfMass;
    inertia = properties->inertia;
    if (type == BodyType::Dynamic) {
        bulletBody->body.setMassProps(mass, toBullet(inertia));
        bulletBody->body.updateInertiaTensor();
    }
    placeShapes(actorPose);
    updateHull();
    return true;
}

void RigidBody::release() {
    if (followsController) {
        reportError(errors(), ErrorCode::InvalidOperation, "release: a controller's body goes with its controller.");
        return;
    }
    world.releaseBody(*this);
}

bool RigidBody::isSeenByQueries(const FilterData& filter) const {
    const bool anyFilter = filter == FilterData{};
    return std::any_of(shapes.begin(), shapes.end(), [&](const std::unique_ptr<Shape>& shape) {
        const FilterData& own = shape->queryFilterData;
        return shape->sceneQueryShape &&
               (anyFilter || ((own.word0 & filter.word0) | (own.word1 & filter.word1) | (own.word2 & filter.word2) |
                              (own.word3 & filter.word3)) != 0);
    });
}

void RigidBody::beginStep() {
    btRigidBody& body = bulletBody->body;
    // Where the last step left the body: a controller's capsule has been moved since, not teleported.
    bulletBody->stepStart = body.getInterpolationWorldTransform();
    bulletBody->stepStartVelocity = body.getLinearVelocity();
    endPassWhenApart(*bulletBody);
    if (kinematicTarget) {
        body.setWorldTransform(toBullet(*kinematicTarget * centreOfMass));
        kinematicTarget.reset();
    }
}

bool RigidBody::takePlacement() {
    return std::exchange(placed, false);
}

void RigidBody::moveKinematicNow(const Pose& pose, bool teleport) {
    btRigidBody& body = bulletBody->body;
    body.setWorldTransform(toBullet(pose * centreOfMass));
    if (teleport) {
        body.setInterpolationWorldTransform(body.getWorldTransform());
    }
    if (bulletBody->world) {
        bulletBody->world->updateSingleAabb(&body);
    }
}

void RigidBody::addShape(std::unique_ptr<Shape> shape) {
    bulletBody->primitives.push_back(collisionShapeOf(shape->geometry));
    btCollisionShape* child = bulletBody->primitives.back().get();
    child->setUserPointer(shape.get());
    bulletBody->compound.addChildShape(toBullet(centreOfMass.inverse() * shape->localPose), child);
    filterWord |= shape->simulationFilterData.word0;
    shapes.push_back(std::move(shape));
    updateHull();
    if (bulletBody->world) {
        bulletBody->world->updateSingleAabb(&bulletBody->body);
    }
}

void RigidBody::setLevel(std::vector<std::unique_ptr<Shape>> meshShapes,
                         std::vector<std::unique_ptr<CookedTriangleMesh>> meshes) {
    std::vector<const Shape*> owners;
    for (auto& shape : meshShapes) {
        filterWord |= shape->simulationFilterData.word0;
        owners.push_back(shape.get());
        shapes.push_back(std::move(shape));
    }
    bulletBody->level = std::make_unique<LevelCollisionMesh>(std::move(meshes), std::move(owners));
    // A body's shape is read when it joins the world (its broadphase entry and pairs): it joins
    // again with the mesh.
    btDiscreteDynamicsWorld* world = bulletBody->world;
    world->removeRigidBody(&bulletBody->body);
    bulletBody->body.setCollisionShape(&bulletBody->level->getShape());
    world->addRigidBody(&bulletBody->body, btBroadphaseProxy::DefaultFilter, btBroadphaseProxy::AllFilter);
}

void RigidBody::placeShapes(const Pose& actorPose) {
    btCompoundShape& compound = bulletBody->compound;
    const Pose toMassFrame = centreOfMass.inverse();
    for (int i = 0; i < compound.getNumChildShapes(); ++i) {
        compound.updateChildTransform(i, toBullet(toMassFrame * shapes[i]->localPose), false);
    }
    compound.recalculateLocalAabb();
    btRigidBody& body = bulletBody->body;
    body.setWorldTransform(toBullet(actorPose * centreOfMass));
    body.setInterpolationWorldTransform(body.getWorldTransform());
    // The solver's inertia turns with the body.
    body.updateInertiaTensor();
    if (bulletBody->world) {
        bulletBody->world->updateSingleAabb(&body);
    }
}

void RigidBody::updateHull() {
    if (ccdEnabled) {
        bulletBody->hull = hullOfBoxes(bulletBody->compound);
    }
}

PhysicsErrorCallback& RigidBody::errors() const { return world.errorCallback; }
