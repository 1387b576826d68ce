#include "graphics/gl/Mesh.h"

#include "engine/Logging.h"

namespace {
enum AttributeLocation : GLuint {
    positionLocation,
    normalLocation,
    textureLocation,
    boneIdLocation,
    boneWeightLocation
};

void floatAttribute(GLuint location, GLint components) {
    glEnableVertexAttribArray(location);
    glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, 0, nullptr);
}
} // namespace

const std::array<glm::vec3, 24> unitCubePositions = {{
    {-1, 1, 1},  {1, 1, 1},   {1, -1, 1},   {-1, -1, 1},  // +z
    {1, 1, 1},   {1, 1, -1},  {1, -1, -1},  {1, -1, 1},   // +x
    {1, 1, -1},  {-1, 1, -1}, {-1, -1, -1}, {1, -1, -1},  // -z
    {-1, 1, -1}, {-1, 1, 1},  {-1, -1, 1},  {-1, -1, -1}, // -x
    {-1, 1, -1}, {1, 1, -1},  {1, 1, 1},    {-1, 1, 1},   // +y
    {-1, -1, 1}, {1, -1, 1},  {1, -1, -1},  {-1, -1, -1}, // -y
}};

const std::array<glm::vec3, 24> unitCubeNormals = {{
    {0, 0, 1},  {0, 0, 1},  {0, 0, 1},  {0, 0, 1},  // +z
    {1, 0, 0},  {1, 0, 0},  {1, 0, 0},  {1, 0, 0},  // +x
    {0, 0, -1}, {0, 0, -1}, {0, 0, -1}, {0, 0, -1}, // -z
    {-1, 0, 0}, {-1, 0, 0}, {-1, 0, 0}, {-1, 0, 0}, // -x
    {0, 1, 0},  {0, 1, 0},  {0, 1, 0},  {0, 1, 0},  // +y
    {0, -1, 0}, {0, -1, 0}, {0, -1, 0}, {0, -1, 0}, // -y
}};

// Per face k, with b = 4k: (b+2, b+1, b) and (b, b+3, b+2).
const std::array<glm::uvec3, 12> unitCubeTriangles = {{
    {2, 1, 0},    {0, 3, 2},    // +z
    {6, 5, 4},    {4, 7, 6},    // +x
    {10, 9, 8},   {8, 11, 10},  // -z
    {14, 13, 12}, {12, 15, 14}, // -x
    {18, 17, 16}, {16, 19, 18}, // +y
    {22, 21, 20}, {20, 23, 22}, // -y
}};

// The same square of texture space on every face.
const std::array<glm::vec2, 24> unitCubeTextureCoordinates = {{
    {0, 1}, {1, 1}, {1, 0}, {0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0},
    {0, 1}, {1, 1}, {1, 0}, {0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0},
}};

Mesh::Mesh(SubMesh subMesh) {
    getGeneralLogger()->trace("Creating Mesh with {} vertices, {} faces", subMesh.positions.size(),
                              subMesh.triangles.size());
    vertexArray.bind();
    positions.setData(std::move(subMesh.positions));
    floatAttribute(positionLocation, 3);
    normals.setData(std::move(subMesh.normals));
    floatAttribute(normalLocation, 3);
    textureCoordinates.setData(std::move(subMesh.textureCoordinates));
    floatAttribute(textureLocation, 2);
    boneIds.setData(std::move(subMesh.boneIds));
    glEnableVertexAttribArray(boneIdLocation);
    glVertexAttribIPointer(boneIdLocation, 4, GL_UNSIGNED_INT, 0, nullptr);
    boneWeights.setData(std::move(subMesh.boneWeights));
    floatAttribute(boneWeightLocation, 4);
    // Bound while the vertex array is, so the array records it as its element buffer.
    triangles.setData(std::move(subMesh.triangles));
    // The array first: unbinding the element buffer while it is bound would clear its record.
    VertexArrayObject::unbind();
    normals.unbind();
    positions.unbind();
    triangles.unbind();
    textureCoordinates.unbind();
}

Mesh Mesh::createCube(const glm::vec3& size) {
    SubMesh cube;
    const glm::vec3 halfSize = size * 0.5f;
    for (const glm::vec3& position : unitCubePositions) {
        cube.positions.push_back(position * halfSize);
    }
    cube.normals.assign(unitCubeNormals.begin(), unitCubeNormals.end());
    cube.triangles.assign(unitCubeTriangles.begin(), unitCubeTriangles.end());
    cube.textureCoordinates.assign(unitCubeTextureCoordinates.begin(),
                                   unitCubeTextureCoordinates.end());
    return Mesh(std::move(cube));
}

void Mesh::draw() const {
    vertexArray.bind();
    glDrawElements(GL_TRIANGLES, indexCount(), GL_UNSIGNED_INT, nullptr);
    VertexArrayObject::unbind();
}

GLsizei Mesh::indexCount() const { return static_cast<GLsizei>(3 * triangles.getData().size()); }
