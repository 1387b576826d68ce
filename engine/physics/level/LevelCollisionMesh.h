#pragma once

#include "engine/physics/level/CookedTriangleMesh.h"
#include "engine/physics/level/TriangleFacts.h"

#include <btBulletCollisionCommon.h>
#include <memory>
#include <optional>
#include <span>
#include <vector>

struct Shape;

// The static level's collision shape: one bounding-volume tree over the triangles of all the meshes
// of a level body, each mesh one part of it (part i is the body's shape i). One tree finds the
// triangles near a body in one walk, where one tree per mesh would take a walk per mesh.
class LevelCollisionMesh {
public:
    // shapes: the body's shape of each mesh, in the same order; kept by address.
    LevelCollisionMesh(std::vector<std::unique_ptr<CookedTriangleMesh>> meshes, std::vector<const Shape*> shapes);
    LevelCollisionMesh(const LevelCollisionMesh&) = delete;
    LevelCollisionMesh& operator=(const LevelCollisionMesh&) = delete;

    // The mesh a collision shape is the tree of, or null for any other shape.
    static const LevelCollisionMesh* of(const btCollisionShape& shape);

    btBvhTriangleMeshShape& getShape() { return *tree; }
    const btBvhTriangleMeshShape& getShape() const { return *tree; }
    // Of triangle `index` of mesh `part`, as the tree names them in its callbacks.
    const TriangleFacts& getFacts(int part, int index) const { return facts.triangles[part][index]; }
    // Whether the point (in the level's frame) on that triangle lies where another solid covers it.
    bool hidden(int part, int index, const btVector3& point) const;
    const Shape* getShapeOf(int part) const { return shapes[part]; }
    // From a point (in the level's frame) inside one of the level's solids to the nearest place where
    // it lies open, passing over the barred directions; none for a point outside them. See wayOut.
    std::optional<btVector3> wayOutFrom(const btVector3& point, std::span<const glm::vec3> barred) const;

private:
    std::vector<std::unique_ptr<CookedTriangleMesh>> meshes;
    std::vector<const Shape*> shapes;
    LevelFacts facts;
    btTriangleIndexVertexArray vertexArray;
    std::unique_ptr<btBvhTriangleMeshShape> tree;
};
