#pragma once

#include "engine/physics/level/LevelFaces.h"

#include <cstdint>
#include <memory>
#include <vector>

class CookedTriangleMesh;

// The closed solids of the level. Faces of one mesh that meet edge to edge make a surface; a surface
// with no open edge encloses a solid, met from outside only, and any other surface is an open sheet,
// met from both sides. Faces laid back to back enclose nothing, so they join no surface across the
// edges where they fold onto each other: a wall of two such faces is a sheet, however they are wound.
inline constexpr std::uint32_t noSolid = 0xFFFFFFFFu;

// Winds every surface alike from face to face, and every solid outward: the faces, and the meshes'
// triangles, that were wound the other way are turned over, and the meetings follow them. A model
// exported inside out, or with some faces turned, collides as if it had been wound with care. Where
// more than two faces of a surface meet at an edge (boxes of one mesh laid against each other), the
// model's winding is kept face by face and only turned over whole when the solid it makes is inward.
// Returns the solid of each face, or noSolid for a face of a sheet.
std::vector<std::uint32_t> orientSolids(std::vector<Face>& faces, Meetings& meetings,
                                        std::vector<std::unique_ptr<CookedTriangleMesh>>& meshes);
