#pragma once

#include <btBulletCollisionCommon.h>

// Where two shapes touch, friction and restitution are the averages of the two shapes' materials
// (the library would multiply them: a dead floor would stop every bounce). Installed as the
// library's contact-added hook, which runs for every new contact point of a body that asks for it
// (every body of ours does).
void installContactMaterials();
