#pragma once

#include "engine/scene/Component.h"

class Model;

// Draws a Model it does not own at its owner's position and rotation, in the shadow pass and in
// each scene pass. The model must outlive every frame that draws the component.
class ModelComponent : public Component {
public:
    ModelComponent(GameObject* owner, Model* model);

    void render() override;

    Model* model;
};
