#pragma once

#include "engine/physics/Geometry.h"
#include "engine/physics/Pose.h"
#include "engine/physics/contacts/CollisionGroup.h"
#include "engine/physics/contacts/PhysicsMaterial.h"

class Component;

// One shape of a body, as the world built it. The world owns it with its body; a shape's address
// stays valid until the body is released.
struct Shape {
    Geometry geometry;
    Pose localPose;          // in the body's (actor's) frame
    FilterData simulationFilterData;
    FilterData queryFilterData;
    PhysicsMaterial material = defaultMaterial;
    // Whether character controllers' sweeps see it. Off for dynamic bodies and hitboxes.
    bool sceneQueryShape = true;
    Component* userData = nullptr;
};
