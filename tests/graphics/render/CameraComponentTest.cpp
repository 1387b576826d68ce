#include "graphics/render/CameraComponent.h"

#include "engine/scene/GameObject.h"
#include "engine/window/AbsoluteViewportView.h"
#include "graphics/shaders/Shaders.h"
#include "tests/graphics/ExpectNear.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {
glm::mat4 uploadedViewProjection() {
    const PBRShader& pbr = getShaders().pbr;
    glm::mat4 value(0.0f);
    glGetUniformfv(pbr.getHandle(), pbr.viewProjectMatrix.getLocation(), &value[0][0]);
    return value;
}

glm::vec3 uploadedEye() {
    const PBRShader& pbr = getShaders().pbr;
    glm::vec3 value(0.0f);
    glGetUniformfv(pbr.getHandle(), pbr.eyePos.getLocation(), &value[0]);
    return value;
}

// A player object with the game's camera: eye offset (1.3, 1, 0), aspect left to the view.
class CameraComponentTest : public testing::Test {
protected:
    CameraComponentTest() {
        player.position = {2.0f, 0.0f, 3.0f};
        component = player
                        .addComponent<CameraComponent>(
                            &view, Camera(0.0f, 0.0f, 60.0f, 0.0f, 0.01f, 100.0f),
                            glm::vec3(1.3f, 1.0f, 0.0f))
                        .lock();
    }

    glm::mat4 expectedViewProjection() {
        Camera& camera = component->camera;
        return glm::perspective(glm::radians(60.0f), camera.aspect, 0.01f, 100.0f) *
               camera.getViewMatrix(camera.position);
    }

    AbsoluteViewportView view{10, 20, 480, 270};
    GameObject player{"Player 1"};
    std::shared_ptr<CameraComponent> component;
};

TEST_F(CameraComponentTest, TakesTheViewsAspectAndViewportAndUploadsItsMatricesToThePbrProgram) {
    component->update();
    Camera& camera = component->camera;
    EXPECT_FLOAT_EQ(camera.aspect, 480.0f / 270.0f);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(glm::ivec4(viewport[0], viewport[1], viewport[2], viewport[3]),
              glm::ivec4(10, 20, 480, 270));
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, static_cast<GLint>(getShaders().pbr.getHandle()));

    expectNear(camera.position, {3.3f, 1.0f, 3.0f});
    EXPECT_EQ(uploadedEye(), camera.position);
    expectNear(uploadedViewProjection(), expectedViewProjection());
    EXPECT_TRUE(camera.orientationValid && camera.projectionValid && camera.viewValid &&
                camera.viewProjectionValid);
}

TEST_F(CameraComponentTest, AnUnchangedCameraUploadsItsCachedMatrixWithoutRecomputingIt) {
    component->update();
    // Planted in the cache with every flag still set: only a recomputation would replace it.
    const glm::mat4 marker(3.0f);
    component->camera.viewProjection = marker;
    component->update();
    EXPECT_EQ(uploadedViewProjection(), marker);
}

TEST_F(CameraComponentTest, AMovedOwnerRebuildsTheViewButKeepsTheProjection) {
    component->update();
    const glm::mat4 projectionMarker(2.0f);
    component->camera.projection = projectionMarker;
    player.position.x += 1.0f;
    component->update();
    expectNear(component->camera.position, {4.3f, 1.0f, 3.0f});
    const glm::mat4 view = component->camera.getViewMatrix(component->camera.position);
    expectNear(component->camera.view, view);
    expectNear(uploadedViewProjection(), projectionMarker * view);
}

TEST_F(CameraComponentTest, ANewAspectRebuildsTheProjectionButKeepsTheView) {
    component->update();
    const glm::mat4 viewMarker(2.0f);
    component->camera.view = viewMarker;
    view.width = 960;
    component->update();
    EXPECT_FLOAT_EQ(component->camera.aspect, 960.0f / 270.0f);
    expectNear(uploadedViewProjection(),
               glm::perspective(glm::radians(60.0f), 960.0f / 270.0f, 0.01f, 100.0f) * viewMarker);
}

TEST_F(CameraComponentTest, ANaNAspectCountsAsChanged) {
    component->update();
    component->camera.aspect = std::nanf("");
    component->camera.projection = glm::mat4(2.0f);
    component->update();
    expectNear(uploadedViewProjection(), expectedViewProjection());
}

TEST_F(CameraComponentTest, TheOffsetTurnsWithTheOwner) {
    player.rotation = glm::angleAxis(glm::radians(180.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    component->updatePosition();
    expectNear(component->camera.position, player.position + glm::vec3(-1.3f, 1.0f, 0.0f));
    EXPECT_FALSE(component->camera.viewValid);
}

TEST_F(CameraComponentTest, AnUnmovedEyeKeepsTheViewValid) {
    component->update();
    component->updatePosition();
    EXPECT_TRUE(component->camera.viewValid);
    EXPECT_TRUE(component->camera.viewProjectionValid);
}

TEST_F(CameraComponentTest, IsFoundByClassUnderItsLogName) {
    EXPECT_EQ(component->getName(), "CameraComponent");
    EXPECT_EQ(player.getComponent<CameraComponent>()->lock(), component);
}
} // namespace
