#include "bench/BulletBaseline.h"

#include "engine/physics/BulletMath.h"
#include "engine/physics/CookedTriangleMesh.h"

#include <btBulletDynamicsCommon.h>
#include <glm/gtc/constants.hpp>

struct BulletBaseline::Impl {
    btDefaultCollisionConfiguration configuration;
    btCollisionDispatcher dispatcher{&configuration};
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    btDiscreteDynamicsWorld world{&dispatcher, &broadphase, &solver, &configuration};
    std::vector<std::unique_ptr<CookedTriangleMesh>> meshes;
    std::vector<std::unique_ptr<btCollisionShape>> shapes;
    std::vector<std::unique_ptr<btRigidBody>> bodies;

    ~Impl() {
        for (auto& body : bodies) {
            world.removeRigidBody(body.get());
        }
    }

    btRigidBody& add(float mass, btCollisionShape& shape, const btTransform& pose, const btVector3& inertia) {
        bodies.push_back(std::make_unique<btRigidBody>(mass, nullptr, &shape, inertia));
        btRigidBody& body = *bodies.back();
        body.setWorldTransform(pose);
        body.setInterpolationWorldTransform(pose);
        return body;
    }

    btRigidBody& addKinematic(btCollisionShape& shape, const glm::vec3& centre) {
        btRigidBody& body = add(0.0f, shape, btTransform(btQuaternion::getIdentity(), toBullet(centre)), btVector3(0, 0, 0));
        body.setCollisionFlags(body.getCollisionFlags() | btCollisionObject::CF_KINEMATIC_OBJECT);
        body.setActivationState(DISABLE_DEACTIVATION);
        world.addRigidBody(&body);
        return body;
    }
};

BulletBaseline::BulletBaseline() : impl(std::make_unique<Impl>()) { impl->world.setGravity(btVector3(0.0f, -9.81f, 0.0f)); }

BulletBaseline::~BulletBaseline() = default;

void BulletBaseline::addLevel(const std::vector<LevelMesh>& meshes) {
    for (const LevelMesh& mesh : meshes) {
        impl->meshes.push_back(CookedTriangleMesh::cook(mesh));
        btRigidBody& body = impl->add(0.0f, impl->meshes.back()->getShape(), btTransform::getIdentity(), btVector3(0, 0, 0));
        body.setFriction(2.0f);
        body.setRestitution(0.0f);
        impl->world.addRigidBody(&body);
    }
}

std::size_t BulletBaseline::addCapsule(float radius, float height, const glm::vec3& centre) {
    impl->shapes.push_back(std::make_unique<btCapsuleShape>(radius, height));
    impl->addKinematic(*impl->shapes.back(), centre);
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

std::size_t BulletBaseline::addFrisbee(const glm::vec3& half, const Pose& pose, const glm::vec3& velocity) {
    auto box = std::make_unique<btBoxShape>(toBullet(half));
    box->setMargin(0.5f * half.y);
    auto compound = std::make_unique<btCompoundShape>();
    compound->addChildShape(btTransform::getIdentity(), box.get());
    compound->addChildShape(btTransform(btQuaternion(btVector3(0, 1, 0), glm::quarter_pi<float>())), box.get());
    const float mass = 2.0f * 8.0f * half.x * half.y * half.z;
    btVector3 inertia;
    compound->calculateLocalInertia(mass, inertia);
    btRigidBody& body = impl->add(mass, *compound, toBullet(pose), inertia);
    body.setLinearVelocity(toBullet(velocity));
    body.setCcdMotionThreshold(half.y);
    body.setCcdSweptSphereRadius(half.y);
    impl->world.addRigidBody(&body);
    impl->shapes.push_back(std::move(box));
    impl->shapes.push_back(std::move(compound));
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

void BulletBaseline::step(float dt) { impl->world.stepSimulation(dt, 0, dt); }
