#include "engine/physics/SweptDynamicsWorld.h"

#include "engine/physics/ContinuousSweeps.h"

void SweptDynamicsWorld::solveConstraints(btContactSolverInfo& solverInfo) {
    sweeps.sortContacts(*getDispatcher());
    btDiscreteDynamicsWorld::solveConstraints(solverInfo);
}
