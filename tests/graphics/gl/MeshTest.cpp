#include "graphics/gl/Mesh.h"
#include "graphics/gl/ScreenQuad.h"

#include "tests/graphics/TestPrograms.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/LogCapture.h"

#include <glm/geometric.hpp>
#include <gtest/gtest.h>

namespace {
// Two triangles covering clip space, with one value per attribute that a shader can recognise.
SubMesh fullScreenMesh(bool withBones) {
    SubMesh mesh;
    mesh.positions = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    mesh.normals.assign(4, {0, 0, 1});
    mesh.textureCoordinates.assign(4, {0.25f, 0.75f});
    if (withBones) {
        // Beyond 2^24: a float conversion on the way would lose the low bits.
        mesh.boneIds.assign(4, {7, 8, 9, 4000000001u});
        mesh.boneWeights.assign(4, {0.1f, 0.2f, 0.3f, 0.4f});
    }
    mesh.triangles = {{0, 1, 2}, {2, 3, 0}};
    return mesh;
}

GLint attribute(GLuint location, GLenum parameter) {
    GLint value = -1;
    glGetVertexAttribiv(location, parameter, &value);
    return value;
}

struct AttributeLayout {
    GLuint location;
    GLint components;
    GLenum type;
    GLint integer;
};

TEST(Mesh, RecordsTheFiveAttributeLocationsAndItsElementBuffer) {
    // No bone data, as for the cube and unskinned models: locations 3 and 4 are enabled all the
    // same.
    const Mesh mesh(fullScreenMesh(false));
    const AttributeLayout layouts[] = {
        {0, 3, GL_FLOAT, GL_FALSE},       {1, 3, GL_FLOAT, GL_FALSE}, {2, 2, GL_FLOAT, GL_FALSE},
        {3, 4, GL_UNSIGNED_INT, GL_TRUE}, {4, 4, GL_FLOAT, GL_FALSE},
    };
    mesh.getVertexArray().bind();
    for (const AttributeLayout& layout : layouts) {
        SCOPED_TRACE(layout.location);
        EXPECT_EQ(attribute(layout.location, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_TRUE);
        EXPECT_EQ(attribute(layout.location, GL_VERTEX_ATTRIB_ARRAY_SIZE), layout.components);
        EXPECT_EQ(attribute(layout.location, GL_VERTEX_ATTRIB_ARRAY_TYPE),
                  static_cast<GLint>(layout.type));
        EXPECT_EQ(attribute(layout.location, GL_VERTEX_ATTRIB_ARRAY_INTEGER), layout.integer);
        EXPECT_EQ(attribute(layout.location, GL_VERTEX_ATTRIB_ARRAY_NORMALIZED), GL_FALSE);
        EXPECT_EQ(attribute(layout.location, GL_VERTEX_ATTRIB_ARRAY_STRIDE), 0);
        EXPECT_NE(attribute(layout.location, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING), 0);
    }
    EXPECT_EQ(attribute(0, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING),
              static_cast<GLint>(mesh.getPositions().getHandle()));
    GLint elementBuffer = 0;
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
    EXPECT_EQ(elementBuffer, static_cast<GLint>(mesh.getTriangles().getHandle()))
        << "unbinding the element buffer after the array must leave the array's record alone";
    VertexArrayObject::unbind();
    EXPECT_EQ(mesh.indexCount(), 6);
}

// Green where every attribute arrives as the mesh holds it; the bone ids as integers, unconverted.
const char* const attributeCheckVertex = R"(#version 430 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 textureCoordinate;
layout(location = 3) in uvec4 boneIds;
layout(location = 4) in vec4 boneWeights;
out vec4 color;
void main() {
    bool ok = normal == vec3(0, 0, 1) && textureCoordinate == vec2(0.25, 0.75)
        && boneIds == uvec4(7u, 8u, 9u, 4000000001u)
        && all(lessThan(abs(boneWeights - vec4(0.1, 0.2, 0.3, 0.4)), vec4(1e-6)));
    color = ok ? vec4(0, 1, 0, 1) : vec4(1, 0, 0, 1);
    gl_Position = vec4(position, 1.0);
}
)";

const char* const colorFragment = R"(#version 430 core
in vec4 color;
layout(location = 0) out vec4 fragColor;
void main() { fragColor = color; }
)";

TEST(Mesh, FeedsEveryAttributeToTheShaderWithIntegerBoneIds) {
    const RenderShaderProgram program = buildTestProgram(attributeCheckVertex, colorFragment);
    const Mesh mesh(fullScreenMesh(true));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, 8, 8);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    program.use();
    mesh.draw();
    const auto pixel = GlTestContext::readPixels(4, 4, 1, 1);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 255) << "an attribute did not arrive as uploaded";
}

TEST(Mesh, CreateCubeScalesTheUnitCubeToItsEdgeLengths) {
    LogCapture capture;
    const Mesh cube = Mesh::createCube({2, 4, 6});
    const std::vector<glm::vec3>& positions = cube.getPositions().getData();
    ASSERT_EQ(positions.size(), 24u);
    for (const glm::vec3& position : positions) {
        EXPECT_EQ(glm::abs(position), glm::vec3(1, 2, 3));
    }
    EXPECT_EQ(cube.getTriangles().getData().size(), 12u);
    EXPECT_EQ(cube.indexCount(), 36);
    EXPECT_EQ(capture.count("Creating Mesh with 24 vertices, 12 faces"), 1u);
}

TEST(UnitCube, EveryFaceLiesOnItsPlaneAndWindsCounterClockwiseFromOutside) {
    for (std::size_t t = 0; t < unitCubeTriangles.size(); ++t) {
        SCOPED_TRACE(t);
        const glm::uvec3 triangle = unitCubeTriangles[t];
        const glm::vec3 normal = unitCubeNormals[triangle.x];
        const glm::vec3 a = unitCubePositions[triangle.x];
        const glm::vec3 b = unitCubePositions[triangle.y];
        const glm::vec3 c = unitCubePositions[triangle.z];
        for (const unsigned index : {triangle.x, triangle.y, triangle.z}) {
            EXPECT_EQ(index / 4, t / 2) << "both triangles of a face use that face's four vertices";
            EXPECT_EQ(glm::dot(unitCubePositions[index], normal), 1.0f);
            EXPECT_EQ(unitCubeNormals[index], normal);
        }
        EXPECT_GT(glm::dot(glm::cross(b - a, c - a), normal), 0.0f);
    }
}

TEST(Mesh, ReleasesItsBuffersInReverseOrderThenItsVertexArray) {
    LogCapture capture;
    GLuint vertexArray = 0;
    {
        const Mesh mesh = Mesh::createCube({1, 1, 1});
        vertexArray = mesh.getVertexArray().getHandle();
        capture.clear();
    }
    std::vector<std::string> deleted;
    for (const LoggedLine& line : capture.lines()) {
        if (line.message.rfind("Deleted ", 0) == 0) {
            deleted.push_back(line.message.substr(8, line.message.find(' ', 8) - 8));
        }
    }
    const std::vector<std::string> expected = {"GL_ARRAY_BUFFER", "GL_ARRAY_BUFFER",
                                               "GL_ARRAY_BUFFER", "GL_ELEMENT_ARRAY_BUFFER",
                                               "GL_ARRAY_BUFFER", "GL_ARRAY_BUFFER"};
    EXPECT_EQ(deleted, expected)
        << "boneWeights, boneIds, textureCoordinates, triangles, normals, positions";
    EXPECT_EQ(glIsVertexArray(vertexArray), GL_FALSE);
}

TEST(VertexBufferObject, TracesItsLifeByTargetNameAndHandle) {
    LogCapture capture;
    GLuint name = 0;
    {
        VertexBufferObject<glm::uvec3> buffer(GL_ELEMENT_ARRAY_BUFFER);
        name = buffer.getHandle();
        buffer.setData({{0, 1, 2}});
        buffer.unbind();
    }
    const std::string suffix = " GL_ELEMENT_ARRAY_BUFFER Buffer " + std::to_string(name);
    const std::vector<std::string> expected = {"Created" + suffix, "Binding" + suffix,
                                               "Uploading data to" + suffix, "Unbinding" + suffix,
                                               "Deleted" + suffix};
    EXPECT_EQ(capture.messages(spdlog::level::trace), expected);
    EXPECT_EQ(capture.lines().front().logger, "GL");
    EXPECT_EQ(glIsBuffer(name), GL_FALSE);
}

TEST(VertexBufferObject, NamesEveryTargetOfItsTableAndNoOther) {
    const std::pair<GLenum, const char*> names[] = {
        {GL_ARRAY_BUFFER, "GL_ARRAY_BUFFER"},
        {GL_ELEMENT_ARRAY_BUFFER, "GL_ELEMENT_ARRAY_BUFFER"},
        {GL_PIXEL_UNPACK_BUFFER, "GL_PIXEL_UNPACK_BUFFER"},
        {GL_SHADER_STORAGE_BUFFER, "GL_SHADER_STORAGE_BUFFER"},
        {GL_ATOMIC_COUNTER_BUFFER, "GL_ATOMIC_COUNTER_BUFFER"},
        {GL_TRANSFORM_FEEDBACK_BUFFER, "UNKNOWN"},
        {0, "UNKNOWN"},
    };
    for (const auto& [target, name] : names) {
        EXPECT_EQ(bufferTargetName(target), name);
    }
}

TEST(VertexBufferObject, UpdateRewritesTheAllocatedStorageInPlace) {
    VertexBufferObject<glm::vec4> buffer;
    buffer.bind();
    buffer.allocate(6);
    EXPECT_EQ(buffer.getData(), std::vector<glm::vec4>(6, glm::vec4(0)));
    std::vector<glm::vec4> quad(6);
    for (std::size_t i = 0; i < quad.size(); ++i) {
        quad[i] = glm::vec4(static_cast<float>(i), 1, 2, 3);
    }
    buffer.update(quad.data());
    EXPECT_EQ(buffer.getData(), quad);
    std::vector<glm::vec4> uploaded(6);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, 96, uploaded.data());
    EXPECT_EQ(uploaded, quad);
    GLint size = 0, usage = 0;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_USAGE, &usage);
    EXPECT_EQ(size, 96);
    EXPECT_EQ(usage, GL_DYNAMIC_DRAW) << "rewritten every draw: no reallocation";
}

const char* const uvFragment = R"(#version 430 core
in vec2 uv;
layout(location = 0) out vec4 fragColor;
void main() { fragColor = vec4(uv, 1.0, 1.0); }
)";

TEST(ScreenQuad, IsBuiltOnceAndCoversTheViewportWithItsTextureSpace) {
    ScreenQuad& first = getScreenQuad();
    LogCapture capture;
    EXPECT_EQ(&getScreenQuad(), &first);
    EXPECT_EQ(capture.lines().size(), 0u) << "the second call builds nothing";

    const RenderShaderProgram program = buildTestProgram(screenQuadVertexSource, uvFragment);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, 16, 16);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE); // as the game runs: both triangles must face the viewer
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    program.use();
    first.draw();
    glDisable(GL_CULL_FACE);
    const auto pixels = GlTestContext::readPixels(0, 0, 16, 16);
    for (int i = 0; i < 16 * 16; ++i) {
        ASSERT_EQ(pixels[4 * i + 2], 255) << "pixel " << i << " not covered";
    }
    EXPECT_LT(pixels[0], 16) << "u at the left edge";
    EXPECT_LT(pixels[1], 16) << "v at the bottom edge";
    const std::size_t topRight = 4 * (16 * 16 - 1);
    EXPECT_GT(pixels[topRight], 240);
    EXPECT_GT(pixels[topRight + 1], 240);
}
} // namespace
