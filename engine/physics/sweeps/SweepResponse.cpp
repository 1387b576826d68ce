#include "engine/physics/sweeps/SweepResponse.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/PhysicsTolerances.h"
#include "engine/physics/RigidBody.h"

namespace {
btScalar inverseMass(const RigidBody& body) { return body.getType() == BodyType::Dynamic ? 1.0f / body.getMass() : 0.0f; }

// A moved body's velocity is the step's displacement; a simulated one has its own.
btVector3 velocityOf(const RigidBody& body, float dt) {
    const BulletBody& simulated = body.bullet();
    if (body.getType() == BodyType::Dynamic) {
        return simulated.body.getLinearVelocity();
    }
    return (simulated.body.getWorldTransform().getOrigin() - simulated.stepStart.getOrigin()) / dt;
}

// Puts the body where it was at the fraction of its motion from start to its end pose, pushed clear.
void place(RigidBody& body, const btTransform& start, btScalar fraction, const btVector3& push) {
    btRigidBody& moving = body.bullet().body;
    btTransform at = StepMotion(start, moving.getWorldTransform()).at(fraction);
    at.setOrigin(at.getOrigin() + push);
    // Sets the interpolation pose too, and turns the inertia with the body.
    moving.setCenterOfMassTransform(at);
    body.bullet().world->updateSingleAabb(&moving);
}

void bounce(RigidBody& body, RigidBody& other, const BodyTouch& touch, float dt) {
    const btScalar into = (velocityOf(body, dt) - velocityOf(other, dt)).dot(touch.normal);
    if (into >= 0.0f) {
        return;
    }
    const PhysicsMaterial& own = body.getShape(static_cast<std::size_t>(touch.sweptChild)).material;
    const PhysicsMaterial& theirs = other.getShape(static_cast<std::size_t>(touch.otherChild)).material;
    const float restitution = -into > bounceThreshold ? combinedRestitution(own, theirs) : 0.0f;
    const btScalar impulse = -(1.0f + restitution) * into / (inverseMass(body) + inverseMass(other));
    btRigidBody& moving = body.bullet().body;
    moving.setLinearVelocity(moving.getLinearVelocity() + touch.normal * (impulse * inverseMass(body)));
    if (other.getType() == BodyType::Dynamic) {
        btRigidBody& pushed = other.bullet().body;
        pushed.setLinearVelocity(pushed.getLinearVelocity() - touch.normal * (impulse * inverseMass(other)));
        pushed.activate(true);
    }
}
} // namespace

void stopAtTouch(RigidBody& body, RigidBody& other, const BodyTouch& touch, float dt) {
    if (other.getType() == BodyType::Dynamic) {
        place(body, body.bullet().stepStart, touch.fraction, touch.normal * (0.5f * PhysicsTolerances::clearance));
        place(other, other.bullet().stepStart, touch.fraction, touch.normal * (-0.5f * PhysicsTolerances::clearance));
    } else {
        place(body, relativeStart(body.bullet(), other.bullet()), touch.fraction, touch.normal * PhysicsTolerances::clearance);
    }
    bounce(body, other, touch, dt);
}

bool approaching(const RigidBody& body, const RigidBody& other, const btVector3& normal, float dt) {
    return (velocityOf(body, dt) - velocityOf(other, dt)).dot(normal) < 0.0f;
}
