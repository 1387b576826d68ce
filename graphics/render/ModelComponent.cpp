#include "graphics/render/ModelComponent.h"

#include "engine/Engine.h"
#include "engine/scene/GameObject.h"
#include "graphics/model/Model.h"
#include "graphics/render/RenderContext.h"
#include "graphics/shaders/PBRShader.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>

ModelComponent::ModelComponent(GameObject* owner, Model* model)
    : Component(owner, "ModelComponent"), model(model) {}

void ModelComponent::render() { drawModel(*gEngine->renderContext, *model, placementOf(*owner)); }

glm::mat4 placementOf(const GameObject& object) {
    return glm::translate(glm::mat4(1.0f), object.position) * glm::mat4_cast(object.rotation);
}

void drawModel(RenderContext& context, const Model& model, const glm::mat4& placement) {
    if (!context.isDepthPass()) {
        PBRShader& shader = context.getPbrShader();
        shader.use();
        shader.hasBones.set(!model.bones.empty());
        shader.boneTransforms.set(model.boneTransforms);
    }
    for (std::size_t i = 0; i < model.meshes.size(); ++i) {
        // The mesh's transform within the model comes first, then the placement.
        context.drawMesh(*model.meshes[i], placement * model.meshTransforms[i],
                         model.materials[model.materialIndices[i]]);
    }
}
