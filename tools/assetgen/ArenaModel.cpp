// The arena: a walled field of 108 x 78 m with its corners cut, a raised base at each spawn point, (-35, 2.6, 1.1)
// and (45, 2.6, 1.1), steps from each base into a clear lane along z = 1.1, ramps off the bases'
// sides, crates and walls to hide behind, and two lookout platforms. The player's controller
// climbs steps up to 0.5 m and slopes up to 45 degrees: the steps here rise 0.4 m, the ramps 30
// and 40 degrees. Everything stays within |x| <= 55, |z| <= 40, inside the shadow map's box.
#include "tools/assetgen/MeshBuilder.h"
#include "tools/assetgen/Models.h"

#include <cmath>
#include <functional>
#include <glm/gtc/matrix_transform.hpp>
#include <numbers>

namespace {
// By the colours the game gives them: brown timber for the walls and crates, two greens for the
// field and the ramps, clay for the bases, lookouts and cover walls, and bright sandstone, used
// sparingly for steps and pillars because its sunlit faces glow.
enum Material { Timber, Grass, Turf, Clay, Sandstone };

constexpr float baseHeight = 2.0f; // top of the spawn bases, 0.6 m below the spawn points
constexpr float coverHeight = 2.4f; // above a standing dog's eye (about 1.55 m)

glm::mat4 place(float x, float z, float yawDegrees = 0.0f) {
    return glm::rotate(glm::translate(glm::mat4(1.0f), {x, 0.0f, z}),
                       yawDegrees * std::numbers::pi_v<float> / 180.0f, {0.0f, 1.0f, 0.0f});
}

// A ramp from height 0 at z = length up to height at z = 0, across x in [-halfWidth, halfWidth].
void addRamp(MeshBuilder& builder, float halfWidth, float height, float slopeDegrees) {
    const float length = height / std::tan(slopeDegrees * std::numbers::pi_v<float> / 180.0f);
    const glm::vec3 inside(0.0f, height / 3.0f, length / 3.0f);
    const glm::vec3 lowL(-halfWidth, 0, length), lowR(halfWidth, 0, length);
    const glm::vec3 baseL(-halfWidth, 0, 0), baseR(halfWidth, 0, 0);
    const glm::vec3 topL(-halfWidth, height, 0), topR(halfWidth, height, 0);
    builder.addFace({lowL, lowR, topR, topL}, inside); // the slope
    builder.addFace({baseL, baseR, topR, topL}, inside);
    builder.addFace({baseL, baseR, lowR, lowL}, inside);
    builder.addFace({baseL, topL, lowL}, inside);
    builder.addFace({baseR, topR, lowR}, inside);
}

// Steps going down along +x from the height top, each run long and rise high.
void addSteps(MeshBuilder& builder, float top, float rise, float run, float halfWidth) {
    for (int k = 1; top - rise * static_cast<float>(k) > 0.01f; ++k) {
        const float x = run * static_cast<float>(k - 1);
        builder.addBox({x, 0.0f, -halfWidth}, {x + run, top - rise * static_cast<float>(k), halfWidth});
    }
}

struct Feature {
    const char* name;
    Material material;
    glm::mat4 transform;
    std::function<void(MeshBuilder&)> build;
};

// The field is an octagon: the shadow light shines along (1, -2, 1), and its box of +-60 m
// across would miss the corners (-55, 40) and (55, -40) of a plain rectangle, so all four
// corners are cut along |x| + |z| = 80 by walls of their own.
constexpr float fieldHalfX = 54.0f, fieldHalfZ = 39.0f, cornerCut = 80.0f;

std::vector<glm::vec2> groundOutline() {
    const float x = fieldHalfX + 0.5f, z = fieldHalfZ + 0.5f, cut = cornerCut + 0.7f; // under the walls
    return {{x, -(cut - x)}, {x, cut - x},  {cut - z, z},  {-(cut - z), z},
            {-x, cut - x},   {-x, -(cut - x)}, {-(cut - z), -z}, {cut - z, -z}};
}

std::vector<Feature> walls() {
    auto box = [](glm::vec3 min, glm::vec3 max) { return [=](MeshBuilder& b) { b.addBox(min, max); }; };
    const float alongX = cornerCut - fieldHalfZ + 1.0f, alongZ = cornerCut - fieldHalfX + 1.0f;
    std::vector<Feature> features = {
        {"Ground", Grass, place(0, 0), [](MeshBuilder& b) { b.addExtrudedPolygon(groundOutline(), -1.0f, 0.0f); }},
        {"WallNorth", Timber, place(0, fieldHalfZ + 0.5f), box({-alongX, -1.0f, -0.5f}, {alongX, 4.5f, 0.5f})},
        {"WallSouth", Timber, place(0, -fieldHalfZ - 0.5f), box({-alongX, -1.0f, -0.5f}, {alongX, 4.5f, 0.5f})},
        {"WallEast", Timber, place(fieldHalfX + 0.5f, 0), box({-0.5f, -1.0f, -alongZ}, {0.5f, 4.5f, alongZ})},
        {"WallWest", Timber, place(-fieldHalfX - 0.5f, 0), box({-0.5f, -1.0f, -alongZ}, {0.5f, 4.5f, alongZ})},
    };
    // Each corner wall's inner face runs along the cut from the long wall to the short one.
    const char* names[] = {"WallNorthEast", "WallNorthWest", "WallSouthWest", "WallSouthEast"};
    const glm::vec2 corners[] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    for (int i = 0; i < 4; ++i) {
        const glm::vec2 s = corners[i];
        const float inner = (cornerCut - fieldHalfZ + fieldHalfX) * 0.5f; // |x| at the face's middle
        const glm::vec2 centre = glm::vec2(inner, cornerCut - inner) * s + s * (0.5f / std::sqrt(2.0f));
        features.push_back({names[i], Timber, place(centre.x, centre.y, s.x * s.y > 0 ? 45.0f : -45.0f),
                            box({-9.5f, -1.0f, -0.5f}, {9.5f, 4.5f, 0.5f})});
    }
    return features;
}

std::vector<Feature> bases() {
    auto box = [](glm::vec3 min, glm::vec3 max) { return [=](MeshBuilder& b) { b.addBox(min, max); }; };
    return {
        {"BaseWest", Clay, place(-35.0f, 1.1f), box({-7.0f, 0.0f, -7.0f}, {7.0f, baseHeight, 7.0f})},
        {"BaseEast", Clay, place(45.0f, 1.1f), box({-7.0f, 0.0f, -7.0f}, {7.0f, baseHeight, 7.0f})},
        // Into the lane: the east flight is the west one turned half round.
        {"StepsWest", Sandstone, place(-28.0f, 1.1f), [](MeshBuilder& b) { addSteps(b, baseHeight, 0.4f, 0.8f, 3.0f); }},
        {"StepsEast", Sandstone, place(38.0f, 1.1f, 180.0f), [](MeshBuilder& b) { addSteps(b, baseHeight, 0.4f, 0.8f, 3.0f); }},
        {"RampWestNorth", Turf, place(-35.0f, 8.1f), [](MeshBuilder& b) { addRamp(b, 3.0f, baseHeight, 30.0f); }},
        {"RampWestSouth", Turf, place(-35.0f, -5.9f, 180.0f), [](MeshBuilder& b) { addRamp(b, 3.0f, baseHeight, 30.0f); }},
        {"RampEastNorth", Turf, place(45.0f, 8.1f), [](MeshBuilder& b) { addRamp(b, 3.0f, baseHeight, 30.0f); }},
        {"RampEastSouth", Turf, place(45.0f, -5.9f, 180.0f), [](MeshBuilder& b) { addRamp(b, 3.0f, baseHeight, 30.0f); }},
    };
}

// Off the lane (|z - 1.1| > 3): crates turned 45 degrees, low walls and pillars.
std::vector<Feature> cover() {
    auto crate = [](MeshBuilder& b) { b.addBox({-1.0f, 0.0f, -1.0f}, {1.0f, coverHeight, 1.0f}); };
    auto wall = [](MeshBuilder& b) { b.addBox({-4.0f, 0.0f, -0.4f}, {4.0f, coverHeight + 0.4f, 0.4f}); };
    auto pillar = [](MeshBuilder& b) { b.addTaperedBox({-0.8f, 0.0f, -0.8f}, {0.8f, 5.0f, 0.8f}, 0.15f, 0.15f); };
    return {
        {"CrateA", Timber, place(-14.0f, 8.5f, 45.0f), crate},   {"CrateB", Timber, place(-14.0f, -6.5f, 45.0f), crate},
        {"CrateC", Timber, place(2.0f, 11.0f, 30.0f), crate},    {"CrateD", Timber, place(2.0f, -9.0f, 60.0f), crate},
        {"CrateE", Timber, place(20.0f, 8.5f, 45.0f), crate},    {"CrateF", Timber, place(20.0f, -6.5f, 45.0f), crate},
        {"CrateG", Timber, place(-40.0f, 20.0f, 15.0f), crate},  {"CrateH", Timber, place(48.0f, -18.0f, 75.0f), crate},
        {"CrateI", Timber, place(-6.0f, -12.0f, 20.0f), crate},  {"CrateJ", Timber, place(12.0f, 14.0f, 70.0f), crate},
        {"CrateK", Timber, place(-32.0f, -16.0f, 10.0f), crate}, {"CrateL", Timber, place(36.0f, 18.0f, 35.0f), crate},
        {"CoverWallA", Clay, place(-22.0f, 16.0f), wall},       {"CoverWallB", Clay, place(28.0f, -14.0f), wall},
        {"CoverWallC", Clay, place(-24.0f, -20.0f, 90.0f), wall}, {"CoverWallD", Clay, place(30.0f, 22.0f, 90.0f), wall},
        {"PillarA", Sandstone, place(-5.0f, 6.5f), pillar},         {"PillarB", Sandstone, place(10.0f, -4.5f), pillar},
        {"PillarC", Sandstone, place(-30.0f, 30.0f), pillar},       {"PillarD", Sandstone, place(40.0f, -30.0f), pillar},
    };
}

// Two lookouts 2.5 m high, north and south of the middle: a 40 degree ramp up the side that faces
// the lane and a flight of 0.42 m steps on the west side. The south one is the north one turned.
std::vector<Feature> lookouts() {
    std::vector<Feature> features;
    const float sides[] = {1.0f, -1.0f};
    const char* names[][3] = {{"LookoutNorth", "LookoutNorthRamp", "LookoutNorthSteps"},
                              {"LookoutSouth", "LookoutSouthRamp", "LookoutSouthSteps"}};
    for (int i = 0; i < 2; ++i) {
        const float yaw = sides[i] > 0 ? 0.0f : 180.0f;
        const glm::mat4 centre = place(5.0f, 1.1f + 27.0f * sides[i], yaw);
        features.push_back({names[i][0], Clay, centre,
                            [](MeshBuilder& b) { b.addBox({-5.0f, 0.0f, -4.0f}, {5.0f, 2.5f, 4.0f}); }});
        features.push_back({names[i][1], Turf, centre * place(0.0f, -4.0f, 180.0f),
                            [](MeshBuilder& b) { addRamp(b, 2.5f, 2.5f, 40.0f); }});
        features.push_back({names[i][2], Sandstone, centre * place(-5.0f, 0.0f, 180.0f),
                            [](MeshBuilder& b) { addSteps(b, 2.5f, 2.5f / 6.0f, 0.7f, 2.5f); }});
    }
    return features;
}
} // namespace

ColladaModel makeArena() {
    ColladaModel model;
    model.sceneName = "ArenaScene";
    model.materials = {{"m0_timber", {0.65f, 0.373f, 0.2f}},
                       {"m1_grass", {0.125f, 0.6f, 0.08f}},
                       {"m2_turf", {0.425f, 0.8f, 0.13f}},
                       {"m3_clay", {0.85f, 0.5f, 0.3f}},
                       {"m4_sandstone", {1.0f, 0.62f, 0.299f}}};
    model.root.name = "Arena";
    std::vector<Feature> features = walls();
    for (auto more : {bases(), cover(), lookouts()}) {
        features.insert(features.end(), more.begin(), more.end());
    }
    for (const Feature& feature : features) {
        MeshBuilder builder(feature.name);
        feature.build(builder);
        model.root.children.push_back({.name = feature.name,
                                       .transform = feature.transform,
                                       .mesh = static_cast<int>(model.meshes.size()),
                                       .material = feature.material});
        model.meshes.push_back(std::move(builder).build());
    }
    return model;
}
