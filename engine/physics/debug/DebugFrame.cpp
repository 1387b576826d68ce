#include "engine/physics/debug/DebugFrame.h"

#include "engine/physics/RigidBody.h"

#include <cmath>
#include <fmt/format.h>
#include <iterator>

namespace {
const char* typeName(BodyType type) {
    switch (type) {
    case BodyType::Static:
        return "static";
    case BodyType::Dynamic:
        return "dynamic";
    default:
        return "kinematic";
    }
}

const char* geometryName(GeometryType type) {
    switch (type) {
    case GeometryType::Sphere:
        return "sphere";
    case GeometryType::Capsule:
        return "capsule";
    case GeometryType::Box:
        return "box";
    case GeometryType::TriangleMesh:
        return "triangleMesh";
    default:
        return "other";
    }
}

// JSON has no NaN or infinity; a body that blew up shows as null instead of breaking the line.
void writeNumber(std::string& out, float value) {
    if (std::isfinite(value)) {
        fmt::format_to(std::back_inserter(out), "{}", value);
    } else {
        out += "null";
    }
}
} // namespace

const std::string& DebugFrame::write(std::uint64_t step, const std::vector<std::unique_ptr<RigidBody>>& bodies,
                                     const std::vector<BodyPair>& contacts) {
    line.clear();
    fmt::format_to(std::back_inserter(line), "{{\"step\":{},\"bodies\":[", step);
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        writeBody(*bodies[i]);
    }
    line += "],\"contacts\":[";
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        fmt::format_to(std::back_inserter(line), "{}[{},{}]", i > 0 ? "," : "", contacts[i].first->getId(),
                       contacts[i].second->getId());
    }
    line += "]}\n";
    return line;
}

void DebugFrame::writeBody(const RigidBody& body) {
    const Pose pose = body.getGlobalPose();
    fmt::format_to(std::back_inserter(line), "{{\"id\":{},\"type\":\"{}\",\"group\":{},\"pose\":[", body.getId(),
                   typeName(body.getType()), body.getFilterWord());
    const float values[] = {pose.rotation.x, pose.rotation.y, pose.rotation.z, pose.rotation.w,
                            pose.position.x, pose.position.y, pose.position.z};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        if (i > 0) {
            line += ',';
        }
        writeNumber(line, values[i]);
    }
    line += "],\"shapes\":[";
    for (std::size_t i = 0; i < body.getNbShapes(); ++i) {
        fmt::format_to(std::back_inserter(line), "{}\"{}\"", i > 0 ? "," : "",
                       geometryName(body.getShape(i).geometry.getType()));
    }
    line += "]}";
}
