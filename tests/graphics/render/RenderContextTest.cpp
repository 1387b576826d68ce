#include "graphics/render/RenderContext.h"

#include "graphics/render/Skybox.h"
#include "tests/graphics/render/TestScene.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/LogCapture.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <stb_image_write.h>

namespace {
constexpr glm::uvec2 viewSize{480, 270};
constexpr glm::ivec2 shadowSize{1024, 1024};
constexpr float gamma = 2.2f;

GLint integer(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

// Level 0 of a single-sample colour target as floats, rows bottom first.
std::vector<glm::vec4> texels(const Texture& texture) {
    std::vector<glm::vec4> result(static_cast<std::size_t>(viewSize.x * viewSize.y));
    texture.bind();
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, result.data());
    return result;
}

glm::vec4 at(const std::vector<glm::vec4>& image, glm::ivec2 pixel) {
    return image[static_cast<std::size_t>(pixel.y) * viewSize.x +
                 static_cast<std::size_t>(pixel.x)];
}

float luminance(const glm::vec4& color) {
    return 0.2126f * color.r + 0.7152f * color.g + 0.0722f * color.b;
}

// The resolved scene colour, read back through its framebuffer.
std::vector<glm::vec4> sceneColor(const RenderContext& context) {
    std::vector<glm::vec4> result(static_cast<std::size_t>(viewSize.x * viewSize.y));
    context.getResolveFramebuffer().bind(GL_READ_FRAMEBUFFER);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(0, 0, viewSize.x, viewSize.y, GL_RGBA, GL_FLOAT, result.data());
    return result;
}

// One pass of the bloom's blur as the filter shader makes it, on one channel: nine taps along
// one axis, black outside the view.
std::vector<float> blurOnce(const std::vector<float>& image, bool horizontal) {
    static constexpr float weights[5] = {0.227027f, 0.1945946f, 0.1216216f, 0.054054f, 0.016216f};
    const glm::ivec2 size(viewSize);
    const glm::ivec2 axis = horizontal ? glm::ivec2(1, 0) : glm::ivec2(0, 1);
    const auto tap = [&](glm::ivec2 texel) {
        const bool inside = texel.x >= 0 && texel.y >= 0 && texel.x < size.x && texel.y < size.y;
        return inside ? image[static_cast<std::size_t>(texel.y * size.x + texel.x)] : 0.0f;
    };
    std::vector<float> result(image.size());
    for (int y = 0; y < size.y; ++y) {
        for (int x = 0; x < size.x; ++x) {
            const glm::ivec2 centre(x, y);
            float sum = tap(centre) * weights[0];
            for (int i = 1; i < 5; ++i) {
                sum += (tap(centre + axis * i) + tap(centre - axis * i)) * weights[i];
            }
            result[static_cast<std::size_t>(y * size.x + x)] = sum;
        }
    }
    return result;
}

// One render context for the suite, sized once as the Engine does; each test builds its scene.
class RenderContextTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        // The game's start-up state: back faces culled, alpha blending on in every pass.
        glEnable(GL_CULL_FACE);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        context = std::make_unique<RenderContext>();
        context->initTargets(viewSize, shadowSize, gamma);
    }
    static void TearDownTestSuite() {
        context.reset();
        glDisable(GL_CULL_FACE);
        glDisable(GL_BLEND);
    }
    void TearDown() override {
        getShaders().blendBloom.use();
        getShaders().blendBloom.gamma.set(gamma);
    }

    static inline std::unique_ptr<RenderContext> context;
    TestScene scene{*context};
};

TEST_F(RenderContextTest, AllocatesEveryTargetAtItsSizeWithBorders) {
    const FrameBuffer* framebuffers[] = {&context->getSceneFramebuffer(),
                                         &context->getResolveFramebuffer(),
                                         &context->getShadowMap().getFramebuffer()};
    for (const FrameBuffer* framebuffer : framebuffers) {
        framebuffer->bind(GL_FRAMEBUFFER);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER),
                  static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    }
    context->getSceneFramebuffer().bind(GL_FRAMEBUFFER);
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    EXPECT_EQ(samples, Texture::multisampleCount());

    const Texture& shadow = context->getShadowMap().getDepthTexture();
    shadow.bind();
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, shadowSize.x) << "independent of the view size";
    glm::vec4 border(0.5f);
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, &border.x);
    EXPECT_EQ(glm::vec3(border), glm::vec3(1.0f)) << "outside the shadow map nothing is shadowed";
    context->getBloomTexture().bind();
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, &border.x);
    EXPECT_EQ(glm::vec3(border), glm::vec3(0.0f)) << "outside the view the blur reads black";
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_BORDER);
}

TEST_F(RenderContextTest, EachPassLeavesTheStateTheNextOneExpects) {
    const auto& part = *scene.root->children.begin();
    auto* component = dynamic_cast<MeshDrawComponent*>((*part->components.begin()).get());
    ASSERT_NE(component, nullptr);

    context->renderShadowMap(*scene.root, scene.lightSpace, scene.sunDirection);
    EXPECT_TRUE(component->sawDepthPass);
    EXPECT_EQ(component->programAfterDraw, static_cast<GLint>(getShaders().depthMap.getHandle()));
    EXPECT_FALSE(context->isDepthPass());
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), static_cast<GLint>(getShaders().depthMap.getHandle()));
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], shadowSize.x);

    scene.uploadCamera();
    context->renderScene(*scene.root);
    EXPECT_FALSE(component->sawDepthPass);
    EXPECT_EQ(component->programAfterDraw, static_cast<GLint>(getShaders().pbr.getHandle()));
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING),
              static_cast<GLint>(context->getSceneFramebuffer().getHandle()));
    EXPECT_EQ(integer(GL_DRAW_BUFFER0), GL_COLOR_ATTACHMENT0);
    EXPECT_EQ(integer(GL_DRAW_BUFFER1), GL_COLOR_ATTACHMENT1);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], static_cast<GLint>(viewSize.x)) << "back from the shadow map's size";
    EXPECT_EQ(viewport[3], static_cast<GLint>(viewSize.y));
    glm::vec3 albedo(0.0f);
    glGetUniformfv(getShaders().pbr.getHandle(),
                   glGetUniformLocation(getShaders().pbr.getHandle(), "albedo"), &albedo.x);
    EXPECT_EQ(albedo, glm::vec3(1.0f)) << "the last mesh drawn, the white cube, set its material";
}

TEST_F(RenderContextTest, TheShadowFallsWhereTheLightSays) {
    // Below the cube, on the side the light travels to, lies the shadow; mirrored in x, the sun
    // throws it to the other side. Both floor points are in plain sight of the camera.
    const glm::vec3 right(1.2f, 0.0f, 1.2f);
    const glm::vec3 left(-1.2f, 0.0f, 1.2f);
    const struct {
        glm::vec3 sun;
        glm::vec3 shadowed;
        glm::vec3 lit;
    } cases[] = {{{1, -2, 1}, right, left}, {{-1, -2, 1}, left, right}};
    for (const auto& [sun, shadowed, lit] : cases) {
        SCOPED_TRACE(testing::Message() << "sun along " << sun.x << ", " << sun.y << ", " << sun.z);
        scene.setSun(sun);
        scene.renderUpToBloom();
        const std::vector<glm::vec4> color = sceneColor(*context);
        const float dark = luminance(at(color, scene.pixelOf(shadowed)));
        const float bright = luminance(at(color, scene.pixelOf(lit)));
        EXPECT_GT(dark, 0.02f) << "the fill lights and the ambient still reach the shadow";
        EXPECT_GT(bright, dark * 2.0f) << "shadowed " << dark << ", lit " << bright;
    }
}

TEST_F(RenderContextTest, TheBloomSpreadsAroundTheBrightObjectOnly) {
    scene.renderUpToBloom();
    const std::vector<glm::vec4> bright = texels(context->getBrightColorTexture());
    const std::vector<glm::vec4> bloom = texels(context->getBloomTexture());
    // The white cube's top faces the sun and is above the threshold; the orange cube is not.
    const glm::ivec2 top = scene.pixelOf(TestScene::brightCubeCentre +
                                         glm::vec3(0.0f, TestScene::brightCubeEdge / 2, 0.0f));
    EXPECT_GT(luminance(at(bright, top)), 0.8f);
    EXPECT_EQ(luminance(at(bright, scene.pixelOf(TestScene::litCubeCentre))), 0.0f);
    // A few pixels past the bright outline to the right, the left and above, where the scene
    // itself has nothing bright, the blur of both axes has carried light.
    for (const glm::ivec2 direction : {glm::ivec2(1, 0), glm::ivec2(-1, 0), glm::ivec2(0, 1)}) {
        SCOPED_TRACE(testing::Message() << direction.x << ", " << direction.y);
        glm::ivec2 beside = top;
        while (luminance(at(bright, beside)) > 0.0f) {
            beside += direction;
        }
        beside += 4 * direction;
        EXPECT_EQ(luminance(at(bright, beside)), 0.0f);
        EXPECT_GT(luminance(at(bloom, beside)), 0.02f);
        EXPECT_LT(luminance(at(bloom, beside)), luminance(at(bloom, top)));
    }
    EXPECT_LT(luminance(at(bloom, {static_cast<int>(viewSize.x) - 3, 3})), 1e-4f)
        << "far away: nothing";
}

// One bright texel through the blur: ten passes, alternating from horizontal, spread it as far
// and as thin as five passes along each axis do, and the last pass's texture is the bloom the
// composite reads. Four passes would leave a tighter glow; an odd count ends in the other
// ping-pong texture, which the composite never reads.
TEST_F(RenderContextTest, TheBloomIsTenBlurPassesEndingInTheTextureTheCompositeReads) {
    const glm::ivec2 size(viewSize);
    const glm::ivec2 spark(size / 2);
    std::vector<float> expected(static_cast<std::size_t>(size.x * size.y), 0.0f);
    expected[static_cast<std::size_t>(spark.y * size.x + spark.x)] = 1.0f;
    std::vector<glm::vec4> bright(expected.size(), glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    bright[static_cast<std::size_t>(spark.y * size.x + spark.x)] = glm::vec4(1.0f);
    context->getBrightColorTexture().bind();
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, size.x, size.y, GL_RGBA, GL_FLOAT, bright.data());
    glViewport(0, 0, size.x, size.y); // the blur draws in the viewport the scene pass sets
    context->blurBloom();
    for (int pass = 0; pass < 10; ++pass) {
        expected = blurOnce(expected, pass % 2 == 0);
    }

    const std::vector<glm::vec4> bloom = texels(context->getBloomTexture());
    std::size_t wrong = 0;
    float worst = 0.0f;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        // Half floats between the passes: a few parts in a thousand.
        const float error = glm::length(glm::vec3(bloom[i]) - glm::vec3(expected[i]));
        wrong += error > 2e-6f + 0.01f * expected[i] ? 1 : 0;
        worst = std::max(worst, error);
    }
    EXPECT_EQ(wrong, 0u) << "largest difference " << worst << " at a peak of "
                         << expected[static_cast<std::size_t>(spark.y * size.x + spark.x)];
    const ShaderProgram& blur = getShaders().textureFilter;
    GLint unit = -1;
    glGetUniformiv(blur.getHandle(), glGetUniformLocation(blur.getHandle(), "targetTexture"), &unit);
    EXPECT_EQ(unit, static_cast<GLint>(context->getBloomTexture().getUnit()))
        << "the blur's last pass wrote another texture than the composite reads";
}

// A square from the view's left edge to x = right, facing +z and weighted fully to bone 3. With
// the identity as the camera, clip space is world space.
SubMesh squareFromTheLeftEdge(float right) {
    SubMesh square;
    square.positions = {{-1, -1, 0}, {right, -1, 0}, {right, 1, 0}, {-1, 1, 0}};
    square.normals.assign(4, {0, 0, 1});
    square.textureCoordinates.assign(4, {0, 0});
    square.boneIds.assign(4, {3, 0, 0, 0});
    square.boneWeights.assign(4, {1, 0, 0, 0});
    square.triangles = {{0, 1, 2}, {2, 3, 0}};
    return square;
}

// The shadow map is filled by hand with an occluder over the lower left quadrant from texel
// corner on, and a square facing the shadow light is drawn so that each pixel of the view looks
// up the shadow map at the centre of the texel with its own coordinates. How much light each
// pixel near the corner gets back is the sum of the 5 x 5 filter's weights over the occluded
// taps, which pins every weight.
TEST_F(RenderContextTest, TheShadowEdgeIsFilteredWithTheGaussianKernel) {
    static constexpr float kernel[5][5] = {
        {0.003765f, 0.015019f, 0.023792f, 0.015019f, 0.003765f},
        {0.015019f, 0.059912f, 0.094907f, 0.059912f, 0.015019f},
        {0.023792f, 0.094907f, 0.150342f, 0.094907f, 0.023792f},
        {0.015019f, 0.059912f, 0.094907f, 0.059912f, 0.015019f},
        {0.003765f, 0.015019f, 0.023792f, 0.015019f, 0.003765f},
    };
    const glm::ivec2 corner(200, 100);
    std::vector<float> depth(static_cast<std::size_t>(shadowSize.x * shadowSize.y), 1.0f);
    for (int y = 0; y < corner.y; ++y) {
        for (int x = 0; x < corner.x; ++x) {
            depth[static_cast<std::size_t>(y * shadowSize.x + x)] = 0.0f;
        }
    }
    context->getShadowMap().getDepthTexture().bind();
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, shadowSize.x, shadowSize.y, GL_DEPTH_COMPONENT, GL_FLOAT,
                    depth.data());

    // Pixel centre (x + 0.5) / width in normalised device coordinates to texel centre
    // (x + 0.5) / shadow width in the shadow map's.
    const glm::vec2 scale = glm::vec2(viewSize) / glm::vec2(shadowSize);
    glm::mat4 pixelToTexel(1.0f);
    pixelToTexel[0][0] = scale.x;
    pixelToTexel[1][1] = scale.y;
    pixelToTexel[3] = glm::vec4(scale - 1.0f, 0.0f, 1.0f);
    const glm::vec3 sun(0.0f, 0.0f, -1.0f);
    PBRShader& pbr = getShaders().pbr;
    pbr.use();
    std::array<DirectionalLight, maxLights> lights{};
    lights[0] = {sun, glm::vec3(1.8f)};
    pbr.directionalLights.set(lights);
    pbr.shadowSourceLightSpaceMatrix.set(pixelToTexel);
    pbr.shadowSourceLightDirection.set(sun);
    pbr.viewProjectMatrix.set(glm::mat4(1.0f));
    pbr.eyePos.set({0.0f, 0.0f, 1e4f}); // far away: the same highlight everywhere
    pbr.hasBones.set(false);
    const Mesh receiver(squareFromTheLeftEdge(1.0f)); // the whole view
    GameObject emptyScene("Root");
    context->renderScene(emptyScene);
    // No ambient (ao 0): the whole range of the colour is the light that the shadow takes away.
    context->drawMesh(receiver, glm::mat4(1.0f), {glm::vec3(0.5f), 0.0f, 1.0f, 0.0f});
    context->resolveMultisample();

    const std::vector<glm::vec4> color = sceneColor(*context);
    const float shadowed = at(color, corner / 2).r;
    const float lit = at(color, corner + 40).r;
    ASSERT_GT(lit - shadowed, 0.5f) << "the light is what the shadow takes away";
    for (int y = corner.y - 3; y <= corner.y + 2; ++y) {
        for (int x = corner.x - 3; x <= corner.x + 2; ++x) {
            float occluded = 0.0f;
            for (int row = 0; row < 5; ++row) {
                for (int column = 0; column < 5; ++column) {
                    const bool hidden = x + column - 2 < corner.x && y + row - 2 < corner.y;
                    occluded += hidden ? kernel[row][column] : 0.0f;
                }
            }
            const float shadow = (lit - at(color, {x, y}).r) / (lit - shadowed);
            // The multisampled colour target keeps 8 bits: one step of the lit colour is 0.0045.
            EXPECT_NEAR(shadow, occluded, 0.005f) << "pixel " << x - corner.x << ", " << y - corner.y
                                                  << " from the corner";
        }
    }
}

TEST_F(RenderContextTest, TheFirstScenePassClearsBothTargets) {
    // A fresh framebuffer draws into attachment 0 only; something is left in attachment 1.
    context->getSceneFramebuffer().bind(GL_FRAMEBUFFER);
    const GLenum brightOnly[] = {GL_NONE, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, brightOnly);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 1);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    const GameObject emptyScene("Root");
    scene.uploadCamera();
    context->renderScene(const_cast<GameObject&>(emptyScene));
    context->resolveMultisample();
    const std::vector<glm::vec4> bright = texels(context->getBrightColorTexture());
    EXPECT_EQ(at(bright, {10, 10}), glm::vec4(0, 0, 0, 1));
}

TEST_F(RenderContextTest, TheCompositeAddsTheBloomAndAppliesGamma) {
    for (const float encoding : {1.0f, gamma}) {
        SCOPED_TRACE(encoding);
        getShaders().blendBloom.use();
        getShaders().blendBloom.gamma.set(encoding);
        scene.renderFrame();
        const auto window = GlTestContext::readPixels(0, 0, viewSize.x, viewSize.y);
        const std::vector<glm::vec4> color = sceneColor(*context);
        const std::vector<glm::vec4> bloom = texels(context->getBloomTexture());
        for (unsigned y = 5; y < viewSize.y; y += 37) {
            for (unsigned x = 5; x < viewSize.x; x += 41) {
                const glm::ivec2 pixel(x, y);
                const glm::vec3 linear =
                    glm::clamp(glm::vec3(at(color, pixel) + at(bloom, pixel)), 0.0f, 1.0f);
                const std::size_t index = 4 * (static_cast<std::size_t>(y) * viewSize.x + x);
                for (int c = 0; c < 3; ++c) {
                    EXPECT_NEAR(window[index + c], 255.0f * std::pow(linear[c], 1.0f / encoding),
                                3.0f)
                        << "pixel " << x << ", " << y << " channel " << c;
                }
                EXPECT_EQ(window[index + 3], 255);
            }
        }
    }
}

TEST_F(RenderContextTest, TheCompositeIsFilledInWireframeModeAndRestoresLines) {
    scene.renderUpToBloom();
    FrameBuffer(0).bind(GL_FRAMEBUFFER);
    glViewport(0, 0, viewSize.x, viewSize.y);
    glClearColor(1, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0, 0, 0, 1);
    context->setWireframe(!context->isWireframe()); // as the wireframe key toggles it
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    context->composite();
    GLint mode[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_LINE);
    context->setWireframe(false);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    const auto window = GlTestContext::readPixels(0, 0, viewSize.x, viewSize.y);
    std::size_t magenta = 0;
    for (std::size_t i = 0; i < window.size(); i += 4) {
        magenta += window[i] == 255 && window[i + 1] == 0 && window[i + 2] == 255;
    }
    EXPECT_EQ(magenta, 0u) << "every pixel of the view was composited";
}

TEST_F(RenderContextTest, SkinnedMeshesFollowTheirBonesOnlyWhenTheModelHasBones) {
    const Mesh square(squareFromTheLeftEdge(0.0f));
    GameObject root("Root");
    PBRShader& pbr = getShaders().pbr;
    std::array<glm::mat4, maxBones> bones;
    bones.fill(glm::mat4(1.0f));
    bones[3] = glm::translate(glm::mat4(1.0f), {1.0f, 0.0f, 0.0f});
    const Material white{glm::vec3(1.0f), 1.0f, 0.5f, 0.0f};
    const glm::ivec2 left(viewSize.x / 4, viewSize.y / 2);
    const glm::ivec2 right(3 * viewSize.x / 4, viewSize.y / 2);
    for (const bool hasBones : {false, true}) {
        SCOPED_TRACE(hasBones);
        pbr.use();
        pbr.viewProjectMatrix.set(glm::mat4(1.0f));
        pbr.eyePos.set({0.0f, 0.0f, 1.0f});
        pbr.hasBones.set(hasBones);
        pbr.boneTransforms.set(bones);
        context->renderScene(root);
        context->drawMesh(square, glm::mat4(1.0f), white);
        context->resolveMultisample();
        const std::vector<glm::vec4> color = sceneColor(*context);
        EXPECT_EQ(luminance(at(color, left)) > 0.1f, !hasBones);
        EXPECT_EQ(luminance(at(color, right)) > 0.1f, hasBones) << "moved one unit right by bone 3";
    }
    pbr.hasBones.set(false);
}

TEST_F(RenderContextTest, WithEveryLightOffOnlyTheAmbientShowsAndNothingIsNaN) {
    const Mesh square(squareFromTheLeftEdge(0.0f));
    GameObject root("Root");
    PBRShader& pbr = getShaders().pbr;
    pbr.use();
    pbr.directionalLights.set({}); // all six elements zero, like the point and spot lights
    pbr.viewProjectMatrix.set(glm::mat4(1.0f));
    pbr.eyePos.set({0.0f, 0.0f, 1.0f});
    pbr.hasBones.set(false);
    // Roughness 0 and metalness 1 are the edges of the highlight's formulas.
    const Material material{{0.8f, 0.4f, 0.2f}, 1.0f, 0.0f, 1.0f};
    context->renderScene(root);
    context->drawMesh(square, glm::mat4(1.0f), material);
    context->resolveMultisample();
    const glm::vec4 color = at(sceneColor(*context), {static_cast<int>(viewSize.x) / 4, 10});
    // Half the albedo, scaled by the ambient occlusion: the shader's ambient level.
    EXPECT_NEAR(color.r, 0.4f, 0.01f);
    EXPECT_NEAR(color.g, 0.2f, 0.01f);
    EXPECT_NEAR(color.b, 0.1f, 0.01f);
}

TEST_F(RenderContextTest, TheSkyFillsOnlyWhatTheSceneLeftEmptyAndNeverBlooms) {
    // A sky of one colour on all six faces.
    Cubemap faces(std::array<std::string, 6>{});
    const unsigned char blue[] = {40, 80, 200};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int face = 0; face < 6; ++face) {
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGB, 1, 1, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, blue);
    }
    const Skybox sky(std::move(faces));
    scene.renderUpToBloom();
    const glm::ivec2 floorPixel = scene.pixelOf({-3.0f, 0.0f, 3.0f});
    const glm::vec4 floorBefore = at(sceneColor(*context), floorPixel);

    scene.uploadCamera();
    context->renderScene(*scene.root);
    // The skybox right after the scene pass, with the camera's rotation alone.
    const glm::vec2 size(viewSize);
    const glm::mat4 rotation(
        glm::mat3(glm::lookAt(scene.eye, glm::vec3(0.0f), {0.0f, 1.0f, 0.0f})));
    sky.shader->use();
    sky.shader->viewProjectMatrix.set(
        glm::perspective(glm::radians(60.0f), size.x / size.y, 0.1f, 50.0f) * rotation);
    sky.draw();
    context->resolveMultisample();

    const std::vector<glm::vec4> color = sceneColor(*context);
    const glm::ivec2 corner(3, static_cast<int>(viewSize.y) - 3); // above the floor's far edge
    EXPECT_NEAR(at(color, corner).b, 200.0f / 255.0f, 0.02f);
    EXPECT_NEAR(at(color, corner).r, 40.0f / 255.0f, 0.02f);
    EXPECT_NEAR(at(color, floorPixel).r, floorBefore.r, 0.01f) << "the sky lies behind the scene";
    EXPECT_EQ(at(texels(context->getBrightColorTexture()), corner), glm::vec4(0, 0, 0, 1));
}

// Writes the composited frame to the build directory, for a person to look at.
TEST_F(RenderContextTest, WritesThePictureOfTheCompositedScene) {
    scene.renderFrame();
    const auto window = GlTestContext::readPixels(0, 0, viewSize.x, viewSize.y);
    stbi_flip_vertically_on_write(1); // GL's rows run bottom first
    const std::string path = "../render-context-test-scene.png";
    const int written =
        stbi_write_png(path.c_str(), viewSize.x, viewSize.y, 4, window.data(), viewSize.x * 4);
    stbi_flip_vertically_on_write(0); // the setting is process-wide: the image tests write upright
    ASSERT_NE(written, 0);
    std::size_t lit = 0;
    for (std::size_t i = 0; i < window.size(); i += 4) {
        lit += window[i] + window[i + 1] + window[i + 2] > 60;
    }
    EXPECT_GT(lit, window.size() / 4 / 3) << "most of the view shows the lit floor";
}
} // namespace
