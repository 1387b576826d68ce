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
// Where tests meet the arena's surfaces: on the east wall's face (x = 54, facing -x), and on open
// floor (y = 0).
inline const glm::vec3 arenaWallFace(54.0f, 1.5f, -15.0f);
inline const glm::vec3 arenaOpenFloor(-10.0f, 0.0f, 25.0f);
// "assets/models/map_rescaled.dae" imported, one level mesh per mesh with its mesh transform.
std::vector<LevelMesh> arenaLevel();
