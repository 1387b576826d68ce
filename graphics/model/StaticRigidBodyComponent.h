#pragma once

#include "engine/scene/Component.h"

#include <memory>

class ModelComponent;
class RigidBody;

// Makes the static level from the model drawn by its owner (or the first descendant with a
// model component): one triangle mesh per mesh, placed exactly where the renderer draws it.
class StaticRigidBodyComponent : public Component {
public:
    explicit StaticRigidBodyComponent(GameObject* owner);
    ~StaticRigidBodyComponent() override;

    void onStart() override;
    void onDestroy() override;

private:
    std::weak_ptr<ModelComponent> model;
    RigidBody* actor = nullptr;
};
