#include "graphics/render/Camera.h"

#include "tests/graphics/ExpectNear.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {
constexpr float tolerance = 1e-5f;

// The game's camera: pitch 0, yaw 0, 60 degrees, near 0.01, far 100.
Camera gameCamera(float aspect = 16.0f / 9.0f) {
    return Camera(0.0f, 0.0f, 60.0f, aspect, 0.01f, 100.0f);
}

TEST(Camera, StartsWithEveryCacheStaleAtTheOriginLookingUpTheWorld) {
    const Camera camera(10.0f, 20.0f, 60.0f, 2.0f, 0.5f, 50.0f);
    EXPECT_FALSE(camera.orientationValid);
    EXPECT_FALSE(camera.projectionValid);
    EXPECT_FALSE(camera.viewValid);
    EXPECT_FALSE(camera.viewProjectionValid);
    EXPECT_EQ(camera.position, glm::vec3(0.0f));
    EXPECT_EQ(camera.worldUp, glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(camera.pitch, 10.0f);
    EXPECT_EQ(camera.yaw, 20.0f);
    EXPECT_EQ(camera.zFar, 50.0f);
}

TEST(Camera, LevelAndUnturnedItsFrameIsTheWorldsAndItsViewTheIdentity) {
    Camera camera = gameCamera();
    camera.updateVectors();
    EXPECT_TRUE(camera.orientationValid);
    expectNear(camera.front, {0.0f, 0.0f, 1.0f});
    expectNear(camera.right, {1.0f, 0.0f, 0.0f});
    expectNear(camera.up, {0.0f, 1.0f, 0.0f});
    expectNear(camera.getViewMatrix(glm::vec3(0.0f)), glm::mat4(1.0f));
}

// Where the view looks: the world direction that the view matrix turns onto -z.
struct LookCase {
    float pitch;
    float yaw;
    glm::vec3 looksAlong;
};

class CameraLook : public testing::TestWithParam<LookCase> {};

TEST_P(CameraLook, TheViewLooksAlongMinusFront) {
    const LookCase& look = GetParam();
    Camera camera(look.pitch, look.yaw, 60.0f, 1.0f, 0.01f, 100.0f);
    const glm::mat4 view = camera.getViewMatrix(glm::vec3(0.0f));
    expectNear(glm::vec3(view * glm::vec4(look.looksAlong, 0.0f)), {0.0f, 0.0f, -1.0f});
    expectNear(-camera.front, look.looksAlong);
}

const float halfRoot2 = std::sqrt(0.5f);
INSTANTIATE_TEST_SUITE_P(
    PitchAndYaw, CameraLook,
    testing::Values(LookCase{0.0f, 0.0f, {0.0f, 0.0f, -1.0f}},
                    LookCase{0.0f, 90.0f, {-1.0f, 0.0f, 0.0f}},
                    LookCase{0.0f, 180.0f, {0.0f, 0.0f, 1.0f}},
                    LookCase{45.0f, 0.0f, {0.0f, -halfRoot2, -halfRoot2}}, // positive pitch: down
                    LookCase{-45.0f, 0.0f, {0.0f, halfRoot2, -halfRoot2}}));

TEST(Camera, NearlyVerticalPitchStillGivesAUnitRightAngledFrame) {
    for (const float pitch : {89.999f, -89.999f}) {
        Camera camera(pitch, 30.0f, 60.0f, 1.0f, 0.01f, 100.0f);
        camera.updateVectors();
        EXPECT_NEAR(glm::length(camera.right), 1.0f, tolerance);
        EXPECT_NEAR(glm::length(camera.up), 1.0f, 1e-3f);
        EXPECT_NEAR(glm::dot(camera.right, camera.front), 0.0f, tolerance);
        EXPECT_NEAR(camera.right.y, 0.0f, tolerance) << "right stays level";
    }
}

TEST(Camera, OrientationIsRecomputedOnlyWhenItsFlagIsCleared) {
    Camera camera = gameCamera();
    camera.updateVectors();
    camera.yaw = 90.0f; // a writer that forgot the flag
    camera.updateVectors();
    expectNear(camera.front, {0.0f, 0.0f, 1.0f});
    camera.orientationValid = false;
    camera.updateVectors();
    expectNear(camera.front, {1.0f, 0.0f, 0.0f});
}

TEST(Camera, ProjectionIsTheRightHandedPerspectiveWithClipDepthMinusOneToOne) {
    Camera camera = gameCamera(2.0f);
    const float t = std::tan(glm::radians(60.0f) / 2.0f);
    glm::mat4 expected(0.0f);
    expected[0][0] = 1.0f / (2.0f * t);
    expected[1][1] = 1.0f / t;
    expected[2][2] = -(100.0f + 0.01f) / (100.0f - 0.01f);
    expected[2][3] = -1.0f;
    expected[3][2] = -(2.0f * 100.0f * 0.01f) / (100.0f - 0.01f);
    expectNear(camera.getProjectionMatrix(), expected);
    expectNear(camera.getProjectionMatrix(),
               glm::perspective(glm::radians(60.0f), 2.0f, 0.01f, 100.0f));
    EXPECT_TRUE(camera.projectionValid);

    // A point on the near plane lands at depth -1, one on the far plane at +1.
    const glm::vec4 nearPoint = camera.getProjectionMatrix() * glm::vec4(0, 0, -0.01f, 1);
    const glm::vec4 farPoint = camera.getProjectionMatrix() * glm::vec4(0, 0, -100.0f, 1);
    EXPECT_NEAR(nearPoint.z / nearPoint.w, -1.0f, 1e-4f);
    EXPECT_NEAR(farPoint.z / farPoint.w, 1.0f, 1e-4f);
}

TEST(Camera, ProjectionStaysCachedUntilItsFlagIsCleared) {
    Camera camera = gameCamera(1.0f);
    const glm::mat4 square = camera.getProjectionMatrix();
    camera.aspect = 2.0f;
    EXPECT_EQ(camera.getProjectionMatrix(), square);
    camera.projectionValid = false;
    EXPECT_NEAR(camera.getProjectionMatrix()[0][0], square[0][0] / 2.0f, tolerance);
}

TEST(Camera, ViewMatrixMovesTheEyeToTheOriginAndLeavesTheCachedViewAlone) {
    Camera camera(20.0f, 35.0f, 60.0f, 1.0f, 0.01f, 100.0f);
    const glm::mat4 marker(7.0f);
    camera.view = marker;
    const glm::vec3 eye(3.0f, -2.0f, 5.0f);
    const glm::mat4 view = camera.getViewMatrix(eye);
    expectNear(glm::vec3(view * glm::vec4(eye, 1.0f)), glm::vec3(0.0f));
    // R × T: the same rotation as for an eye at the origin, followed by the translation.
    const glm::mat4 rotation = camera.getViewMatrix(glm::vec3(0.0f));
    expectNear(view, rotation * glm::translate(glm::mat4(1.0f), -eye));
    // The view matrix of the skybox is asked between frames: the player's cache must survive.
    EXPECT_EQ(camera.view, marker);
    EXPECT_FALSE(camera.viewValid);
}
} // namespace
