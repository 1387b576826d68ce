#include "graphics/render/RenderContext.h"

#include "engine/Logging.h"
#include "engine/scene/GameObject.h"
#include "graphics/gl/Mesh.h"
#include "graphics/gl/ScreenQuad.h"
#include "graphics/model/Material.h"
#include "graphics/shaders/Shaders.h"

namespace {
// The 5 × 5 Gaussian weights of the shadow filter, row by row; they sum to 1.
constexpr std::array<float, 25> shadowKernel = {
    0.003765f, 0.015019f, 0.023792f, 0.015019f, 0.003765f, // row 0
    0.015019f, 0.059912f, 0.094907f, 0.059912f, 0.015019f, // row 1
    0.023792f, 0.094907f, 0.150342f, 0.094907f, 0.023792f, // row 2
    0.015019f, 0.059912f, 0.094907f, 0.059912f, 0.015019f, // row 3
    0.003765f, 0.015019f, 0.023792f, 0.015019f, 0.003765f, // row 4
};
constexpr glm::uvec2 shadowKernelSize{5, 5};
// Five horizontal and five vertical passes: the blur's radius grows with the square root of
// the pass count, so fewer passes give a tighter glow.
constexpr int bloomBlurPasses = 10;

// Level 0 of a half-float colour target; the texture keeps its creation sampling (linear).
void allocateColorTarget(const Texture& texture, const glm::ivec2& size) {
    texture.bind();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, size.x, size.y, 0, GL_RGBA, GL_FLOAT, nullptr);
}
} // namespace

RenderContext::RenderContext()
    : screenQuad(&getScreenQuad()), blendBloomShader(&getShaders().blendBloom),
      textureFilterShader(&getShaders().textureFilter), pbrShader(&getShaders().pbr) {
    getGeneralLogger()->info("Configuring OpenGL");
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_MULTISAMPLE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

void RenderContext::initTargets(const glm::uvec2& newViewSize, const glm::ivec2& shadowSize,
                                float gamma) {
    viewSize = newViewSize;
    const glm::ivec2 size(viewSize);
    shadowMap.setSize(shadowSize);

    msaaColorTexture.allocateMultisample(size.x, size.y);
    msaaFramebuffer.attachTexture(msaaColorTexture, GL_COLOR_ATTACHMENT0);
    allocateColorTarget(sceneColorTexture, size);
    resolveFramebuffer.attachTexture(sceneColorTexture, GL_COLOR_ATTACHMENT0);
    msaaBrightTexture.allocateMultisample(size.x, size.y);
    msaaFramebuffer.attachTexture(msaaBrightTexture, GL_COLOR_ATTACHMENT1);
    allocateColorTarget(brightColorTexture, size);
    resolveFramebuffer.attachTexture(brightColorTexture, GL_COLOR_ATTACHMENT1);

    msaaDepthBuffer.allocate(GL_DEPTH_COMPONENT, size, Texture::multisampleCount());
    msaaDepthBuffer.attachTo(msaaFramebuffer, GL_DEPTH_ATTACHMENT);
    resolveDepthBuffer.allocate(GL_DEPTH_COMPONENT, size, 0);
    resolveDepthBuffer.attachTo(resolveFramebuffer, GL_DEPTH_ATTACHMENT);

    // Black outside, so the blur does not pull light in across the edges of the view.
    const GLfloat border[] = {0.0f, 0.0f, 0.0f, 1.0f};
    for (std::size_t i = 0; i < pingPongFramebuffers.size(); ++i) {
        pingPongFramebuffers[i].bind(GL_FRAMEBUFFER);
        pingPongTextures[i].bind();
        glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_BORDER);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_BORDER);
        allocateColorTarget(pingPongTextures[i], size);
        pingPongFramebuffers[i].attachTexture(pingPongTextures[i], GL_COLOR_ATTACHMENT0);
    }

    blendBloomShader->use();
    blendBloomShader->sceneTexture.set(&sceneColorTexture);
    blendBloomShader->bloomTexture.set(&brightColorTexture);
    blendBloomShader->gamma.set(gamma);

    pbrShader->use();
    pbrShader->shadowMap.set(&shadowMap.getDepthTexture());
    pbrShader->shadowMapKernel.set(shadowKernel);
    pbrShader->shadowMapKernelSize.set(shadowKernelSize);
}

void RenderContext::renderShadowMap(GameObject& root, const glm::mat4& lightSpaceMatrix,
                                    const glm::vec3& lightDirection) {
    pbrShader->use();
    pbrShader->shadowSourceLightSpaceMatrix.set(lightSpaceMatrix);
    pbrShader->shadowSourceLightDirection.set(lightDirection);
    depthPass = true;
    const glm::ivec2& shadowSize = shadowMap.getSize();
    glViewport(0, 0, shadowSize.x, shadowSize.y);
    DepthMapShader& depthShader = shadowMap.getShader();
    depthShader.use();
    depthShader.lightSpaceMatrix.set(lightSpaceMatrix);
    shadowMap.getFramebuffer().bind(GL_FRAMEBUFFER);
    glClear(GL_DEPTH_BUFFER_BIT);
    root.render();
    FrameBuffer(0).bind(GL_FRAMEBUFFER);
    depthPass = false;
}

void RenderContext::renderScene(GameObject& root) {
    msaaFramebuffer.bind(GL_FRAMEBUFFER);
    msaaDepthBuffer.bind();
    // Both targets before the clear: cleared with only attachment 0 selected, the bright target
    // would keep whatever the driver left in it on the first frame.
    static constexpr GLenum drawBuffers[] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, drawBuffers);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, static_cast<GLsizei>(viewSize.x), static_cast<GLsizei>(viewSize.y));
    root.render();
}

void RenderContext::resolveMultisample() {
    const glm::ivec2 origin(0, 0);
    const glm::ivec2 size(viewSize);
    msaaFramebuffer.blitTo(GL_COLOR_ATTACHMENT0, origin, size, resolveFramebuffer, origin, size,
                           GL_LINEAR, GL_COLOR_BUFFER_BIT);
    msaaFramebuffer.blitTo(GL_COLOR_ATTACHMENT1, origin, size, resolveFramebuffer, origin, size,
                           GL_LINEAR, GL_COLOR_BUFFER_BIT);
    msaaFramebuffer.blitTo(GL_DEPTH_ATTACHMENT, origin, size, resolveFramebuffer, origin, size,
                           GL_NEAREST, GL_DEPTH_BUFFER_BIT);
}

void RenderContext::blurBloom() {
    textureFilterShader->use();
    textureFilterShader->targetTexture.set(&brightColorTexture);
    bool horizontal = true;
    for (int pass = 0; pass < bloomBlurPasses; ++pass) {
        pingPongFramebuffers[horizontal ? 1 : 0].bind(GL_FRAMEBUFFER);
        textureFilterShader->isHorizontal.set(horizontal);
        screenQuad->draw();
        horizontal = !horizontal;
        textureFilterShader->targetTexture.set(&pingPongTextures[horizontal ? 0 : 1]);
    }
}

void RenderContext::composite() {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    blendBloomShader->use();
    blendBloomShader->sceneTexture.set(&sceneColorTexture);
    blendBloomShader->bloomTexture.set(&pingPongTextures[0]);
    screenQuad->draw();
    glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
}

void RenderContext::drawMesh(const Mesh& mesh, const glm::mat4& modelMatrix,
                             const Material& material) {
    if (depthPass) {
        DepthMapShader& depthShader = shadowMap.getShader();
        depthShader.use();
        depthShader.model.set(modelMatrix);
    } else {
        pbrShader->use();
        pbrShader->albedo.set(material.albedo);
        pbrShader->roughness.set(material.roughness);
        pbrShader->metalness.set(material.metalness);
        pbrShader->ao.set(material.ao);
        pbrShader->modelMatrix.set(modelMatrix);
    }
    mesh.draw();
}
