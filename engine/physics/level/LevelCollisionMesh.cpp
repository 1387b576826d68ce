#include "engine/physics/level/LevelCollisionMesh.h"

#include "engine/physics/BulletMath.h"
#include "engine/physics/level/LevelInterior.h"

#include <algorithm>

namespace {
// The compressed tree names a triangle by 10 bits of its mesh and 21 of its index: beyond that the
// names would run into each other, and the tree is kept uncompressed.
bool fitsCompressedTree(const std::vector<std::unique_ptr<CookedTriangleMesh>>& meshes) {
    return meshes.size() < (1u << 10) && std::all_of(meshes.begin(), meshes.end(), [](const auto& mesh) {
               return mesh->getTriangles().size() < (1u << 21);
           });
}
} // namespace

LevelCollisionMesh::LevelCollisionMesh(std::vector<std::unique_ptr<CookedTriangleMesh>> meshesIn,
                                       std::vector<const Shape*> shapesIn)
    : meshes(std::move(meshesIn)), shapes(std::move(shapesIn)), facts(findTriangleFacts(meshes)) {
    for (const auto& mesh : meshes) {
        btIndexedMesh indexed;
        indexed.m_numTriangles = static_cast<int>(mesh->getTriangles().size());
        indexed.m_triangleIndexBase = reinterpret_cast<const unsigned char*>(mesh->getTriangles().data());
        indexed.m_triangleIndexStride = static_cast<int>(sizeof(glm::uvec3));
        indexed.m_numVertices = static_cast<int>(mesh->getPositions().size());
        indexed.m_vertexBase = reinterpret_cast<const unsigned char*>(mesh->getPositions().data());
        indexed.m_vertexStride = static_cast<int>(sizeof(glm::vec3));
        indexed.m_indexType = PHY_INTEGER;
        indexed.m_vertexType = PHY_FLOAT;
        vertexArray.addIndexedMesh(indexed, PHY_INTEGER);
    }
    tree = std::make_unique<btBvhTriangleMeshShape>(&vertexArray, fitsCompressedTree(meshes));
    tree->setUserPointer(this);
}

const LevelCollisionMesh* LevelCollisionMesh::of(const btCollisionShape& shape) {
    if (shape.getShapeType() != TRIANGLE_MESH_SHAPE_PROXYTYPE) {
        return nullptr;
    }
    return static_cast<const LevelCollisionMesh*>(shape.getUserPointer());
}

bool LevelCollisionMesh::hidden(int part, int index, const btVector3& point) const {
    return getFacts(part, index).coverCount > 0 && facts.hidden(part, index, toGlm(point));
}

std::optional<btVector3> LevelCollisionMesh::wayOutFrom(const btVector3& point, std::span<const glm::vec3> barred) const {
    const std::optional<glm::vec3> way = wayOut(meshes, facts, toGlm(point), barred);
    return way ? std::optional<btVector3>(toBullet(*way)) : std::nullopt;
}
