#pragma once

#include "graphics/gl/SubMesh.h"
#include "graphics/gl/VertexArrayObject.h"
#include "graphics/gl/VertexBufferObject.h"

#include <array>

// The unit cube of edge 2 centred on the origin: six faces of four vertices (+z, +x, -z, -x, +y,
// -y), two triangles each, counter-clockwise seen from outside.
extern const std::array<glm::vec3, 24> unitCubePositions;
extern const std::array<glm::vec3, 24> unitCubeNormals;
extern const std::array<glm::uvec3, 12> unitCubeTriangles;
extern const std::array<glm::vec2, 24> unitCubeTextureCoordinates;

// Geometry on the GPU: one vertex array over five attribute buffers and an element buffer.
// Attribute locations, which every mesh shader declares:
//   0 position (vec3), 1 normal (vec3), 2 texture coordinate (vec2),
//   3 bone ids (uvec4, an integer attribute), 4 bone weights (vec4).
// Models share meshes through shared pointers; a mesh never changes after it is built.
class Mesh {
public:
    // Takes the arrays out of subMesh. They are not validated: empty arrays and parallel arrays of
    // different lengths are uploaded as they are.
    explicit Mesh(SubMesh subMesh);
    Mesh(Mesh&&) noexcept = default;

    // The cube centred on the origin with the given edge lengths; normals are not rescaled.
    static Mesh createCube(const glm::vec3& size);

    // All triangles, with this mesh's vertex array bound only for the draw.
    void draw() const;
    GLsizei indexCount() const;

    const VertexArrayObject& getVertexArray() const { return vertexArray; }
    const VertexBufferObject<glm::vec3>& getPositions() const { return positions; }
    const VertexBufferObject<glm::uvec3>& getTriangles() const { return triangles; }

private:
    // Declaration order is the release order reversed: buffers first, then the vertex array.
    VertexArrayObject vertexArray;
    VertexBufferObject<glm::vec3> positions;
    VertexBufferObject<glm::vec3> normals;
    VertexBufferObject<glm::uvec3> triangles{GL_ELEMENT_ARRAY_BUFFER};
    VertexBufferObject<glm::vec2> textureCoordinates;
    VertexBufferObject<glm::uvec4> boneIds;
    VertexBufferObject<glm::vec4> boneWeights;
};
