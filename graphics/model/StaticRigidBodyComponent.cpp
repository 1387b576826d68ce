#include "graphics/model/StaticRigidBodyComponent.h"

#include "engine/Engine.h"
#include "engine/Logging.h"
#include "graphics/model/Model.h"
#include "graphics/render/ModelComponent.h"

namespace {
// What the renderer draws for each mesh: the model component's owner placement times the mesh's
// transform within the model, baked into the level.
std::vector<LevelMesh> levelOf(const ModelComponent& component) {
    const glm::mat4 placement = placementOf(*component.getOwner());
    const Model& model = *component.model;
    std::vector<LevelMesh> level(model.meshes.size());
    for (std::size_t i = 0; i < model.meshes.size(); ++i) {
        level[i].positions = model.meshes[i]->getPositions().getData();
        level[i].triangles = model.meshes[i]->getTriangles().getData();
        level[i].transform = placement * model.meshTransforms[i];
    }
    return level;
}
} // namespace

StaticRigidBodyComponent::StaticRigidBodyComponent(GameObject* owner)
    : Component(owner, "StaticRigidBodyComponent") {}

StaticRigidBodyComponent::~StaticRigidBodyComponent() { onDestroy(); }

void StaticRigidBodyComponent::onStart() {
    getGeneralLogger()->debug("StaticRigidBodyComponent::onStart() {}", owner->name);
    const auto found = owner->getComponentInChildren<ModelComponent>();
    if (!found) {
        getGeneralLogger()->error("StaticRigidBodyComponent requires the GameObject to have a model.");
        setActive(false);
        return;
    }
    model = *found;
    actor = gEngine->physics.addRigidStatic(levelOf(*found->lock()));
}

void StaticRigidBodyComponent::onDestroy() {
    if (actor != nullptr) {
        actor->release();
        actor = nullptr;
    }
}
