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

void ModelComponent::render() {
    RenderContext& renderContext = *gEngine->renderContext;
    const glm::mat4 modelMatrix =
        glm::translate(glm::mat4(1.0f), owner->position) * glm::mat4_cast(owner->rotation);
    // The bones go once per scene pass; the shadow pass draws depth only and leaves them.
    if (!renderContext.isDepthPass()) {
        PBRShader& shader = renderContext.getPbrShader();
        shader.use();
        shader.hasBones.set(!model->bones.empty());
        shader.boneTransforms.set(model->boneTransforms);
    }
    for (std::size_t i = 0; i < model->meshes.size(); ++i) {
        // The mesh's transform within the model comes first, then the owner's placement.
        renderContext.drawMesh(*model->meshes[i], modelMatrix * model->meshTransforms[i],
                               model->materials[model->materialIndices[i]]);
    }
}
