#pragma once

#include "engine/physics/LocalShape.h"
#include "engine/physics/sweeps/LevelSweep.h"

#include <btBulletCollisionCommon.h>
#include <memory>
#include <optional>
#include <vector>

class GameObject;
class RigidBody;

// Finds where a body that does not exist yet can be put on a straight path: its boxes, unturned,
// are carried from the path's start to its end against the level and the hitboxes, and the body
// goes to the end or, when they meet something, short of it. The start must lie outside the
// level's solids: a face of a solid is met only from its front.
class PlacementSweep {
public:
    // from, to: the path in world coordinates. Hitboxes whose component belongs to passedOwner are
    // passed through. Shapes other than boxes are not carried.
    glm::vec3 place(const std::vector<LocalShape>& shapes, const glm::vec3& from, const glm::vec3& to,
                    const std::vector<std::unique_ptr<RigidBody>>& bodies, const GameObject* passedOwner);

private:
    // The first thing the boxes meet, as a fraction of the path, and where the body goes for it.
    struct Meeting {
        btScalar fraction;
        btVector3 at;
    };

    void meetLevel(const btBoxShape& box, const btTransform& local, const btVector3& from, const btVector3& to,
                   const RigidBody& level, std::optional<Meeting>& first);
    static void meetHitbox(const btBoxShape& box, const btTransform& local, const btVector3& from, const btVector3& to,
                           const RigidBody& hitbox, std::optional<Meeting>& first);

    LevelSweep levelSweep;
};
