#pragma once

#include "graphics/gl/FrameBuffer.h"
#include "graphics/gl/RenderBuffer.h"
#include "graphics/gl/Texture.h"
#include "graphics/render/ShadowMap.h"

#include <array>
#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

class BlendBloomShader;
class GameObject;
class Mesh;
class PBRShader;
class ScreenQuad;
class TextureFilterShader;
struct Material;

// The renderer: owns every off-screen target and runs the passes of a frame. Per frame, after the
// window's framebuffer is bound and cleared:
//   renderShadowMap once; then per player: the camera's upload, renderScene, the skybox,
//   resolveMultisample, blurBloom, the window's framebuffer and the player's view, composite.
// The scene is drawn by the render walk from the root given to the two scene passes, whose model
// components call drawMesh.
class RenderContext {
public:
    // Needs a current context with its entry points loaded. Builds the shader set on first use.
    RenderContext();
    RenderContext(const RenderContext&) = delete;
    RenderContext& operator=(const RenderContext&) = delete;

    // Allocates every target once: the scene targets at viewSize (one player's view, in pixels),
    // the shadow map at shadowSize texels; sets the uniforms that stay fixed for the run.
    void initTargets(const glm::uvec2& viewSize, const glm::ivec2& shadowSize, float gamma);

    // Depth from the shadow light into the shadow map. Leaves the window's framebuffer bound, the
    // viewport at the shadow map's size and the depth program in use.
    void renderShadowMap(GameObject& root, const glm::mat4& lightSpaceMatrix,
                         const glm::vec3& lightDirection);
    // One player's scene into the multisampled targets, after the camera has uploaded its
    // matrices. Leaves the multisampled framebuffer bound for the skybox.
    void renderScene(GameObject& root);
    void resolveMultisample();
    // Ten separable blur passes over the bright parts; the result is pingPongTextures[0].
    void blurBloom();
    // Scene plus bloom with gamma into whatever framebuffer and viewport the caller has set.
    void composite();

    // Draws one mesh in the current pass: the depth program in the shadow pass, else the
    // physically based one with the material.
    void drawMesh(const Mesh& mesh, const glm::mat4& modelMatrix, const Material& material);

    bool isDepthPass() const { return depthPass; }
    bool isWireframe() const { return wireframe; }
    // The polygon mode of every pass but the composite; the caller sets the mode itself.
    void setWireframe(bool lines) { wireframe = lines; }
    PBRShader& getPbrShader() const { return *pbrShader; }
    const glm::uvec2& getViewSize() const { return viewSize; }
    const ShadowMap& getShadowMap() const { return shadowMap; }
    const FrameBuffer& getSceneFramebuffer() const { return msaaFramebuffer; }
    const FrameBuffer& getResolveFramebuffer() const { return resolveFramebuffer; }
    const Texture& getBrightColorTexture() const { return brightColorTexture; }
    const Texture& getBloomTexture() const { return pingPongTextures[0]; }

private:
    FrameBuffer msaaFramebuffer;
    FrameBuffer resolveFramebuffer;
    RenderBuffer msaaDepthBuffer;
    RenderBuffer resolveDepthBuffer;
    Texture msaaColorTexture{GL_TEXTURE_2D_MULTISAMPLE};
    Texture sceneColorTexture{GL_TEXTURE_2D};
    std::array<FrameBuffer, 2> pingPongFramebuffers;
    std::array<Texture, 2> pingPongTextures{Texture(GL_TEXTURE_2D), Texture(GL_TEXTURE_2D)};
    Texture msaaBrightTexture{GL_TEXTURE_2D_MULTISAMPLE};
    Texture brightColorTexture{GL_TEXTURE_2D};
    ShadowMap shadowMap;
    bool depthPass = false;
    bool wireframe = false;
    ScreenQuad* screenQuad;
    BlendBloomShader* blendBloomShader;
    TextureFilterShader* textureFilterShader;
    PBRShader* pbrShader;
    glm::uvec2 viewSize{0, 0};
};
