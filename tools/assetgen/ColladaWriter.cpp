#include "tools/assetgen/ColladaWriter.h"

#include <cmath>
#include <fmt/format.h>
#include <iterator>

namespace {
using Out = std::back_insert_iterator<std::string>;

// Six decimals: a micrometre for positions, far below what a model shows, and few enough digits
// that a last-bit difference between two builds of the generator never reaches the text.
std::string number(float value) {
    double rounded = std::round(static_cast<double>(value) * 1e6) / 1e6;
    if (rounded == 0.0) {
        rounded = 0.0; // no "-0"
    }
    return fmt::format("{}", rounded);
}

std::string matrixText(const glm::mat4& m) {
    std::string text;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            text += (text.empty() ? "" : " ") + number(m[column][row]); // rows first, as the file wants
        }
    }
    return text;
}

void writeFloatSource(Out out, const std::string& id, const std::vector<float>& values, int stride,
                      const std::string& params) {
    fmt::format_to(out, "        <source id=\"{}\">\n          <float_array id=\"{}-array\" count=\"{}\">",
                   id, id, values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        fmt::format_to(out, "{}{}", i == 0 ? "" : " ", number(values[i]));
    }
    fmt::format_to(out,
                   "</float_array>\n          <technique_common>\n            <accessor source=\"#{}-array\" "
                   "count=\"{}\" stride=\"{}\">{}</accessor>\n          </technique_common>\n        </source>\n",
                   id, values.size() / static_cast<std::size_t>(stride), stride, params);
}

void writeNameSource(Out out, const std::string& id, const std::vector<std::string>& names,
                     const std::string& param) {
    fmt::format_to(out, "        <source id=\"{}\">\n          <Name_array id=\"{}-array\" count=\"{}\">", id, id,
                   names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        fmt::format_to(out, "{}{}", i == 0 ? "" : " ", names[i]);
    }
    fmt::format_to(out,
                   "</Name_array>\n          <technique_common>\n            <accessor source=\"#{}-array\" "
                   "count=\"{}\" stride=\"1\"><param name=\"{}\" type=\"name\"/></accessor>\n"
                   "          </technique_common>\n        </source>\n",
                   id, names.size(), param);
}

std::vector<float> flatten(const std::vector<glm::vec3>& points) {
    std::vector<float> values;
    for (glm::vec3 p : points) {
        values.insert(values.end(), {p.x, p.y, p.z});
    }
    return values;
}

std::vector<float> flatten(const std::vector<glm::mat4>& matrices) {
    std::vector<float> values;
    for (const glm::mat4& m : matrices) {
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 4; ++column) {
                values.push_back(m[column][row]);
            }
        }
    }
    return values;
}

const std::string xyz = "<param name=\"X\" type=\"float\"/><param name=\"Y\" type=\"float\"/>"
                        "<param name=\"Z\" type=\"float\"/>";

void writeAsset(Out out) {
    fmt::format_to(out,
                   "  <asset>\n    <contributor><authoring_tool>Vornhalt asset generator</authoring_tool></contributor>\n"
                   "    <created>2026-01-01T00:00:00</created>\n    <modified>2026-01-01T00:00:00</modified>\n"
                   "    <unit name=\"meter\" meter=\"1\"/>\n    <up_axis>Y_UP</up_axis>\n  </asset>\n");
}

void writeMaterials(Out out, const ColladaModel& model) {
    fmt::format_to(out, "  <library_effects>\n");
    for (const ColladaMaterial& m : model.materials) {
        fmt::format_to(out,
                       "    <effect id=\"{}-effect\">\n      <profile_COMMON>\n        <technique sid=\"common\">\n"
                       "          <lambert><diffuse><color sid=\"diffuse\">{} {} {} 1</color></diffuse></lambert>\n"
                       "        </technique>\n      </profile_COMMON>\n    </effect>\n",
                       m.id, number(m.colour.r), number(m.colour.g), number(m.colour.b));
    }
    fmt::format_to(out, "  </library_effects>\n  <library_materials>\n");
    for (const ColladaMaterial& m : model.materials) {
        fmt::format_to(out, "    <material id=\"{0}\" name=\"{0}\"><instance_effect url=\"#{0}-effect\"/></material>\n",
                       m.id);
    }
    fmt::format_to(out, "  </library_materials>\n");
}

void writeGeometry(Out out, const GeneratedMesh& mesh) {
    fmt::format_to(out, "    <geometry id=\"{0}-mesh\" name=\"{0}\">\n      <mesh>\n", mesh.name);
    writeFloatSource(out, mesh.name + "-positions", flatten(mesh.positions), 3, xyz);
    writeFloatSource(out, mesh.name + "-normals", flatten(mesh.normals), 3, xyz);
    fmt::format_to(out,
                   "        <vertices id=\"{0}-vertices\"><input semantic=\"POSITION\" source=\"#{0}-positions\"/></vertices>\n"
                   "        <triangles material=\"surface\" count=\"{1}\">\n"
                   "          <input semantic=\"VERTEX\" source=\"#{0}-vertices\" offset=\"0\"/>\n"
                   "          <input semantic=\"NORMAL\" source=\"#{0}-normals\" offset=\"1\"/>\n          <p>",
                   mesh.name, mesh.triangles.size());
    bool first = true;
    for (const auto& triangle : mesh.triangles) {
        for (unsigned index : triangle) {
            fmt::format_to(out, "{}{} {}", first ? "" : " ", index, index);
            first = false;
        }
    }
    fmt::format_to(out, "</p>\n        </triangles>\n      </mesh>\n    </geometry>\n");
}

void writeSkin(Out out, const ColladaModel& model, const GeneratedMesh& mesh) {
    const std::string id = mesh.name + "-skin";
    fmt::format_to(out, "    <controller id=\"{}\">\n      <skin source=\"#{}-mesh\">\n        <bind_shape_matrix>{}</bind_shape_matrix>\n",
                   id, mesh.name, matrixText(glm::mat4(1.0f)));
    writeNameSource(out, id + "-joints", model.joints, "JOINT");
    writeFloatSource(out, id + "-bind-poses", flatten(model.inverseBindMatrices), 16,
                     "<param name=\"TRANSFORM\" type=\"float4x4\"/>");
    std::vector<float> weights;
    std::string counts, pairs;
    for (const auto& vertex : mesh.influences) {
        counts += (counts.empty() ? "" : " ") + std::to_string(vertex.size());
        for (const Influence& influence : vertex) {
            pairs += fmt::format("{}{} {}", pairs.empty() ? "" : " ", influence.first, weights.size());
            weights.push_back(influence.second);
        }
    }
    writeFloatSource(out, id + "-weights", weights, 1, "<param name=\"WEIGHT\" type=\"float\"/>");
    fmt::format_to(out,
                   "        <joints>\n          <input semantic=\"JOINT\" source=\"#{0}-joints\"/>\n"
                   "          <input semantic=\"INV_BIND_MATRIX\" source=\"#{0}-bind-poses\"/>\n        </joints>\n"
                   "        <vertex_weights count=\"{1}\">\n          <input semantic=\"JOINT\" source=\"#{0}-joints\" offset=\"0\"/>\n"
                   "          <input semantic=\"WEIGHT\" source=\"#{0}-weights\" offset=\"1\"/>\n"
                   "          <vcount>{2}</vcount>\n          <v>{3}</v>\n        </vertex_weights>\n"
                   "      </skin>\n    </controller>\n",
                   id, mesh.influences.size(), counts, pairs);
}

void writeAnimation(Out out, const ColladaModel& model) {
    fmt::format_to(out, "  <library_animations>\n    <animation id=\"{0}\" name=\"{0}\">\n", model.animationName);
    for (const ColladaChannel& channel : model.channels) {
        const std::string id = model.animationName + "-" + channel.joint;
        writeFloatSource(out, id + "-input", channel.times, 1, "<param name=\"TIME\" type=\"float\"/>");
        writeFloatSource(out, id + "-output", flatten(channel.transforms), 16,
                         "<param name=\"TRANSFORM\" type=\"float4x4\"/>");
        writeNameSource(out, id + "-interpolation", std::vector<std::string>(channel.times.size(), "LINEAR"),
                        "INTERPOLATION");
        fmt::format_to(out,
                       "      <sampler id=\"{0}-sampler\">\n        <input semantic=\"INPUT\" source=\"#{0}-input\"/>\n"
                       "        <input semantic=\"OUTPUT\" source=\"#{0}-output\"/>\n"
                       "        <input semantic=\"INTERPOLATION\" source=\"#{0}-interpolation\"/>\n      </sampler>\n"
                       "      <channel source=\"#{0}-sampler\" target=\"{1}/transform\"/>\n",
                       id, channel.joint);
    }
    fmt::format_to(out, "    </animation>\n  </library_animations>\n");
}

void writeNode(Out out, const ColladaModel& model, const ColladaNode& node, int depth) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    fmt::format_to(out, "{0}<node id=\"{1}\" sid=\"{1}\" name=\"{1}\" type=\"{2}\">\n{0}  <matrix sid=\"transform\">{3}</matrix>\n",
                   indent, node.name, node.joint ? "JOINT" : "NODE", matrixText(node.transform));
    if (node.mesh >= 0) {
        const GeneratedMesh& mesh = model.meshes[static_cast<std::size_t>(node.mesh)];
        const std::string binding = fmt::format(
            "{0}    <bind_material><technique_common><instance_material symbol=\"surface\" target=\"#{1}\"/>"
            "</technique_common></bind_material>\n",
            indent, model.materials[static_cast<std::size_t>(node.material)].id);
        if (mesh.influences.empty()) {
            fmt::format_to(out, "{0}  <instance_geometry url=\"#{1}-mesh\">\n{2}{0}  </instance_geometry>\n", indent,
                           mesh.name, binding);
        } else {
            fmt::format_to(out, "{0}  <instance_controller url=\"#{1}-skin\">\n{0}    <skeleton>#{2}</skeleton>\n{3}{0}  </instance_controller>\n",
                           indent, mesh.name, model.joints.front(), binding);
        }
    }
    for (const ColladaNode& child : node.children) {
        writeNode(out, model, child, depth + 1);
    }
    fmt::format_to(out, "{}</node>\n", indent);
}
} // namespace

std::string writeCollada(const ColladaModel& model) {
    std::string text;
    Out out(text);
    fmt::format_to(out, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                        "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n");
    writeAsset(out);
    writeMaterials(out, model);
    fmt::format_to(out, "  <library_geometries>\n");
    for (const GeneratedMesh& mesh : model.meshes) {
        writeGeometry(out, mesh);
    }
    fmt::format_to(out, "  </library_geometries>\n");
    if (!model.joints.empty()) {
        fmt::format_to(out, "  <library_controllers>\n");
        for (const GeneratedMesh& mesh : model.meshes) {
            if (!mesh.influences.empty()) {
                writeSkin(out, model, mesh);
            }
        }
        fmt::format_to(out, "  </library_controllers>\n");
    }
    if (!model.channels.empty()) {
        writeAnimation(out, model);
    }
    fmt::format_to(out, "  <library_visual_scenes>\n    <visual_scene id=\"{0}\" name=\"{0}\">\n", model.sceneName);
    writeNode(out, model, model.root, 3);
    fmt::format_to(out, "    </visual_scene>\n  </library_visual_scenes>\n"
                        "  <scene><instance_visual_scene url=\"#{}\"/></scene>\n</COLLADA>\n",
                   model.sceneName);
    return text;
}
