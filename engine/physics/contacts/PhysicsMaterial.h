#pragma once

// Surface properties of a shape. Where two shapes touch, each property is the average of the two
// (not the product): a bouncy body on a dead floor still bounces a little.
struct PhysicsMaterial {
    float staticFriction = 0.5f;
    float dynamicFriction = 0.5f;
    float restitution = 0.6f;
};

// Every body's shapes, controllers' capsules included.
inline constexpr PhysicsMaterial defaultMaterial{0.5f, 0.5f, 0.6f};
// The level: grippy and dead, so bodies come to rest on it instead of skating and bouncing.
inline constexpr PhysicsMaterial levelMaterial{2.0f, 2.0f, 0.0f};

// Relative speeds into a contact below this (metres per second) do not bounce, so resting bodies stay
// at rest instead of jittering on the floor.
inline constexpr float bounceThreshold = 2.0f;

// The solver knows one friction coefficient; sliding friction is the one that matters for bodies in
// motion. Averaged as the two materials' combine mode.
inline float combinedFriction(const PhysicsMaterial& a, const PhysicsMaterial& b) {
    return 0.5f * (a.dynamicFriction + b.dynamicFriction);
}

inline float combinedRestitution(const PhysicsMaterial& a, const PhysicsMaterial& b) {
    return 0.5f * (a.restitution + b.restitution);
}
