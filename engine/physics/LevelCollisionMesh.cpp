#include "engine/physics/LevelCollisionMesh.h"

LevelCollisionMesh::LevelCollisionMesh(std::vector<std::unique_ptr<CookedTriangleMesh>> meshesIn,
                                       std::vector<const Shape*> shapesIn)
    : meshes(std::move(meshesIn)), shapes(std::move(shapesIn)) {
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
    tree = std::make_unique<btBvhTriangleMeshShape>(&vertexArray, true);
    tree->setUserPointer(this);
}

const LevelCollisionMesh* LevelCollisionMesh::of(const btCollisionShape& shape) {
    return shape.getShapeType() == TRIANGLE_MESH_SHAPE_PROXYTYPE ? static_cast<const LevelCollisionMesh*>(shape.getUserPointer())
                                                                 : nullptr;
}
