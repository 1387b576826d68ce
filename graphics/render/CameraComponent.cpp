#include "graphics/render/CameraComponent.h"

#include "engine/scene/GameObject.h"
#include "engine/window/View.h"
#include "graphics/shaders/Shaders.h"

CameraComponent::CameraComponent(GameObject* owner, View* view, const Camera& camera,
                                 const glm::vec3& offset)
    : Component(owner, "CameraComponent"), camera(camera), view(view), offset(offset) {}

void CameraComponent::update() {
    const float aspect = view->getAspectRatio();
    // Written as a negated equality so that a NaN on either side counts as a change.
    if (!(camera.aspect == aspect)) {
        camera.projectionValid = false;
        camera.viewProjectionValid = false;
    }
    camera.aspect = aspect;
    view->apply();
    updatePosition();

    PBRShader& pbr = getShaders().pbr;
    pbr.use();
    if (!camera.viewProjectionValid) {
        camera.getProjectionMatrix();
        if (!camera.viewValid) {
            camera.view = camera.getViewMatrix(camera.position);
            camera.viewValid = true;
        }
        camera.viewProjection = camera.projection * camera.view;
        camera.viewProjectionValid = true;
    }
    pbr.viewProjectMatrix.set(camera.viewProjection);
    pbr.eyePos.set(camera.position);
}

void CameraComponent::updatePosition() {
    const glm::vec3 eye = owner->position + owner->rotation * offset;
    if (eye != camera.position) {
        camera.viewValid = false;
        camera.viewProjectionValid = false;
    }
    camera.position = eye;
}
