#include "engine/physics/sweeps/SweptDynamicsWorld.h"

#include "engine/physics/sweeps/ContinuousSweeps.h"

void SweptDynamicsWorld::solveConstraints(btContactSolverInfo& solverInfo) {
    sweeps.sortContacts(*getDispatcher());
    btDiscreteDynamicsWorld::solveConstraints(solverInfo);
}
