#pragma once

#include "engine/physics/Geometry.h"
#include "engine/physics/Pose.h"

// A geometry at its pose in a body's frame: one shape of a body described before the body exists.
struct LocalShape {
    Geometry geometry;
    Pose localPose;
};
