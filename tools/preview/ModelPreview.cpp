#include "tools/preview/ModelPreview.h"

#include "engine/scene/GameObject.h"
#include "game/SceneLook.h"
#include "graphics/gl/FrameBuffer.h"
#include "graphics/render/ModelComponent.h"
#include "graphics/shaders/Shaders.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {
// Draws a model as the game's model component does, at a placement of the shot's own: a game
// object has no scale or tilt to give.
class PreviewModelComponent : public Component {
public:
    PreviewModelComponent(GameObject* owner, RenderContext* context, const Model* model, const glm::mat4& placement)
        : Component(owner, "PreviewModelComponent"), context(context), model(model), placement(placement) {}

    void render() override { drawModel(*context, *model, placement); }

private:
    RenderContext* context;
    const Model* model;
    glm::mat4 placement;
};

// A floor slab 0.2 thick, its top at y = 0 (the unit cube scaled and lowered).
ModelData floorData(float halfSize) {
    SubMesh slab;
    for (std::size_t v = 0; v < unitCubePositions.size(); ++v) {
        slab.positions.push_back(unitCubePositions[v] * glm::vec3(halfSize, 0.1f, halfSize) - glm::vec3(0, 0.1f, 0));
        slab.normals.push_back(unitCubeNormals[v]);
    }
    slab.triangles.assign(unitCubeTriangles.begin(), unitCubeTriangles.end());
    slab.textureCoordinates.assign(slab.positions.size(), glm::vec2(0.0f));
    slab.boneIds.assign(slab.positions.size(), glm::uvec4(0));
    slab.boneWeights.assign(slab.positions.size(), glm::vec4(0.0f));
    ModelData data;
    data.name = "PreviewFloor";
    data.subMeshes = {slab};
    data.meshTransforms = {glm::mat4(1.0f)};
    data.materialIndices = {0};
    return data;
}

void setLights() {
    std::array<DirectionalLight, maxLights> lights{}; // the rest zero: no light
    std::copy(sceneLights.begin(), sceneLights.end(), lights.begin());
    PBRShader& pbr = getShaders().pbr;
    pbr.use();
    pbr.directionalLights.set(lights);
}
} // namespace

ModelPreview::ModelPreview(const glm::uvec2& size)
    : size(size), floor(floorData(30.0f)) {
    context.initTargets(size, {2048, 2048}, 2.2f);
    floor.setMaterial(0, {{0.3f, 0.31f, 0.33f}, 0.2f, 0.9f, 0.0f});
    setLights();
    glEnable(GL_CULL_FACE); // as the game draws: a clockwise face would vanish here
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void ModelPreview::drawSky(const glm::mat4& projection, const glm::mat4& view) {
    // The game's sky matrix, but from the shot's own look-at view: its rotation alone.
    sky.shader->use();
    sky.shader->viewProjectMatrix.set(projection * glm::mat4(glm::mat3(view)));
    sky.draw();
}

std::vector<unsigned char> ModelPreview::render(const PreviewShot& shot) {
    GameObject root("PreviewRoot");
    root.addChild("Model").lock()->addComponent<PreviewModelComponent>(&context, shot.model, shot.placement);
    if (shot.floorHeight) {
        const glm::mat4 at = glm::translate(glm::mat4(1.0f), {shot.target.x, *shot.floorHeight, shot.target.z});
        root.addChild("Floor").lock()->addComponent<PreviewModelComponent>(&context, &floor, at);
    }
    const glm::vec3& sunDirection = sceneLights[0].direction; // the shadow's light, as in the game
    const float e = shot.shadowHalfExtent;
    const glm::vec3 sun = shot.target - glm::normalize(sunDirection) * (2.0f * e);
    const glm::mat4 lightSpace = glm::ortho(-e, e, -e, e, 0.1f, 4.0f * e) * glm::lookAt(sun, shot.target, {0, 1, 0});
    const glm::mat4 projection =
        glm::perspective(glm::radians(shot.fieldOfView), static_cast<float>(size.x) / size.y, 0.05f, 400.0f);
    const glm::mat4 view = glm::lookAt(shot.eye, shot.target, {0, 1, 0});

    FrameBuffer(0).bind(GL_FRAMEBUFFER);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    context.renderShadowMap(root, lightSpace, sunDirection);
    PBRShader& pbr = getShaders().pbr;
    pbr.use();
    pbr.viewProjectMatrix.set(projection * view);
    pbr.eyePos.set(shot.eye);
    context.renderScene(root);
    drawSky(projection, view);
    context.resolveMultisample();
    context.blurBloom();
    FrameBuffer(0).bind(GL_FRAMEBUFFER);
    glViewport(0, 0, static_cast<GLsizei>(size.x), static_cast<GLsizei>(size.y));
    context.composite();

    const std::size_t row = static_cast<std::size_t>(size.x) * 4;
    std::vector<unsigned char> bottomUp(row * size.y), topDown(row * size.y);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, static_cast<GLsizei>(size.x), static_cast<GLsizei>(size.y), GL_RGBA, GL_UNSIGNED_BYTE,
                 bottomUp.data());
    for (std::size_t y = 0; y < size.y; ++y) {
        std::copy_n(&bottomUp[(size.y - 1 - y) * row], row, &topDown[y * row]);
    }
    return topDown;
}
