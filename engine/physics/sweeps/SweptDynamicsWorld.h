#pragma once

#include <btBulletDynamicsCommon.h>

class ContinuousSweeps;

// The library's world with one step of ours between finding a step's contacts and solving them:
// the pairs that the continuous sweeps take (two discs meeting fast) leave the solver first.
class SweptDynamicsWorld : public btDiscreteDynamicsWorld {
public:
    SweptDynamicsWorld(btDispatcher* dispatcher, btBroadphaseInterface* broadphase, btConstraintSolver* solver,
                       btCollisionConfiguration* configuration, ContinuousSweeps& sweeps)
        : btDiscreteDynamicsWorld(dispatcher, broadphase, solver, configuration), sweeps(sweeps) {}

    void solveConstraints(btContactSolverInfo& solverInfo) override;

private:
    ContinuousSweeps& sweeps;
};
