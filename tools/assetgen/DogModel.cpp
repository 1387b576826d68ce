// The players' dog: a low-poly shiba, nose along +X, up +Y, +Z its right side, paws on y = -0.63.
// The camera sits at (1.3, 1, 0) in the dog's frame, so nothing may reach past x = 1.2.
#include "tools/assetgen/MeshBuilder.h"
#include "tools/assetgen/Models.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <numbers>

namespace {
enum Joint { Root, Neck, Head, Tail, FrontLeft, FrontRight, BackLeft, BackRight, JointCount };

struct JointRest {
    const char* name;
    int parent;
    glm::vec3 position; // in the model's space, at rest
};

const JointRest joints[JointCount] = {
    {"root", -1, {0.0f, 0.2f, 0.0f}},          {"neck", Root, {0.5f, 0.45f, 0.0f}},
    {"head", Neck, {0.72f, 0.64f, 0.0f}},      {"tail", Root, {-0.55f, 0.36f, 0.0f}},
    {"leg_front_left", Root, {0.37f, 0.05f, -0.15f}}, {"leg_front_right", Root, {0.37f, 0.05f, 0.15f}},
    {"leg_back_left", Root, {-0.4f, 0.05f, -0.15f}},  {"leg_back_right", Root, {-0.4f, 0.05f, 0.15f}},
};

// Swaps x and y, so that a bar built along x stands upright (a mirror: the builder turns each
// face outwards by itself).
const glm::mat4 upright(0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);

// The front and back legs of one side; z is the side's centre line.
void addLegs(MeshBuilder& fur, MeshBuilder& white, float z, Joint front, Joint back) {
    fur.setBone(front);
    fur.setTransform(upright);
    fur.addChamferedBox({-0.5f, 0.29f, z - 0.075f}, {0.12f, 0.45f, z + 0.075f}, 0.035f);
    fur.setTransform(glm::mat4(1.0f));
    white.setBone(front);
    white.addTaperedBox({0.27f, -0.63f, z - 0.09f}, {0.49f, -0.48f, z + 0.09f}, 0.02f, 0.01f);
    fur.setBone(back);
    fur.addTaperedBox({-0.58f, -0.12f, z - 0.1f}, {-0.22f, 0.34f, z + 0.1f}, 0.03f, 0.0f); // haunch
    fur.setTransform(upright);
    fur.addChamferedBox({-0.5f, -0.5f, z - 0.07f}, {-0.05f, -0.34f, z + 0.07f}, 0.035f);
    fur.setTransform(glm::mat4(1.0f));
    white.setBone(back);
    white.addTaperedBox({-0.52f, -0.63f, z - 0.085f}, {-0.3f, -0.48f, z + 0.085f}, 0.02f, 0.01f);
}

// The tail curls up from the rump and forward over the back, as a chain of blocks.
void addTail(MeshBuilder& fur, MeshBuilder& white) {
    const glm::vec2 points[] = {{-0.53f, 0.33f}, {-0.66f, 0.52f}, {-0.64f, 0.72f}, {-0.5f, 0.83f},
                                {-0.36f, 0.77f}};
    const float thickness[] = {0.17f, 0.15f, 0.13f, 0.11f};
    for (int i = 0; i < 4; ++i) {
        const glm::vec2 d = points[i + 1] - points[i];
        const glm::vec2 middle = (points[i] + points[i + 1]) * 0.5f;
        const float length = std::sqrt(d.x * d.x + d.y * d.y) + thickness[i] * 0.5f;
        const glm::mat4 place = glm::rotate(glm::translate(glm::mat4(1.0f), {middle, 0.0f}),
                                            std::atan2(d.y, d.x), {0.0f, 0.0f, 1.0f});
        MeshBuilder& part = i == 3 ? white : fur; // a cream tip
        part.setTransform(place);
        part.setInfluences([](glm::vec3 p) {
            // The root of the tail bends with the rump: blend over its first 0.15 m of height.
            const float t = std::clamp((p.y - 0.3f) / 0.15f, 0.0f, 1.0f);
            return t >= 1.0f ? std::vector<Influence>{{Tail, 1.0f}}
                             : std::vector<Influence>{{Tail, t}, {Root, 1.0f - t}};
        });
        const float h = thickness[i] * 0.5f;
        part.addBox({-length * 0.5f, -h, -h}, {length * 0.5f, h, h});
        part.setTransform(glm::mat4(1.0f));
    }
}

void addHead(MeshBuilder& fur, MeshBuilder& white, MeshBuilder& black) {
    for (MeshBuilder* part : {&fur, &white, &black}) {
        part->setBone(Head);
    }
    fur.addTaperedBox({0.55f, 0.48f, -0.23f}, {0.95f, 0.86f, 0.23f}, 0.04f, 0.03f);
    for (float side : {-1.0f, 1.0f}) { // upright pointed ears, then the cheeks and brow spots
        fur.addPyramid({0.63f, 0.84f, side > 0 ? 0.05f : -0.22f}, {0.8f, 1.0f, side > 0 ? 0.22f : -0.05f});
        white.addBox({0.72f, 0.48f, side > 0 ? 0.14f : -0.245f}, {0.965f, 0.62f, side > 0 ? 0.245f : -0.14f});
        white.addBox({0.905f, 0.8f, side > 0 ? 0.08f : -0.13f}, {0.955f, 0.83f, side > 0 ? 0.13f : -0.08f});
        black.addBox({0.91f, 0.71f, side > 0 ? 0.07f : -0.15f}, {0.965f, 0.78f, side > 0 ? 0.15f : -0.07f});
    }
    white.addTaperedBox({0.93f, 0.5f, -0.13f}, {1.16f, 0.7f, 0.13f}, 0.0f, 0.02f); // muzzle
    black.addBox({1.14f, 0.63f, -0.05f}, {1.19f, 0.71f, 0.05f});                      // nose
}

void addBody(MeshBuilder& fur, MeshBuilder& white, MeshBuilder& collar) {
    fur.setBone(Root);
    fur.addChamferedBox({-0.6f, -0.02f, -0.24f}, {0.45f, 0.43f, 0.24f}, 0.1f);
    white.setBone(Root);
    white.addBox({-0.35f, -0.05f, -0.15f}, {0.3f, 0.05f, 0.15f}); // belly
    // The neck leans forward from the shoulders to the back of the head; the collar and the
    // cream throat sit on it.
    const glm::mat4 neck = glm::rotate(glm::translate(glm::mat4(1.0f), {0.53f, 0.47f, 0.0f}),
                                       48.0f * std::numbers::pi_v<float> / 180.0f, {0.0f, 0.0f, 1.0f});
    for (MeshBuilder* part : {&fur, &white, &collar}) {
        part->setTransform(neck);
        part->setInfluences([](glm::vec3 p) {
            // The neck's lower end follows the body: blend from x = 0.3 to 0.6.
            const float t = std::clamp((p.x - 0.3f) / 0.3f, 0.0f, 1.0f);
            return std::vector<Influence>{{Neck, 0.5f + 0.5f * t}, {Root, 0.5f - 0.5f * t}};
        });
    }
    fur.addChamferedBox({-0.3f, -0.17f, -0.19f}, {0.28f, 0.17f, 0.19f}, 0.06f);
    white.addBox({-0.22f, -0.2f, -0.13f}, {0.2f, -0.1f, 0.13f});
    collar.addBox({-0.02f, -0.185f, -0.2f}, {0.07f, 0.185f, 0.2f});
    for (MeshBuilder* part : {&fur, &white, &collar}) {
        part->setTransform(glm::mat4(1.0f));
    }
}

glm::mat4 localTransform(Joint joint) {
    const JointRest& rest = joints[joint];
    const glm::vec3 parent = rest.parent < 0 ? glm::vec3(0.0f) : joints[rest.parent].position;
    return glm::translate(glm::mat4(1.0f), rest.position - parent);
}

ColladaNode jointNode(Joint joint) {
    ColladaNode node{.name = joints[joint].name, .transform = localTransform(joint), .joint = true};
    for (int child = 0; child < JointCount; ++child) {
        if (joints[child].parent == joint) {
            node.children.push_back(jointNode(static_cast<Joint>(child)));
        }
    }
    return node;
}

// One second: the tail wags left and right twice while the head nods once. The two channels
// have different key counts on purpose.
std::vector<ColladaChannel> wagChannels() {
    const float degree = std::numbers::pi_v<float> / 180.0f;
    ColladaChannel tail{.joint = "tail"}, head{.joint = "head"};
    const float tailAngles[] = {0.0f, 25.0f, 0.0f, -25.0f, 0.0f, 25.0f, 0.0f, -25.0f, 0.0f};
    for (int i = 0; i < 9; ++i) {
        tail.times.push_back(static_cast<float>(i) * 0.125f);
        tail.transforms.push_back(glm::rotate(localTransform(Tail), tailAngles[i] * degree, {0.0f, 1.0f, 0.0f}));
    }
    const float headAngles[] = {0.0f, -8.0f, 0.0f};
    for (int i = 0; i < 3; ++i) {
        head.times.push_back(static_cast<float>(i) * 0.5f);
        head.transforms.push_back(glm::rotate(localTransform(Head), headAngles[i] * degree, {0.0f, 0.0f, 1.0f}));
    }
    return {tail, head};
}
} // namespace

ColladaModel makeDog() {
    MeshBuilder black("ShibaEyes"), collar("ShibaCollar"), fur("ShibaFur"), white("ShibaMarkings");
    addBody(fur, white, collar);
    addHead(fur, white, black);
    addLegs(fur, white, -0.15f, FrontLeft, BackLeft);
    addLegs(fur, white, 0.15f, FrontRight, BackRight);
    addTail(fur, white);

    ColladaModel model;
    model.sceneName = "ShibaScene";
    model.materials = {{"m0_eyes", {0.0f, 0.0f, 0.0f}},
                       {"m1_collar", {0.0f, 0.0f, 0.0f}},
                       {"m2_fur", {0.8f, 0.144529f, 0.021182f}},
                       {"m3_markings", {0.8f, 0.8f, 0.8f}}};
    model.meshes = {std::move(fur).build(), std::move(white).build(), std::move(black).build(),
                    std::move(collar).build()};
    model.root.name = "Shiba";
    model.root.children.push_back(jointNode(Root));
    const int materialOfMesh[] = {2, 3, 0, 1};
    for (int i = 0; i < 4; ++i) {
        model.root.children.push_back({.name = model.meshes[i].name, .mesh = i, .material = materialOfMesh[i]});
    }
    for (int joint = 0; joint < JointCount; ++joint) {
        model.joints.push_back(joints[joint].name);
        model.inverseBindMatrices.push_back(glm::translate(glm::mat4(1.0f), -joints[joint].position));
    }
    model.animationName = "wag";
    model.channels = wagChannels();
    return model;
}
