#pragma once

#include "engine/physics/RigidBody.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One step of the world as one JSON line for the debugger:
// {"step":N,"bodies":[{"id":I,"type":"dynamic","group":G,"pose":[qx,qy,qz,qw,px,py,pz],
//  "shapes":["box",...]},...],"contacts":[[I,J],...]}
// ids are the bodies' ids, group their filter word, contacts every pair with contact points.
// The text buffer is reused, so a steady stream allocates nothing.
class DebugFrame {
public:
    const std::string& write(std::uint64_t step, const std::vector<std::unique_ptr<RigidBody>>& bodies,
                             const std::vector<BodyPair>& contacts);

private:
    void writeBody(const RigidBody& body);

    std::string line;
};
