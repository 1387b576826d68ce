#include "graphics/model/Model.h"

#include "engine/Logging.h"
#include "graphics/model/ModelImport.h"

#include <algorithm>

Model::Model(const ModelData& data)
    : name(data.name),
      meshTransforms(data.meshTransforms),
      materialIndices(data.materialIndices),
      bones(data.bones),
      skeleton(data.skeleton),
      animations(data.animations) {
    for (std::size_t j = 0; j < maxBones; ++j) {
        boneTransforms[j] = glm::mat4(1.0f);
        bindTransforms[j] = j < bones.size() ? bones[j].bindTransform : glm::mat4(1.0f);
    }
    if (!materialIndices.empty()) {
        materials.resize(*std::max_element(materialIndices.begin(), materialIndices.end()) + 1);
    }
    meshes.reserve(data.subMeshes.size());
    for (const SubMesh& subMesh : data.subMeshes) {
        meshes.push_back(std::make_shared<Mesh>(SubMesh(subMesh)));
    }
}

Model::Model(const std::string& path) : Model(loadModel(path)) {}

bool Model::setMaterial(std::size_t index, const Material& material) {
    if (index >= materials.size()) {
        getGeneralLogger()->error("Material {} is past the {} materials of model '{}'", index, materials.size(), name);
        return false;
    }
    materials[index] = material;
    return true;
}
