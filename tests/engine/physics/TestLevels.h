#pragma once

#include "engine/physics/LevelMesh.h"

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
// One two-sided rectangle without thickness: corner, and the two edges from it.
LevelMesh sheetMesh(const glm::vec3& corner, const glm::vec3& edge0, const glm::vec3& edge1);
// An open sheet at height 0 reaching from -size / 2 to size / 2 in x and z (to the nearest whole
// cell), in square cells of `cell` metres, two triangles each.
LevelMesh gridMesh(float size, float cell);
// "assets/models/map_rescaled.dae" imported, one level mesh per mesh with its mesh transform.
std::vector<LevelMesh> arenaLevel();
