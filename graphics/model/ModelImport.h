#pragma once

#include "graphics/model/ModelData.h"

#include <assimp/matrix4x4.h>
#include <string>
#include <vector>

struct aiMesh;
struct aiNode;
struct aiScene;

// Reads a COLLADA file (any format the importer knows, in fact) into a ModelData. A file that
// cannot be read is fatal: "Could not load model: {}" and exit status 1.
ModelData loadModel(const std::string& path);

ModelData processScene(const aiScene& scene);

// Depth first, a node's meshes before its children. parentTransform is the world transform of
// the node's parent (identity for the root); each mesh of the node gets parent x node.
void processNode(const aiNode& node, const aiScene& scene, ModelData& data, std::vector<Bone>& bones,
                 const aiMatrix4x4& parentTransform);

// The mesh's arrays as the file has them, in its node's space, with up to four bone influences
// per vertex, heaviest first, normalised when any weight is above zero. A triangle with a corner
// past the vertices is left out, with one warning for the mesh.
SubMesh processMesh(const aiMesh& mesh, std::vector<Bone>& bones);

void buildSkeleton(const aiNode& node, SkeletonNode& parent, std::vector<Bone>& bones);

void processAnimations(const aiScene& scene, std::vector<Animation>& animations, const std::vector<Bone>& bones);
