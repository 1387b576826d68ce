#include "engine/physics/TriangleFacts.h"

#include "engine/physics/CookedTriangleMesh.h"
#include "tests/engine/physics/TestLevels.h"

#include <algorithm>
#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>
#include <gtest/gtest.h>

// Which triangles of a level are met from one side or both, which are hidden against another solid,
// and which of their edges are real edges of the level, also where meshes meet.
namespace {
using Facts = std::vector<std::vector<TriangleFacts>>;

struct Level {
    explicit Level(const std::vector<LevelMesh>& pieces) {
        for (const LevelMesh& piece : pieces) {
            meshes.push_back(CookedTriangleMesh::cook(piece));
        }
        facts = findTriangleFacts(meshes).triangles;
    }

    // The triangles of a mesh whose normal is this one.
    std::vector<std::size_t> facing(std::size_t part, const glm::vec3& normal) const {
        std::vector<std::size_t> found;
        const CookedTriangleMesh& mesh = *meshes[part];
        for (std::size_t t = 0; t < mesh.getTriangles().size(); ++t) {
            const glm::uvec3 corners = mesh.getTriangles()[t];
            const glm::vec3 a = mesh.getPositions()[corners.x];
            const glm::vec3 turn = glm::cross(mesh.getPositions()[corners.y] - a, mesh.getPositions()[corners.z] - a);
            if (glm::dot(glm::normalize(turn), normal) > 0.999f) {
                found.push_back(t);
            }
        }
        return found;
    }

    // How many edges of the triangles facing that way are real edges of the level.
    int realEdges(std::size_t part, const glm::vec3& normal) const {
        int count = 0;
        for (const std::size_t t : facing(part, normal)) {
            for (int j = 0; j < 3; ++j) {
                count += facts[part][t].edges >> j & 1;
            }
        }
        return count;
    }

    bool inner(std::size_t part, const glm::vec3& normal) const {
        const std::vector<std::size_t> triangles = facing(part, normal);
        return !triangles.empty() &&
               std::all_of(triangles.begin(), triangles.end(), [&](std::size_t t) { return facts[part][t].inner; });
    }

    std::vector<std::unique_ptr<CookedTriangleMesh>> meshes;
    Facts facts;
};

const glm::vec3 up(0.0f, 1.0f, 0.0f);
const glm::vec3 east(1.0f, 0.0f, 0.0f);
const glm::vec3 west(-1.0f, 0.0f, 0.0f);

TEST(TriangleFacts, ABoxIsASolidWhoseFacesMeetAtRealEdgesOnly) {
    const Level level({boxMesh(glm::vec3(0.0f), glm::vec3(1.0f))});
    for (const TriangleFacts& facts : level.facts[0]) {
        EXPECT_FALSE(facts.twoSided);
        EXPECT_FALSE(facts.inner);
    }
    // The top's two triangles: its four sides are edges, its diagonal is a seam.
    EXPECT_EQ(level.realEdges(0, up), 4);
}

TEST(TriangleFacts, ASheetIsMetFromBothSidesAndItsRimIsAnEdge) {
    const Level level({sheetMesh(glm::vec3(0.0f), glm::vec3(2.0f, 0.0f, 0.0f), glm::vec3(0.0f, 0.0f, 2.0f))});
    for (const TriangleFacts& facts : level.facts[0]) {
        EXPECT_TRUE(facts.twoSided);
    }
    EXPECT_EQ(level.realEdges(0, -up), 4);
}

// Two floor slabs laid side by side as two meshes: the faces where they touch are inside the floor,
// and the line where their tops meet is a seam of one flat floor.
TEST(TriangleFacts, SlabsLaidSideBySideMakeOneFloor) {
    const Level level({boxMesh(glm::vec3(-4.0f, -1.0f, -2.0f), glm::vec3(0.0f, 0.0f, 2.0f)),
                       boxMesh(glm::vec3(0.0f, -1.0f, -2.0f), glm::vec3(4.0f, 0.0f, 2.0f))});
    EXPECT_TRUE(level.inner(0, east));
    EXPECT_TRUE(level.inner(1, west));
    EXPECT_FALSE(level.inner(0, up));
    EXPECT_EQ(level.realEdges(0, up), 3) << "the top's side along the other slab is a seam";
    EXPECT_EQ(level.realEdges(1, up), 3);
}

// A 30 degree ramp laid against a platform 2 m high and wider than it: the ramp's back is hidden,
// the platform's side is not (most of it shows). Where the slope meets the platform's top it turns
// by 30 degrees: a real edge, met as the crest between the two, not as the platform's side.
TEST(TriangleFacts, ARampAgainstAPlatformMeetsItsTopAtACrest) {
    const float slant = glm::radians(30.0f);
    const float length = 2.0f / std::tan(slant);
    const Level level({rampMesh(-length, length, 30.0f, 1.0f),
                       boxMesh(glm::vec3(0.0f, 0.0f, -3.0f), glm::vec3(4.0f, 2.0f, 3.0f))});
    EXPECT_TRUE(level.inner(0, east));
    EXPECT_FALSE(level.inner(1, west));
    const glm::vec3 slope(-std::sin(slant), std::cos(slant), 0.0f);
    ASSERT_FALSE(level.facing(0, slope).empty());
    EXPECT_EQ(level.realEdges(0, slope), 4) << "the slope's foot, its sides and its crest";
}
} // namespace
