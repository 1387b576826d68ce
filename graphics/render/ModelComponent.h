#pragma once

#include "engine/scene/Component.h"

#include <glm/mat4x4.hpp>

class Model;
class RenderContext;

// Draws a Model it does not own at its owner's position and rotation, in the shadow pass and in
// each scene pass. The model must outlive every frame that draws the component.
class ModelComponent : public Component {
public:
    ModelComponent(GameObject* owner, Model* model);

    void render() override;

    Model* model;
};

// Where an object's model is drawn: the translation to its position times its rotation, no
// scale. The static level is placed by the same matrix, so what a player bumps into is what is
// drawn.
glm::mat4 placementOf(const GameObject& object);

// Each mesh of the model at placement × its mesh transform, in the pass the context is in. The
// bone uniforms go once per call and only outside the shadow pass, which draws depth alone.
void drawModel(RenderContext& context, const Model& model, const glm::mat4& placement);
