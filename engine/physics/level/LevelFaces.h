#pragma once

#include <cstddef>
#include <glm/vec3.hpp>
#include <memory>
#include <vector>

class CookedTriangleMesh;

// The level's triangles as plain faces, and where they meet, found once when the level is built:
// which faces share a stretch of an edge, also across meshes, and which lie on one another.
struct Face {
    glm::vec3 corners[3]{};
    glm::vec3 normal{0.0f}; // unit, by the turn of the corners
    glm::vec3 low{0.0f};    // the bounds, widened by the weld
    glm::vec3 high{0.0f};
    int part = 0; // the mesh, and the triangle in it
    std::size_t index = 0;

    // Turns the face over: corners 1 and 2 change places, so edge j becomes edge 2 - j.
    void reverse();
};

// Edge `edge` of face `face` runs along edge `otherEdge` of face `other`.
struct Neighbour {
    std::size_t face;
    int edge;
    std::size_t other;
    int otherEdge;
};

struct Meetings {
    // Each meeting twice, once from either face.
    std::vector<Neighbour> neighbours;
    // Faces on one plane, either way round, whose bounds meet: each pair once.
    std::vector<std::pair<std::size_t, std::size_t>> coplanar;
};

glm::vec3 centreOf(const Face& face);
std::vector<Face> facesOf(const std::vector<std::unique_ptr<CookedTriangleMesh>>& meshes);
Meetings meetingsOf(const std::vector<Face>& faces);

// Whether the other face, across edge j of face, lies back on it (on its plane, on its side of the
// edge): a fold of half a turn, such as two faces laid back to back, which encloses nothing.
bool foldsBack(const Face& face, int j, const Face& other);
