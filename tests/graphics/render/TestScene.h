#pragma once

#include "engine/scene/GameObject.h"
#include "graphics/gl/FrameBuffer.h"
#include "graphics/gl/Mesh.h"
#include "graphics/model/Material.h"
#include "graphics/render/RenderContext.h"
#include "graphics/shaders/Shaders.h"

#include <glm/gtc/matrix_transform.hpp>
#include <memory>

// Draws one mesh through the render context, as the game's model component does: the bone
// uniforms in the scene passes only, then drawMesh in every pass. Remembers what it saw.
class MeshDrawComponent : public Component {
public:
    MeshDrawComponent(GameObject* owner, RenderContext* context, const Mesh* mesh,
                      const Material& material, const glm::mat4& transform)
        : Component(owner, "MeshDrawComponent"), context(context), mesh(mesh), material(material),
          transform(transform) {}

    void render() override {
        sawDepthPass = context->isDepthPass();
        if (!sawDepthPass) {
            PBRShader& pbr = context->getPbrShader();
            pbr.use();
            pbr.hasBones.set(false);
        }
        context->drawMesh(*mesh, transform, material);
        glGetIntegerv(GL_CURRENT_PROGRAM, &programAfterDraw);
        ++draws;
    }

    RenderContext* context;
    const Mesh* mesh;
    Material material;
    glm::mat4 transform;
    bool sawDepthPass = false;
    GLint programAfterDraw = 0;
    int draws = 0;
};

// A grey floor, an orange cube floating above it and a small white cube bright enough to bloom,
// lit by a sun from above at a slant as in the arena, plus two weak fill lights.
struct TestScene {
    static constexpr glm::vec3 litCubeCentre{0.0f, 1.5f, 0.0f};
    static constexpr float litCubeEdge = 1.5f;
    static constexpr glm::vec3 brightCubeCentre{-2.6f, 0.6f, 1.8f};
    static constexpr float brightCubeEdge = 0.8f;

    explicit TestScene(RenderContext& context) : context(context) {
        add(floor, {0.5f, 0.5f, 0.5f}, 0.2f, {0.0f, -0.1f, 0.0f});
        add(litCube, {0.8f, 0.3f, 0.1f}, 0.2f, litCubeCentre);
        add(brightCube, {1.0f, 1.0f, 1.0f}, 1.0f, brightCubeCentre);
        setSun({1.0f, -2.0f, 1.0f});
    }

    // The sun also casts the shadow; the shadow camera frames the floor from 15 units away.
    void setSun(const glm::vec3& direction) {
        sunDirection = direction;
        PBRShader& pbr = getShaders().pbr;
        pbr.use();
        std::array<DirectionalLight, maxLights> lights{};
        lights[0] = {direction, {237.0f / 255.0f, 1.0f, 186.0f / 255.0f}};
        lights[1] = {{-0.1f, -0.1f, 0.1f}, {0.3f, 0.3f, 0.3f}};
        lights[2] = {{0.1f, -0.1f, -0.1f}, {0.3f, 0.3f, 0.3f}};
        pbr.directionalLights.set(lights);
        const glm::vec3 sunPosition = -glm::normalize(direction) * 15.0f;
        lightSpace = glm::ortho(-10.0f, 10.0f, -10.0f, 10.0f, 1.0f, 40.0f) *
                     glm::lookAt(sunPosition, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    }

    // What the camera component uploads before a scene pass.
    void uploadCamera() const {
        PBRShader& pbr = getShaders().pbr;
        pbr.use();
        pbr.viewProjectMatrix.set(viewProjection());
        pbr.eyePos.set(eye);
    }

    glm::mat4 viewProjection() const {
        const glm::vec2 size(context.getViewSize());
        return glm::perspective(glm::radians(60.0f), size.x / size.y, 0.1f, 50.0f) *
               glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    }

    // The pixel of the view that shows a world point.
    glm::ivec2 pixelOf(const glm::vec3& point) const {
        const glm::vec4 clip = viewProjection() * glm::vec4(point, 1.0f);
        const glm::vec2 ndc = glm::vec2(clip) / clip.w;
        return glm::ivec2((ndc * 0.5f + 0.5f) * glm::vec2(context.getViewSize()));
    }

    // Everything before the composite, in the game's order for one player.
    void renderUpToBloom() {
        context.renderShadowMap(*root, lightSpace, sunDirection);
        uploadCamera();
        context.renderScene(*root);
        context.resolveMultisample();
        context.blurBloom();
    }

    // One player's frame into the window's framebuffer at the bottom left.
    void renderFrame() {
        FrameBuffer(0).bind(GL_FRAMEBUFFER);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderUpToBloom();
        FrameBuffer(0).bind(GL_FRAMEBUFFER);
        const glm::uvec2& size = context.getViewSize();
        glViewport(0, 0, static_cast<GLsizei>(size.x), static_cast<GLsizei>(size.y));
        context.composite();
    }

    RenderContext& context;
    std::unique_ptr<GameObject> root = std::make_unique<GameObject>("Root");
    Mesh floor = Mesh::createCube({12.0f, 0.2f, 12.0f});
    Mesh litCube = Mesh::createCube(glm::vec3(litCubeEdge));
    Mesh brightCube = Mesh::createCube(glm::vec3(brightCubeEdge));
    glm::vec3 eye{0.0f, 7.0f, 9.0f};
    glm::vec3 sunDirection{0.0f};
    glm::mat4 lightSpace{1.0f};

private:
    void add(const Mesh& mesh, const glm::vec3& albedo, float ao, const glm::vec3& position) {
        const Material material{albedo, ao, 0.6f, 0.0f};
        root->addChild("Part").lock()->addComponent<MeshDrawComponent>(
            &context, &mesh, material, glm::translate(glm::mat4(1.0f), position));
    }
};
