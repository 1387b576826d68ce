#include "graphics/model/StaticRigidBodyComponent.h"

#include "engine/Engine.h"
#include "engine/physics/DynamicRigidBodyComponent.h"
#include "graphics/model/Model.h"
#include "graphics/render/ModelComponent.h"
#include "tests/support/LogCapture.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {
// A 2 × 2 floor quad facing up, centred on its node.
ModelData floorModel(const glm::mat4& meshTransform) {
    ModelData data;
    SubMesh quad;
    quad.positions = {{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}};
    quad.normals.assign(4, glm::vec3(0, 1, 0));
    quad.triangles = {{0, 2, 1}, {0, 3, 2}};
    data.subMeshes.push_back(std::move(quad));
    data.meshTransforms = {meshTransform};
    data.materialIndices = {0};
    return data;
}

TEST(StaticRigidBodyComponent, WithoutAModelItSwitchesItselfOff) {
    GameObject root("Root");
    GameObject& map = *root.addChild("Map").lock();
    auto component = map.addComponent<StaticRigidBodyComponent>().lock();
    LogCapture capture;
    root.update();
    EXPECT_EQ(capture.count("StaticRigidBodyComponent requires the GameObject to have a model."), 1u);
    EXPECT_FALSE(component->isActive());
}

// The floor's mesh is scaled by 10 and raised by 3 within the model, and the model sits on a child
// of the object that carries the static body: a box must land on the floor as drawn.
TEST(StaticRigidBodyComponent, TheLevelIsWhereTheModelIsDrawn) {
    const glm::vec3 site(-2000.0f, 0.0f, 0.0f);
    const glm::mat4 meshTransform =
        glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 3.0f, 0.0f)), glm::vec3(10.0f));
    Model model(floorModel(meshTransform));
    GameObject root("Root");
    GameObject& map = *root.addChild("Map").lock();
    auto drawn = map.addChild("Drawn").lock();
    drawn->position = site;
    drawn->addComponent<ModelComponent>(&model);
    map.addComponent<StaticRigidBodyComponent>();

    GameObject& crate = *root.addChild("Crate").lock();
    crate.position = site + glm::vec3(8.0f, 6.0f, 0.0f); // over the scaled floor, off the unscaled one
    auto body = crate.addComponent<DynamicRigidBodyComponent>(1.0f, glm::vec3(0.0f), false).lock();
    body->addShape(Geometry::box(glm::vec3(0.5f)), Pose());
    root.update();
    for (int i = 0; i < 180; ++i) {
        gEngine->physics.step(gEngine->fixedDeltaTime);
        root.fixedUpdate();
    }
    EXPECT_NEAR(crate.position.y, 3.5f, 0.05f) << "resting on the floor 3 up";
}
} // namespace
