#include "engine/physics/level/TriangleFacts.h"

#include "engine/physics/level/CookedTriangleMesh.h"
#include "tests/engine/physics/LevelProbe.h"
#include "tests/engine/physics/TestLevels.h"

#include <algorithm>
#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>
#include <gtest/gtest.h>

// Which triangles of a level are met from one side or both, which are hidden against another solid,
// and which of their edges are real edges of the level, also where meshes meet.
namespace {
using Facts = std::vector<std::vector<TriangleFacts>>;

// The triangle's normal by the turn of its corners, unit.
glm::vec3 normalOf(const CookedTriangleMesh& mesh, std::size_t t) {
    const glm::uvec3 corners = mesh.getTriangles()[t];
    const glm::vec3 a = mesh.getPositions()[corners.x];
    return glm::normalize(glm::cross(mesh.getPositions()[corners.y] - a, mesh.getPositions()[corners.z] - a));
}

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
            if (glm::dot(normalOf(mesh, t), normal) > 0.999f) {
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

// Every third or every second triangle turned the other way round.
LevelMesh turnedOver(LevelMesh mesh, int every) {
    for (std::size_t t = 0; t < mesh.triangles.size(); t += static_cast<std::size_t>(every)) {
        std::swap(mesh.triangles[t].y, mesh.triangles[t].z);
    }
    return mesh;
}

// The pieces as one mesh, as a modelling tool exports a group of boxes.
LevelMesh oneMesh(const std::vector<LevelMesh>& pieces) {
    LevelMesh mesh;
    for (const LevelMesh& piece : pieces) {
        const glm::uvec3 offset(static_cast<unsigned>(mesh.positions.size()));
        mesh.positions.insert(mesh.positions.end(), piece.positions.begin(), piece.positions.end());
        for (const glm::uvec3& triangle : piece.triangles) {
            mesh.triangles.push_back(triangle + offset);
        }
    }
    return mesh;
}

// A solid's faces must push out of it: one exported inside out, or with faces turned here and there,
// would hold bodies inside it and let those outside through. Each face that is not covered must look
// out of the solid: a millimetre in front of it lies outside, a millimetre behind it inside. Where
// boxes of one mesh meet edge to edge (slabs side by side, a stair), the winding of one face says
// nothing of the next across that edge; and a wedge as thin as a gentle ramp is still a solid.
TEST(TriangleFacts, AClosedSolidIsWoundOutwardWhicheverWayItCameWound) {
    const LevelMesh box = boxMesh(glm::vec3(2.0f, 0.0f, 0.0f), glm::vec3(3.0f, 1.0f, 1.0f));
    const LevelMesh slabs = oneMesh({boxMesh(glm::vec3(0.0f, -1.0f, -2.0f), glm::vec3(4.0f, 0.0f, 2.0f)),
                                     boxMesh(glm::vec3(-4.0f, -1.0f, -2.0f), glm::vec3(0.0f, 0.0f, 2.0f))});
    const LevelMesh stair = oneMesh({boxMesh(glm::vec3(0.0f), glm::vec3(1.0f, 0.6f, 2.0f)),
                                     boxMesh(glm::vec3(1.0f, 0.0f, 0.0f), glm::vec3(2.0f, 0.3f, 2.0f))});
    const struct {
        const char* name;
        LevelMesh mesh;
    } solids[] = {
        {"a box", box},
        {"a box, every second face turned", turnedOver(box, 2)},
        {"a box, every third face turned", turnedOver(box, 3)},
        {"a box inside out", windingReversed({box}).front()},
        {"slabs in one mesh", slabs},
        {"slabs in one mesh, inside out", windingReversed({slabs}).front()},
        {"a stair in one mesh, inside out", windingReversed({stair}).front()},
        {"a wedge rising 1 in 20", rampMesh(0.0f, 4.0f, 2.86f, 1.0f)},
        {"a wedge rising 1 in 20, inside out", windingReversed({rampMesh(0.0f, 4.0f, 2.86f, 1.0f)}).front()},
    };
    for (const auto& solid : solids) {
        const Level level({solid.mesh});
        const LevelProbe probe({solid.mesh});
        const CookedTriangleMesh& mesh = *level.meshes[0];
        for (std::size_t t = 0; t < mesh.getTriangles().size(); ++t) {
            EXPECT_FALSE(level.facts[0][t].twoSided) << solid.name << ", triangle " << t;
            if (level.facts[0][t].inner || level.facts[0][t].coverCount > 0) {
                continue; // in part or whole against the other box: in front of it is inside that box
            }
            const glm::vec3 normal = normalOf(mesh, t);
            const glm::uvec3 corners = mesh.getTriangles()[t];
            const glm::vec3 centre = (mesh.getPositions()[corners.x] + mesh.getPositions()[corners.y] +
                                      mesh.getPositions()[corners.z]) / 3.0f;
            EXPECT_EQ(probe.depth(centre + 0.001f * normal), 0.0f) << solid.name << ", triangle " << t << " looks in";
            EXPECT_GT(probe.depth(centre - 0.001f * normal), 0.0f) << solid.name << ", triangle " << t << " looks in";
        }
    }
}

// Inside an open sheet every triangle's edges are joined, so a test by edges alone takes it for a
// solid and meets it from one side only; and faces laid back to back join each other at every edge.
TEST(TriangleFacts, OpenSheetsAndFacesBackToBackAreMetFromBothSides) {
    const LevelMesh backToBack = backToBackMesh(glm::vec3(0.0f), glm::vec3(0.0f, 2.0f, 0.0f), glm::vec3(0.0f, 0.0f, 2.0f));
    for (const LevelMesh& sheet : {gridMesh(4, 1.0f), windingReversed({gridMesh(4, 1.0f)}).front(), backToBack}) {
        const Level level({sheet});
        for (const TriangleFacts& facts : level.facts[0]) {
            EXPECT_TRUE(facts.twoSided);
            EXPECT_FALSE(facts.inner);
        }
    }
    const Level wall({backToBack});
    EXPECT_EQ(wall.realEdges(0, east) + wall.realEdges(0, west), 8) << "the rim of each face, not the diagonals";
    const Level floor({gridMesh(4, 1.0f)});
    EXPECT_EQ(floor.realEdges(0, up), 16) << "the rim only: seams inside a flat sheet are no edges";
}

// Two sheets of two meshes lying flat side by side, wound opposite ways: where they meet is a seam
// of one flat floor, from above and from below. Judged by the winding alone, the two would turn
// through half a turn there, an edge for a disc to catch on.
TEST(TriangleFacts, SheetsOfTwoMeshesWoundApartMeetAtASeam) {
    const Level level({sheetMesh(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, 2.0f), glm::vec3(2.0f, 0.0f, 0.0f)),
                       sheetMesh(glm::vec3(2.0f, 0.0f, 0.0f), glm::vec3(2.0f, 0.0f, 0.0f), glm::vec3(0.0f, 0.0f, 2.0f))});
    for (std::size_t part = 0; part < 2; ++part) {
        const CookedTriangleMesh& mesh = *level.meshes[part];
        for (std::size_t t = 0; t < mesh.getTriangles().size(); ++t) {
            const TriangleFacts& facts = level.facts[part][t];
            for (int j = 0; j < 3; ++j) {
                const glm::vec3 a = mesh.getPositions()[mesh.getTriangles()[t][j]];
                const glm::vec3 b = mesh.getPositions()[mesh.getTriangles()[t][(j + 1) % 3]];
                const bool onTheSeam = a.x == 2.0f && b.x == 2.0f;
                EXPECT_FALSE(onTheSeam && ((facts.edges | facts.backEdges) >> j & 1)) << "mesh " << part << ", triangle " << t;
            }
        }
    }
}

// A sheet folded along x: from above the fold is a ridge a body slides over the top of, from below
// a valley whose floor must not snag it.
TEST(TriangleFacts, AFoldInASheetIsARidgeFromOneSideAndNoEdgeFromTheOther) {
    LevelMesh tent;
    tent.positions = {{0.0f, 0.0f, -1.0f}, {2.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f},
                      {2.0f, 1.0f, 0.0f},  {0.0f, 0.0f, 1.0f},  {2.0f, 0.0f, 1.0f}};
    tent.triangles = {{0, 2, 3}, {0, 3, 1}, {2, 4, 5}, {2, 5, 3}};
    const Level level({tent});
    const auto ridge = [&](const TriangleFacts& facts, std::uint8_t bits) {
        const glm::uvec3 corners = level.meshes[0]->getTriangles()[&facts - level.facts[0].data()];
        int found = 0;
        for (int j = 0; j < 3; ++j) {
            const float height = level.meshes[0]->getPositions()[corners[j]].y +
                                 level.meshes[0]->getPositions()[corners[(j + 1) % 3]].y;
            found += height == 2.0f && (bits >> j & 1);
        }
        return found;
    };
    int fromAbove = 0;
    int fromBelow = 0;
    for (const TriangleFacts& facts : level.facts[0]) {
        ASSERT_TRUE(facts.twoSided);
        fromAbove += ridge(facts, facts.edges);
        fromBelow += ridge(facts, facts.backEdges);
    }
    EXPECT_EQ(fromAbove, 2) << "the ridge is an edge of both its faces seen from above";
    EXPECT_EQ(fromBelow, 0) << "a valley's floor is no edge";
}
} // namespace
