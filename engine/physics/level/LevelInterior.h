#pragma once

#include "engine/physics/level/TriangleFacts.h"

#include <glm/vec3.hpp>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class CookedTriangleMesh;

// The shortest way out of the level for a point inside one of its closed solids: from the point to
// the nearest point of one of the solid's faces, taking only faces whose nearest point lies open (not
// covered by another solid laid against it: a face covered there is passed over whole, though the
// way out through its open part may be a little shorter than the one taken). None for a point
// outside every solid. Inside is told by how often a ray from the point
// crosses the solid's faces, so it holds for any closed mesh, also one whose faces are not convex.
// A look over the faces of each solid whose bounds hold the point: for a body just put somewhere,
// not for every body every step. barred: unit directions found barred (by a player standing against
// the wall, say); a place within 60 degrees of one is passed over for the next nearest.
std::optional<glm::vec3> wayOut(const std::vector<std::unique_ptr<CookedTriangleMesh>>& meshes, const LevelFacts& facts,
                                const glm::vec3& point, std::span<const glm::vec3> barred);
