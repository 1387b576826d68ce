#pragma once

#include "engine/scene/Component.h"
#include "graphics/render/Camera.h"

#include <glm/vec3.hpp>

class View;

// A player's eye: the camera placed at its owner plus an offset in the owner's frame, rendering
// through the player's view. The game loop calls update once per player per frame, before that
// player's scene pass; the player control and the spawn points call updatePosition after they
// turn the camera. No per-frame work of its own: the walks pass it by.
class CameraComponent : public Component {
public:
    // view is not owned and must outlive the component.
    CameraComponent(GameObject* owner, View* view, const Camera& camera, const glm::vec3& offset);

    // Takes the view's aspect ratio, sets its viewport, follows the owner and uploads
    // "viewProjectMatrix" and "eyePos" to the physically based program, which stays in use. Only
    // stale matrices are rebuilt.
    void update();
    // eye = owner's position + owner's rotation applied to offset. Only a real change of the eye
    // (compared exactly) marks the view stale.
    void updatePosition();

    Camera camera;
    View* view;
    glm::vec3 offset;
};
