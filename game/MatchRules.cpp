#include "game/MatchRules.h"

#include "engine/Engine.h"
#include "engine/Logging.h"
#include "engine/input/InputManager.h"
#include "engine/physics/DynamicRigidBodyComponent.h"
#include "engine/physics/RigidBody.h"
#include "game/PlayerComponent.h"
#include "game/PooledSpawnpointComponent.h"
#include "graphics/render/RenderContext.h"

#include <GL/glew.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <algorithm>
#include <glm/geometric.hpp>

namespace {
constexpr std::size_t playerCount = 2;

void dropGatheredMovement(InputManager& input) {
    RawMouseHandler& mice = *input.rawMouseHandler;
    for (std::uint64_t j = 0; j < mice.mice.size(); ++j) {
        if (!mice.isInvalidMouseIndex(j)) {
            mice.mice[j]->takeMovement();
        }
    }
}

void toggleMouseAssignment(MatchState& match, Engine& engine) {
    if (match.configuringMice) {
        match.configuringMice = false;
        const std::size_t assigned = std::min(match.assignedMice.size(), playerCount);
        for (std::size_t j = 0; j < assigned; ++j) {
            engine.controls[j].mouse = match.assignedMice[j];
        }
        getGeneralLogger()->info("Reconfigured mice");
    } else {
        match.configuringMice = true;
        match.assignedMice.clear();
        getGeneralLogger()->info("Reconfiguring mice...");
    }
}

void closeWindow(Window& window) {
    if (GLFWwindow* handle = window.getHandle()) {
        glfwSetWindowShouldClose(handle, GLFW_TRUE);
    }
}

void toggleWireframe(RenderContext& renderContext) {
    renderContext.setWireframe(!renderContext.isWireframe());
    glPolygonMode(GL_FRONT_AND_BACK, renderContext.isWireframe() ? GL_LINE : GL_FILL);
}

void toggleCulling() {
    GLboolean culling = GL_FALSE;
    glGetBooleanv(GL_CULL_FACE, &culling);
    if (culling == GL_TRUE) {
        glDisable(GL_CULL_FACE);
    } else {
        glEnable(GL_CULL_FACE);
    }
}

// What the touching object's body says about the hit. A body already taken out of the world
// (its frisbee destroyed by a hit on the other player in this same step) is spent: it counts no
// more. An object without a body counts without a speed test.
enum class Impact { NoBody, Spent, Fast, Slow };

Impact impactOf(GameObject& other) {
    const auto body = other.getComponent<DynamicRigidBodyComponent>();
    if (!body) {
        return Impact::NoBody;
    }
    const std::shared_ptr<DynamicRigidBodyComponent> component = body->lock();
    if (component->actor == nullptr) {
        return Impact::Spent;
    }
    const float speed = glm::length(component->actor->getLinearVelocity());
    if (speed < minimumHitSpeed) {
        getGeneralLogger()->debug("Ignoring frisbee hit, linVelMag was {}", speed);
        return Impact::Slow;
    }
    getGeneralLogger()->debug("frisbee hit with speed {}", speed);
    return Impact::Fast;
}
} // namespace

void onMatchKey(MatchState& match, InputManager& input, Engine& engine, int key, int, int action,
                int) {
    if (action != GLFW_PRESS) {
        return;
    }
    if (key == GLFW_KEY_ENTER) {
        match.waitingForEnter = false;
        // Movement gathered during the wait would turn the cameras at the first frame.
        dropGatheredMovement(input);
    } else if (key == GLFW_KEY_M) {
        toggleMouseAssignment(match, engine);
    }
    if (key == engine.exitKey) {
        closeWindow(*engine.window);
    }
    if (key == engine.wireframeKey) {
        toggleWireframe(*engine.renderContext);
    }
    if (key == engine.cullFaceKey) {
        toggleCulling();
    }
}

void onMouseAssignButton(MatchState& match, InputManager& input, std::uint64_t mouseIndex,
                         MouseButton button, bool released) {
    if (!released || !match.configuringMice || button != MouseButton::Left) {
        return;
    }
    std::vector<std::uint64_t>& assigned = match.assignedMice;
    if (std::find(assigned.begin(), assigned.end(), mouseIndex) != assigned.end()) {
        return;
    }
    RawMouseHandler& mice = *input.rawMouseHandler;
    const std::optional<std::string> name = mice.getMouseName(mouseIndex);
    const std::string& label = name ? *name : mice.mice[mouseIndex]->name;
    if (assigned.size() == playerCount) {
        getGeneralLogger()->info("Both players have a mouse; not taking '{}' (M finishes)", label);
        return;
    }
    assigned.push_back(mouseIndex);
    getGeneralLogger()->info("Configured player {}'s mouse as '{}'", assigned.size(), label);
}

void onFrisbeeHit(GameObject* player, GameObject* other) {
    getGeneralLogger()->debug("Other {}, this {}", other->creatorId.toString(), player->id.toString());
    if (other->creatorId == player->id) {
        return;
    }
    const Impact impact = impactOf(*other);
    if (impact == Impact::Slow || impact == Impact::Spent) {
        return;
    }
    const auto hit = player->getComponent<PlayerComponent>();
    if (!hit) {
        return;
    }
    hit->lock()->lives -= 1;
    if (other->parent) {
        (*other->parent)->destroyChild(other);
    }
}

std::optional<std::size_t> findLoser(const PlayerRefs& players) {
    for (std::size_t i = 0; i < players.size(); ++i) {
        const std::shared_ptr<PlayerComponent> player = players[i].lock();
        if (player && player->lives <= 0) {
            return i;
        }
    }
    return std::nullopt;
}

void resetMatch(MatchState& match, const PlayerRefs& players) {
    for (const std::weak_ptr<PlayerComponent>& reference : players) {
        const std::shared_ptr<PlayerComponent> player = reference.lock();
        if (!player) {
            continue;
        }
        player->lives = livesPerMatch;
        if (const auto spawn = player->getOwner()->getComponent<PooledSpawnpointComponent>()) {
            spawn->lock()->respawnPending = true;
        }
    }
    match.waitingForEnter = true;
}
