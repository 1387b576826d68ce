#include "bench/BulletBaseline.h"

#include "engine/physics/BulletMath.h"
#include "engine/physics/contacts/PhysicsMaterial.h"
#include "engine/physics/level/LevelCollisionMesh.h"

#include <btBulletDynamicsCommon.h>
#include <cmath>
#include <glm/gtc/constants.hpp>

namespace {
struct BodyMaterial {
    float friction;
    float restitution;
};

// What a kind of baseline gives its bodies besides their shapes.
struct Settings {
    BodyMaterial level;
    BodyMaterial body; // discs and capsules
    float angularDamping;
};

// Our world averages the materials of two touching shapes; the library multiplies the two bodies'
// values. Discs and capsules (both of our default material) take the square root of that pair's
// value and the level the rest of its pair with a disc, so that every product is the value of
// ours: disc-level friction 1.25 and restitution 0.3, disc-disc and disc-capsule 0.5 and 0.6. The
// angular damping is our bodies': thrown discs spin down.
Settings matchedSettings() {
    const BodyMaterial body{std::sqrt(combinedFriction(defaultMaterial, defaultMaterial)),
                            std::sqrt(combinedRestitution(defaultMaterial, defaultMaterial))};
    const BodyMaterial level{combinedFriction(defaultMaterial, levelMaterial) / body.friction,
                             combinedRestitution(defaultMaterial, levelMaterial) / body.restitution};
    return {level, body, 0.05f};
}

// The first baseline's, kept so that its figures can still be followed: the library's default
// friction 0.5 and no bounce beside a level of friction 2, no damping.
constexpr Settings firstSettings{{2.0f, 0.0f}, {0.5f, 0.0f}, 0.0f};

// A disc moving further than this in a step (metres) is swept as a sphere of this radius: about
// its half thickness, so a disc that would pass through a wall in one step is stopped. Asked for
// on both kinds of disc; the library sweeps only convex shapes.
constexpr float ccdDistance = 0.05f;

// The disc's two boxes in its frame: the second turned 45 degrees about y.
const btTransform boxPoses[2] = {btTransform::getIdentity(),
                                 btTransform(btQuaternion(btVector3(0, 1, 0), glm::quarter_pi<float>()))};

// The library rounds the hull by its margin outside the points: corners drawn in by the margin
// keep the disc the size of its boxes.
std::unique_ptr<btCollisionShape> hullOf(const btBoxShape& box) {
    auto hull = std::make_unique<btConvexHullShape>();
    const btVector3 inner = box.getHalfExtentsWithoutMargin();
    for (const btTransform& pose : boxPoses) {
        for (int corner = 0; corner < 8; ++corner) {
            const btVector3 sign(corner & 1 ? 1 : -1, corner & 2 ? 1 : -1, corner & 4 ? 1 : -1);
            hull->addPoint(pose * (inner * sign), false);
        }
    }
    hull->recalcLocalAabb();
    hull->setMargin(box.getMargin());
    return hull;
}

std::unique_ptr<btCollisionShape> compoundOf(btBoxShape& box) {
    auto compound = std::make_unique<btCompoundShape>();
    for (const btTransform& pose : boxPoses) {
        compound->addChildShape(pose, &box);
    }
    return compound;
}

void setMaterial(btRigidBody& body, const BodyMaterial& material) {
    body.setFriction(material.friction);
    body.setRestitution(material.restitution);
}
} // namespace

struct BulletBaseline::Impl {
    Impl(Kind kind, const glm::vec3& discHalfExtents)
        : settings(kind == Kind::Hull ? matchedSettings() : firstSettings), discBox(toBullet(discHalfExtents)),
          discMass(2.0f * 8.0f * discHalfExtents.x * discHalfExtents.y * discHalfExtents.z) {
        world.setGravity(btVector3(0.0f, -9.81f, 0.0f));
        world.getSolverInfo().m_restitutionVelocityThreshold = bounceThreshold;
        // Inside the disc's thin boxes, as our world's box margin is.
        discBox.setMargin(0.5f * discHalfExtents.y);
        disc = kind == Kind::Hull ? hullOf(discBox) : compoundOf(discBox);
        disc->calculateLocalInertia(discMass, discInertia);
    }

    ~Impl() {
        for (auto& body : bodies) {
            if (body) {
                world.removeRigidBody(body.get());
            }
        }
    }

    btRigidBody& add(float mass, btCollisionShape& shape, const btTransform& pose, const btVector3& inertia) {
        bodies.push_back(std::make_unique<btRigidBody>(mass, nullptr, &shape, inertia));
        btRigidBody& body = *bodies.back();
        body.setWorldTransform(pose);
        body.setInterpolationWorldTransform(pose);
        return body;
    }

    // One static body over the cooked meshes, its shape one tree of them all.
    void addLevelBody(std::vector<std::unique_ptr<CookedTriangleMesh>> cooked) {
        std::vector<const Shape*> noShapes(cooked.size(), nullptr);
        meshes.push_back(std::make_unique<LevelCollisionMesh>(std::move(cooked), std::move(noShapes)));
        btRigidBody& body = add(0.0f, meshes.back()->getShape(), btTransform::getIdentity(), btVector3(0, 0, 0));
        setMaterial(body, settings.level);
        world.addRigidBody(&body);
    }

    btRigidBody& addKinematic(btCollisionShape& shape, const glm::vec3& centre) {
        btRigidBody& body = add(0.0f, shape, btTransform(btQuaternion::getIdentity(), toBullet(centre)), btVector3(0, 0, 0));
        body.setCollisionFlags(body.getCollisionFlags() | btCollisionObject::CF_KINEMATIC_OBJECT);
        body.setActivationState(DISABLE_DEACTIVATION);
        world.addRigidBody(&body);
        return body;
    }

    btDefaultCollisionConfiguration configuration;
    btCollisionDispatcher dispatcher{&configuration};
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    btDiscreteDynamicsWorld world{&dispatcher, &broadphase, &solver, &configuration};
    std::vector<std::unique_ptr<LevelCollisionMesh>> meshes;
    std::vector<std::unique_ptr<btCollisionShape>> shapes;
    // Indexed by the handles handed out; a removed body leaves an empty slot.
    std::vector<std::unique_ptr<btRigidBody>> bodies;
    Settings settings;
    // Every disc shares the one shape, as the library allows.
    btBoxShape discBox;
    std::unique_ptr<btCollisionShape> disc;
    float discMass;
    btVector3 discInertia;
};

BulletBaseline::BulletBaseline(Kind kind, const glm::vec3& discHalfExtents)
    : impl(std::make_unique<Impl>(kind, discHalfExtents)) {}

BulletBaseline::~BulletBaseline() = default;

void BulletBaseline::addLevel(const std::vector<LevelMesh>& meshes, LevelBodies bodies) {
    std::vector<std::unique_ptr<CookedTriangleMesh>> cooked;
    for (const LevelMesh& mesh : meshes) {
        if (auto one = CookedTriangleMesh::cook(mesh)) {
            cooked.push_back(std::move(one));
        }
    }
    if (cooked.empty()) {
        return;
    }
    if (bodies == LevelBodies::OneTree) {
        impl->addLevelBody(std::move(cooked));
        return;
    }
    for (auto& mesh : cooked) {
        std::vector<std::unique_ptr<CookedTriangleMesh>> one;
        one.push_back(std::move(mesh));
        impl->addLevelBody(std::move(one));
    }
}

std::size_t BulletBaseline::addCapsule(float radius, float height, const glm::vec3& centre) {
    impl->shapes.push_back(std::make_unique<btCapsuleShape>(radius, height));
    setMaterial(impl->addKinematic(*impl->shapes.back(), centre), impl->settings.body);
    return impl->bodies.size() - 1;
}

std::size_t BulletBaseline::addHitbox(const glm::vec3& halfExtents, const glm::vec3& centre) {
    impl->shapes.push_back(std::make_unique<btBoxShape>(toBullet(halfExtents)));
    btRigidBody& body = impl->addKinematic(*impl->shapes.back(), centre);
    body.setCollisionFlags(body.getCollisionFlags() | btCollisionObject::CF_NO_CONTACT_RESPONSE);
    return impl->bodies.size() - 1;
}

void BulletBaseline::moveKinematic(std::size_t index, const glm::vec3& centre) {
    impl->bodies[index]->setWorldTransform(btTransform(btQuaternion::getIdentity(), toBullet(centre)));
}

std::size_t BulletBaseline::addFrisbee(const Pose& pose, const glm::vec3& velocity) {
    btRigidBody& body = impl->add(impl->discMass, *impl->disc, toBullet(pose), impl->discInertia);
    setMaterial(body, impl->settings.body);
    body.setDamping(0.0f, impl->settings.angularDamping);
    body.setLinearVelocity(toBullet(velocity));
    body.setCcdMotionThreshold(ccdDistance);
    body.setCcdSweptSphereRadius(ccdDistance);
    impl->world.addRigidBody(&body);
    return impl->bodies.size() - 1;
}

void BulletBaseline::rethrow(std::size_t index, const Pose& pose, const glm::vec3& velocity) {
    btRigidBody& body = *impl->bodies[index];
    body.setWorldTransform(toBullet(pose));
    body.setInterpolationWorldTransform(toBullet(pose));
    body.setLinearVelocity(toBullet(velocity));
    body.setAngularVelocity(btVector3(0, 0, 0));
    body.activate(true);
}

void BulletBaseline::remove(std::size_t index) {
    impl->world.removeRigidBody(impl->bodies[index].get());
    impl->bodies[index].reset();
}

bool BulletBaseline::isAwake(std::size_t index) const { return impl->bodies[index]->isActive(); }

void BulletBaseline::step(float dt) { impl->world.stepSimulation(dt, 0, dt); }
