#include "engine/physics/PhysicsWorld.h"

#include "tests/engine/physics/TestLevels.h"
#include "tests/support/ChildProcess.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {
constexpr float dt = 1.0f / 60.0f;

float restingHeight(PhysicsWorld& world, const glm::vec3& dropFrom) {
    RigidBody* box = world.createRigidDynamic(Pose(dropFrom), false, nullptr);
    world.attachShape(*box, Geometry::box(glm::vec3(0.5f)), Pose(), nullptr);
    box->updateMassAndInertia(1.0f);
    for (int i = 0; i < 180; ++i) {
        world.step(dt);
    }
    return box->getGlobalPose().position.y;
}

TEST(Level, MeshesAreLevelShapesOfTheLevelMaterial) {
    PhysicsWorld world;
    world.init();
    RigidBody* level = world.addRigidStatic({floorMesh(10.0f), boxMesh(glm::vec3(2.0f), glm::vec3(3.0f))});
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->getType(), BodyType::Static);
    ASSERT_EQ(level->getNbShapes(), 2u);
    const Shape& shape = level->getShape(1);
    EXPECT_EQ(shape.geometry.getType(), GeometryType::TriangleMesh);
    EXPECT_EQ(shape.simulationFilterData, (FilterData{8, 0, 0, 0}));
    EXPECT_TRUE(shape.sceneQueryShape);
    EXPECT_FLOAT_EQ(shape.material.staticFriction, 2.0f);
    EXPECT_FLOAT_EQ(shape.material.restitution, 0.0f);
}

TEST(Level, ModelWithoutMeshesGivesAnEmptyStaticBody) {
    PhysicsWorld world;
    world.init();
    RigidBody* level = world.addRigidStatic({});
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->getNbShapes(), 0u);
    world.step(dt);
}

// A vertical 2 x 2 sheet, scaled to 10 x 10, laid flat by the rotation and lifted to y = 2: a box
// dropped at x = z = 4 lands on it only if all three parts of the transform are applied.
TEST(Level, MeshTransformIsAppliedInFull) {
    PhysicsWorld world;
    world.init();
    LevelMesh sheet = sheetMesh(glm::vec3(-1.0f, -1.0f, 0.0f), glm::vec3(2.0f, 0.0f, 0.0f), glm::vec3(0.0f, 2.0f, 0.0f));
    sheet.transform = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 2.0f, 0.0f)) *
                      glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(1.0f, 0.0f, 0.0f)) *
                      glm::scale(glm::mat4(1.0f), glm::vec3(5.0f, 5.0f, 1.0f));
    world.addRigidStatic({sheet});
    EXPECT_NEAR(restingHeight(world, glm::vec3(4.0f, 4.0f, 4.0f)), 2.5f, 0.03f);
}

TEST(Level, DegenerateTrianglesAreDroppedAndTheRestCollides) {
    PhysicsWorld world;
    world.init();
    LevelMesh floor = floorMesh(10.0f);
    floor.triangles.push_back({0, 0, 1});
    floor.triangles.push_back({0, 1, 1});
    world.addRigidStatic({floor});
    EXPECT_NEAR(restingHeight(world, glm::vec3(0.0f, 2.0f, 0.0f)), 0.5f, 0.03f);
}

// The level's tree names a triangle's mesh in 10 bits when it is compressed, so a level of more
// meshes than that keeps it uncompressed: its last mesh must collide as its first does.
TEST(Level, EveryMeshOfALevelOfMoreThanAThousandCollides) {
    PhysicsWorld world;
    world.init();
    std::vector<LevelMesh> tiles;
    for (int i = 0; i < 1100; ++i) {
        tiles.push_back(boxMesh(glm::vec3(2.0f * i, -1.0f, 0.0f), glm::vec3(2.0f * i + 1.0f, 0.0f, 1.0f)));
    }
    world.addRigidStatic(tiles);
    EXPECT_NEAR(restingHeight(world, glm::vec3(0.5f, 2.0f, 0.5f)), 0.5f, 0.03f);
    EXPECT_NEAR(restingHeight(world, glm::vec3(2.0f * 1099 + 0.5f, 2.0f, 0.5f)), 0.5f, 0.03f);
}

struct RefusedMesh {
    const char* name;
    LevelMesh mesh;
};

std::vector<RefusedMesh> refusedMeshes() {
    LevelMesh twoPoints;
    twoPoints.positions = {glm::vec3(0.0f), glm::vec3(1.0f)};
    twoPoints.triangles = {{0, 1, 1}};
    LevelMesh noTriangles = floorMesh(1.0f);
    noTriangles.triangles.clear();
    LevelMesh outOfRange = floorMesh(1.0f);
    outOfRange.triangles.push_back({0, 1, 8});
    LevelMesh onlyDegenerate = floorMesh(1.0f);
    onlyDegenerate.triangles = {{0, 0, 1}, {2, 2, 2}};
    LevelMesh collinear;
    collinear.positions = {glm::vec3(0.0f), glm::vec3(1.0f, 0.0f, 0.0f), glm::vec3(2.0f, 0.0f, 0.0f)};
    collinear.triangles = {{0, 1, 2}};
    LevelMesh notFinite = floorMesh(1.0f);
    notFinite.positions[3].y = std::nanf("");
    LevelMesh flattened = floorMesh(1.0f);
    flattened.transform = glm::scale(glm::mat4(1.0f), glm::vec3(0.0f));
    return {{"fewer than 3 points", twoPoints},     {"no triangles", noTriangles},
            {"an index out of range", outOfRange},  {"only degenerate triangles", onlyDegenerate},
            {"only collinear triangles", collinear}, {"a position that is not finite", notFinite},
            {"a transform that flattens it", flattened}};
}

TEST(Level, MeshThatMakesNoCollisionMeshEndsTheProcess) {
    for (const RefusedMesh& refused : refusedMeshes()) {
        const ChildResult child = runInChild([&] {
            PhysicsWorld world;
            world.init();
            world.addRigidStatic({floorMesh(5.0f), refused.mesh});
        });
        EXPECT_EQ(child.exitStatus, 1) << refused.name;
        EXPECT_NE(child.standardError.find("Error while adding a rigid static: Failed to cook triangle mesh."),
                  std::string::npos)
            << refused.name;
    }
}
} // namespace
