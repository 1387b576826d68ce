#pragma once

#include "engine/physics/level/LevelMesh.h"

#include <glm/vec3.hpp>
#include <vector>

// Level pieces that tests build themselves, each one mesh with triangles wound counter-clockwise
// seen from outside; and the game's arena as the physics world takes it.

// A closed axis-aligned box.
LevelMesh boxMesh(const glm::vec3& min, const glm::vec3& max);
// A floor: the top of a box 1 m thick whose top is at height y, reaching half out in x and z.
LevelMesh floorMesh(float half, float y = 0.0f);
// A wedge rising along +x from (x0, 0) at angle degrees over length metres, width 2 * halfWidth in
// z, with a vertical back face.
LevelMesh rampMesh(float x0, float length, float degrees, float halfWidth);
// One two-sided rectangle without thickness: corner, and the two edges from it. Its triangles face
// along edge0 x edge1.
LevelMesh sheetMesh(const glm::vec3& corner, const glm::vec3& edge0, const glm::vec3& edge1);
// An open grid of quads x quads squares, side metres each, centred on the origin at height y: one
// mesh whose triangles share their corners, facing +y, as a terrain floor comes from a modelling tool.
LevelMesh gridMesh(int quads, float side, float y = 0.0f);
// A wall of two faces laid back to back in one mesh, as modelling tools export a thin wall: the
// rectangle of sheetMesh, and the same corners again facing the other way.
LevelMesh backToBackMesh(const glm::vec3& corner, const glm::vec3& edge0, const glm::vec3& edge1);
// The meshes with every triangle wound the other way round, as a model exported inside out.
std::vector<LevelMesh> windingReversed(std::vector<LevelMesh> meshes);
// Where tests meet the arena's surfaces: on the east wall's face (x = 54, facing -x), and on open
// floor (y = 0).
inline const glm::vec3 arenaWallFace(54.0f, 1.5f, -15.0f);
inline const glm::vec3 arenaOpenFloor(-10.0f, 0.0f, 25.0f);
// "assets/models/map_rescaled.dae" imported, one level mesh per mesh with its mesh transform.
std::vector<LevelMesh> arenaLevel();
