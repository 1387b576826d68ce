// The committed models, imported the way the game imports them, against what the game needs of
// them: material tables, bones, the dog's size, and an arena a player can stand and move in.
#include "graphics/model/ModelImport.h"

#include <algorithm>
#include <cmath>
#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>
#include <optional>
#include <set>

namespace {
struct Triangle {
    glm::vec3 a, b, c;
    glm::vec3 normal() const { return glm::normalize(glm::cross(b - a, c - a)); }
};

// Every triangle of the model placed by its mesh transform, the way it is drawn and collided with.
std::vector<Triangle> worldTriangles(const ModelData& data) {
    std::vector<Triangle> triangles;
    for (std::size_t i = 0; i < data.subMeshes.size(); ++i) {
        const SubMesh& mesh = data.subMeshes[i];
        auto at = [&](unsigned v) { return glm::vec3(data.meshTransforms[i] * glm::vec4(mesh.positions[v], 1.0f)); };
        for (const glm::uvec3& t : mesh.triangles) {
            triangles.push_back({at(t.x), at(t.y), at(t.z)});
        }
    }
    return triangles;
}

// Distance along the (unit) direction to the nearest triangle, either side facing.
std::optional<float> castRay(const std::vector<Triangle>& triangles, glm::vec3 origin, glm::vec3 direction) {
    std::optional<float> nearest;
    for (const Triangle& t : triangles) {
        const glm::vec3 e1 = t.b - t.a, e2 = t.c - t.a, p = glm::cross(direction, e2);
        const float det = glm::dot(e1, p);
        if (std::abs(det) < 1e-9f) {
            continue;
        }
        const glm::vec3 s = origin - t.a;
        const float u = glm::dot(s, p) / det;
        const glm::vec3 q = glm::cross(s, e1);
        const float v = glm::dot(direction, q) / det;
        const float distance = glm::dot(e2, q) / det;
        if (u >= 0 && v >= 0 && u + v <= 1 && distance > 0 && (!nearest || distance < *nearest)) {
            nearest = distance;
        }
    }
    return nearest;
}

std::size_t materialTableSize(const ModelData& data) {
    return data.materialIndices.empty() ? 0 : *std::max_element(data.materialIndices.begin(), data.materialIndices.end()) + 1;
}

std::pair<glm::vec3, glm::vec3> bounds(const std::vector<Triangle>& triangles) {
    glm::vec3 low(1e9f), high(-1e9f);
    for (const Triangle& t : triangles) {
        for (glm::vec3 p : {t.a, t.b, t.c}) {
            low = glm::min(low, p);
            high = glm::max(high, p);
        }
    }
    return {low, high};
}

// Valid triangles, unit normals, and counter-clockwise winding: the face's own normal agrees
// with its vertices' normals, so back-face culling keeps the outside.
void expectWellFormed(const ModelData& data) {
    for (std::size_t i = 0; i < data.subMeshes.size(); ++i) {
        const SubMesh& mesh = data.subMeshes[i];
        ASSERT_FALSE(mesh.triangles.empty()) << "mesh " << i;
        for (const glm::uvec3& t : mesh.triangles) {
            ASSERT_LT(std::max({t.x, t.y, t.z}), mesh.positions.size()) << "mesh " << i;
            const glm::vec3 cross = glm::cross(mesh.positions[t.y] - mesh.positions[t.x],
                                               mesh.positions[t.z] - mesh.positions[t.x]);
            ASSERT_GT(glm::length(cross), 1e-6f) << "degenerate triangle in mesh " << i;
            for (unsigned v : {t.x, t.y, t.z}) {
                ASSERT_NEAR(glm::length(mesh.normals[v]), 1.0f, 1e-3f) << "mesh " << i;
                ASSERT_GT(glm::dot(glm::normalize(cross), mesh.normals[v]), 0.0f) << "clockwise face in mesh " << i;
            }
        }
    }
}

std::set<std::size_t> usedMaterials(const ModelData& data) {
    return {data.materialIndices.begin(), data.materialIndices.end()};
}

const ModelData& dog() {
    static const ModelData data = loadModel("assets/models/shiba_simpleAnim_exp.dae");
    return data;
}
const ModelData& arena() {
    static const ModelData data = loadModel("assets/models/map_rescaled.dae");
    return data;
}
const ModelData& frisbee() {
    static const ModelData data = loadModel("assets/models/frisbee_rescaled.dae");
    return data;
}
} // namespace

TEST(DogAsset, HasFourMaterialsWithMostOfTheBodyInTheTeamColour) {
    expectWellFormed(dog());
    EXPECT_EQ(materialTableSize(dog()), 4u);
    EXPECT_EQ(usedMaterials(dog()), (std::set<std::size_t>{0, 1, 2, 3}));
    std::vector<std::size_t> trianglesPerMaterial(4, 0);
    for (std::size_t i = 0; i < dog().subMeshes.size(); ++i) {
        trianglesPerMaterial[dog().materialIndices[i]] += dog().subMeshes[i].triangles.size();
    }
    EXPECT_EQ(std::max_element(trianglesPerMaterial.begin(), trianglesPerMaterial.end()) - trianglesPerMaterial.begin(), 2);
}

// The camera sits at (1.3, 1, 0) in the dog's frame and the capsule puts the paws at -0.63.
TEST(DogAsset, FitsItsBoxAndKeepsClearOfTheCamera) {
    const auto [low, high] = bounds(worldTriangles(dog()));
    EXPECT_NEAR(low.y, -0.63f, 0.01f);
    EXPECT_LE(high.y, 1.0f);
    EXPECT_GE(low.x, -1.0f);
    EXPECT_LE(high.x, 1.2f);
    EXPECT_GE(low.z, -0.5f);
    EXPECT_LE(high.z, 0.5f);
    EXPECT_GT(high.x, 1.0f) << "the nose points along +X";
}

TEST(DogAsset, EveryVertexIsWeightedByAtMostFourOfAFewBones) {
    const ModelData& data = dog();
    EXPECT_GE(data.bones.size(), 4u);
    EXPECT_LE(data.bones.size(), 50u);
    for (const SubMesh& mesh : data.subMeshes) {
        for (std::size_t v = 0; v < mesh.boneWeights.size(); ++v) {
            const glm::vec4 w = mesh.boneWeights[v];
            ASSERT_NEAR(w.x + w.y + w.z + w.w, 1.0f, 1e-5f) << "vertex " << v;
            for (int k = 0; k < 4; ++k) {
                ASSERT_LT(mesh.boneIds[v][k], data.bones.size());
            }
        }
    }
}

TEST(DogAsset, HasASkeletonAndOneShortAnimation) {
    const ModelData& data = dog();
    ASSERT_TRUE(data.skeleton.has_value());
    EXPECT_EQ(data.bones[data.skeleton->boneIndex].name, "root");
    EXPECT_EQ(data.skeleton->children.size(), 6u); // neck, tail, four legs
    for (const Bone& bone : data.bones) {
        EXPECT_NE(bone.bindTransform, glm::mat4(0.0f)) << bone.name << " is named by no node";
    }
    ASSERT_EQ(data.animations.size(), 1u);
    EXPECT_FLOAT_EQ(data.animations[0].duration, 1.0f);
    EXPECT_GE(data.animations[0].keyFrames.size(), 3u);
}

TEST(FrisbeeAsset, IsAFlatCentredDiscWithBodyAndRim) {
    expectWellFormed(frisbee());
    EXPECT_EQ(frisbee().materialIndices, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(materialTableSize(frisbee()), 2u);
    const auto [low, high] = bounds(worldTriangles(frisbee()));
    for (float extent : {low.x, low.z}) {
        EXPECT_NEAR(extent, -0.3f, 0.01f);
    }
    for (float extent : {high.x, high.z}) {
        EXPECT_NEAR(extent, 0.3f, 0.01f);
    }
    EXPECT_NEAR(high.y - low.y, 0.1f, 0.01f);
    EXPECT_NEAR(high.y + low.y, 0.0f, 0.01f);
}

TEST(ArenaAsset, UsesFiveMaterialsAndStaysInsideTheShadowBox) {
    expectWellFormed(arena());
    EXPECT_EQ(materialTableSize(arena()), 5u);
    EXPECT_EQ(usedMaterials(arena()), (std::set<std::size_t>{0, 1, 2, 3, 4}));
    const std::vector<Triangle> triangles = worldTriangles(arena());
    const auto [low, high] = bounds(triangles);
    EXPECT_GE(low.x, -55.0f);
    EXPECT_LE(high.x, 55.0f);
    EXPECT_GE(low.z, -40.0f);
    EXPECT_LE(high.z, 40.0f);
    // The shadow light's view: from -normalize(1, -2, 1) x 50 towards the origin, a box of +-60
    // across and 1 to 200 deep. Whatever lies outside it gets no shadow.
    const glm::vec3 light = -glm::normalize(glm::vec3(1, -2, 1)) * 50.0f;
    const glm::mat4 view = glm::lookAt(light, glm::vec3(0), glm::vec3(0, 1, 0));
    for (const Triangle& t : triangles) {
        for (glm::vec3 p : {t.a, t.b, t.c}) {
            const glm::vec3 seen(view * glm::vec4(p, 1.0f));
            ASSERT_LE(std::max(std::abs(seen.x), std::abs(seen.y)), 60.0f) << p.x << ", " << p.y << ", " << p.z;
            ASSERT_GT(-seen.z, 1.0f);
            ASSERT_LT(-seen.z, 200.0f);
        }
    }
}

TEST(ArenaAsset, FloorUnderEachSpawnPointWithRoomAbove) {
    const std::vector<Triangle> triangles = worldTriangles(arena());
    for (glm::vec3 spawn : {glm::vec3(-35.0f, 2.6f, 1.1f), glm::vec3(45.0f, 2.6f, 1.1f)}) {
        const std::optional<float> down = castRay(triangles, spawn, {0, -1, 0});
        ASSERT_TRUE(down.has_value()) << "nothing under " << spawn.x;
        EXPECT_LT(*down, 1.0f) << "the player would fall far";
        EXPECT_FALSE(castRay(triangles, spawn, {0, 1, 0}).has_value()) << "a ceiling over " << spawn.x;
    }
}

// Walking from one spawn to the other along z = 1.1 meets no climb above the controller's 0.5 m
// step, and nothing stands in the lane at any height a frisbee flies.
TEST(ArenaAsset, LaneBetweenTheSpawnPointsIsWalkableAndClear) {
    const std::vector<Triangle> triangles = worldTriangles(arena());
    std::optional<float> previous;
    for (float x = -35.0f; x <= 45.0f; x += 0.1f) {
        const std::optional<float> down = castRay(triangles, {x, 10.0f, 1.1f}, {0, -1, 0});
        ASSERT_TRUE(down.has_value()) << "no floor at x = " << x;
        const float height = 10.0f - *down;
        if (previous) {
            ASSERT_LE(std::abs(height - *previous), 0.5f) << "a climb of more than a step at x = " << x;
        }
        previous = height;
    }
    for (float z : {-0.9f, 1.1f, 3.1f}) {
        for (float y : {2.3f, 3.0f, 4.0f}) {
            EXPECT_FALSE(castRay(triangles, {-35.0f, y, z}, {1, 0, 0}).value_or(1e9f) < 80.0f)
                << "something in the lane at y = " << y << ", z = " << z;
        }
    }
}

// The controller climbs slopes up to 45 degrees: every surface is walkable, a wall or an underside.
TEST(ArenaAsset, NoSlopeSteeperThanFortyFiveDegrees) {
    for (const Triangle& t : worldTriangles(arena())) {
        const float up = t.normal().y;
        const bool walkable = up >= std::cos(45.0f * 3.14159265f / 180.0f) - 1e-4f;
        const bool wall = std::abs(up) <= 0.05f;
        ASSERT_TRUE(walkable || wall || up <= -0.99f) << "slope with normal y " << up << " at " << t.a.x << ", " << t.a.z;
    }
}

// Just under 3 m, every way out of the field from anywhere inside meets something.
TEST(ArenaAsset, WallsCloseTheFieldToAtLeastThreeMetres) {
    const std::vector<Triangle> triangles = worldTriangles(arena());
    for (glm::vec2 from : {glm::vec2(0, 1.1f), glm::vec2(-45, -25), glm::vec2(45, 25), glm::vec2(-20, 30)}) {
        for (int step = 0; step < 72; ++step) {
            const float angle = static_cast<float>(step) * 5.0f * 3.14159265f / 180.0f;
            const glm::vec3 direction(std::cos(angle), 0.0f, std::sin(angle));
            const std::optional<float> hit = castRay(triangles, {from.x, 2.95f, from.y}, direction);
            ASSERT_TRUE(hit.has_value()) << "open towards " << step * 5 << " degrees from " << from.x << ", " << from.y;
        }
    }
}
