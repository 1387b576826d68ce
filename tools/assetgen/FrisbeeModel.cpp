#include "tools/assetgen/MeshBuilder.h"
#include "tools/assetgen/Models.h"

namespace {
// Around the axis: enough for a round silhouette at the size a thrown disc is seen.
constexpr int segments = 32;

// The disc's top and underside, material 0. Profiles run (radius, height); see addRevolution.
GeneratedMesh body() {
    MeshBuilder builder("FrisbeeBody");
    builder.addRevolution({{0.26f, 0.034f}, {0.18f, 0.045f}, {0.09f, 0.05f}, {0.0f, 0.052f}}, segments);
    builder.addRevolution({{0.0f, 0.012f}, {0.13f, 0.009f}, {0.255f, 0.0f}}, segments);
    return std::move(builder).build();
}

// The rolled rim, material 1: from the underside's edge down the inner lip, round the outside
// and back onto the top. Outer radius 0.3, lowest point -0.05, so the disc is 0.1 thick.
GeneratedMesh rim() {
    MeshBuilder builder("FrisbeeRim");
    builder.addRevolution({{0.255f, 0.0f},
                           {0.265f, -0.045f},
                           {0.282f, -0.05f},
                           {0.297f, -0.032f},
                           {0.3f, 0.008f},
                           {0.29f, 0.04f},
                           {0.26f, 0.034f}},
                          segments);
    return std::move(builder).build();
}
} // namespace

ColladaModel makeFrisbee() {
    ColladaModel model;
    model.sceneName = "FrisbeeScene";
    model.materials = {{"m0_body", {0.0f, 0.0f, 1.0f}}, {"m1_rim", {0.8f, 0.635f, 0.0f}}};
    model.meshes = {body(), rim()};
    model.root.name = "Frisbee";
    model.root.children = {{.name = "FrisbeeBody", .mesh = 0, .material = 0},
                           {.name = "FrisbeeRim", .mesh = 1, .material = 1}};
    return model;
}
