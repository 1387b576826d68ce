#include "graphics/render/Skybox.h"

#include "graphics/render/Camera.h"
#include "graphics/shaders/Shaders.h"
#include "tests/graphics/OffscreenTarget.h"
#include "tests/support/LogCapture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <unistd.h>

namespace {
// One colour per face, in the cube map's order +X, -X, +Y, -Y, +Z, -Z.
const char* const faceStems[] = {"right", "left", "top", "bottom", "front", "back"};
const glm::u8vec4 faceColors[] = {{220, 40, 40, 255},  {40, 200, 40, 255},  {40, 40, 220, 255},
                                  {220, 220, 40, 255}, {40, 220, 220, 255}, {220, 40, 220, 255}};
enum Face { right, left, top, bottom, front, back };

// Six plain JPEG faces in a directory of this process's own, as the game's sky is stored.
class FaceDirectory {
public:
    FaceDirectory()
        : path(std::filesystem::temp_directory_path() /
               ("vornhalt-sky-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(path);
        for (int face = 0; face < 6; ++face) {
            std::vector<glm::u8vec3> pixels(16, glm::u8vec3(faceColors[face]));
            const std::string file = (path / (std::string(faceStems[face]) + ".jpg")).string();
            stbi_write_jpg(file.c_str(), 4, 4, 3, pixels.data(), 100);
        }
    }
    ~FaceDirectory() { std::filesystem::remove_all(path); }

    std::string withSeparator() const { return path.string() + "/"; }

private:
    std::filesystem::path path;
};

class SkyboxTest : public testing::Test {
protected:
    void SetUp() override {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glEnable(GL_CULL_FACE);
        target.bindAndClear();
    }
    void TearDown() override {
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
    }

    // The colour in the middle of the target after drawing the sky for the camera.
    glm::u8vec4 centreAfterDrawing(Camera& camera) {
        target.bindAndClear();
        sky.setViewProjection(camera);
        sky.draw();
        const std::vector<glm::u8vec4> pixels = target.read();
        return target.at(pixels, target.size.x / 2, target.size.y / 2);
    }

    FaceDirectory faces;
    Skybox sky{Cubemap(faces.withSeparator(), "jpg")};
    OffscreenTarget target{{64, 64}};
    Camera camera{0.0f, 0.0f, 60.0f, 1.0f, 0.01f, 100.0f};
};

TEST_F(SkyboxTest, IsAUnitCubeWithMipmappedFacesAndTheProgramsSamplerOnThem) {
    EXPECT_EQ(sky.cube.indexCount(), 36);
    EXPECT_EQ(sky.shader, &getShaders().skybox);
    sky.cubemap.bind();
    GLint minification = 0;
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, &minification);
    EXPECT_EQ(minification, GL_LINEAR_MIPMAP_LINEAR);
    GLint sampler = -1;
    glGetUniformiv(sky.shader->getHandle(), sky.shader->skybox.getLocation(), &sampler);
    EXPECT_EQ(sampler, static_cast<GLint>(sky.cubemap.getUnit()));
    for (const glm::vec3& position : sky.cube.getPositions().getData()) {
        EXPECT_EQ(glm::abs(position), glm::vec3(0.5f)) << "edge 1 around the origin";
    }
}

// Culling and the depth function as the frame had them, whatever they were.
struct StateCase {
    bool culling;
    GLenum depthFunction;
};

class SkyboxState : public SkyboxTest, public testing::WithParamInterface<StateCase> {};

TEST_P(SkyboxState, DrawsFromInsideAndRestoresCullingAndTheDepthFunction) {
    GetParam().culling ? glEnable(GL_CULL_FACE) : glDisable(GL_CULL_FACE);
    glDepthFunc(GetParam().depthFunction);
    sky.setViewProjection(camera);
    sky.draw();
    EXPECT_EQ(glIsEnabled(GL_CULL_FACE), GetParam().culling ? GL_TRUE : GL_FALSE);
    GLint depthFunction = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
    EXPECT_EQ(depthFunction, static_cast<GLint>(GetParam().depthFunction));
    // The sky lies at the cleared depth 1 and is seen from inside the cube: it shows only if the
    // draw used LEQUAL and drew the faces that culling would drop.
    const std::vector<glm::u8vec4> pixels = target.read();
    EXPECT_TRUE(colorNear(target.at(pixels, 32, 32), faceColors[back], 6));
    EXPECT_TRUE(colorNear(target.at(pixels, 2, 2), faceColors[back], 6)) << "the whole view is sky";
}

INSTANTIATE_TEST_SUITE_P(FrameStates, SkyboxState,
                         testing::Values(StateCase{true, GL_LESS}, StateCase{false, GL_LESS},
                                         StateCase{true, GL_GREATER}));

TEST_F(SkyboxTest, NeverCoversWhatTheSceneDrewNearer) {
    target.bindAndClear({0, 0, 0, 1}, 0.5f);
    sky.setViewProjection(camera);
    sky.draw();
    const std::vector<glm::u8vec4> pixels = target.read();
    EXPECT_TRUE(colorNear(target.at(pixels, 32, 32), {0, 0, 0, 255}));
}

TEST_F(SkyboxTest, TurnsWithTheCameraButDoesNotMoveWithIt) {
    const glm::mat4 level = skyViewProjection(camera);
    camera.position = {40.0f, 3.0f, -25.0f};
    camera.viewValid = camera.viewProjectionValid = false;
    EXPECT_EQ(skyViewProjection(camera), level);
    EXPECT_TRUE(colorNear(centreAfterDrawing(camera), faceColors[back], 6));

    camera.yaw = 90.0f;
    camera.orientationValid = camera.viewValid = camera.viewProjectionValid = false;
    EXPECT_NE(skyViewProjection(camera), level);
    EXPECT_TRUE(colorNear(centreAfterDrawing(camera), faceColors[left], 6)) << "looking along -x";

    camera.yaw = 0.0f;
    camera.pitch = 60.0f;
    camera.orientationValid = false;
    EXPECT_TRUE(colorNear(centreAfterDrawing(camera), faceColors[bottom], 6)) << "looking down";
}

TEST_F(SkyboxTest, SettingTheViewProjectionUsesTheSkyboxProgram) {
    getShaders().pbr.use();
    sky.setViewProjection(camera);
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, static_cast<GLint>(sky.shader->getHandle()));
    glm::mat4 uploaded(0.0f);
    glGetUniformfv(sky.shader->getHandle(), sky.shader->viewProjectMatrix.getLocation(),
                   &uploaded[0][0]);
    EXPECT_EQ(uploaded, skyViewProjection(camera));
}

TEST_F(SkyboxTest, InWireframeModeTheCubeIsDrawnAsLines) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    target.bindAndClear();
    sky.setViewProjection(camera);
    sky.draw();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    int sky = 0;
    for (const glm::u8vec4& pixel : target.read()) {
        sky += isNear(pixel, faceColors[back], 6) ? 1 : 0;
    }
    EXPECT_LT(sky, 64 * 64 / 10) << "only the edges and diagonals of the faces are drawn";
}
TEST(GameSky, ReadsItsSixFacesFromTheAssets) {
    LogCapture capture;
    const Skybox sky;
    EXPECT_EQ(capture.countAtLeast(spdlog::level::err), 0u);
    sky.cubemap.bind();
    for (int face = 0; face < 6; ++face) {
        GLint width = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_TEXTURE_WIDTH,
                                 &width);
        EXPECT_GT(width, 0) << faceStems[face];
    }
}
} // namespace
