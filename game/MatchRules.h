#pragma once

#include "engine/input/MouseButton.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class Engine;
class GameObject;
class InputManager;
class PlayerComponent;

// What the match's listeners share with the game loop.
struct MatchState {
    // At start and after every game over: the loop only pumps input until ENTER.
    bool waitingForEnter = true;
    // Between the two presses of M: left-button releases pick the players' mice.
    bool configuringMice = false;
    std::vector<std::uint64_t> assignedMice; // mouse indices in click order, each once
};

using PlayerRefs = std::array<std::weak_ptr<PlayerComponent>, 2>;

inline constexpr std::int32_t livesPerMatch = 5;
// m/s: a frisbee slower than this has lost its sting and costs no life.
inline constexpr float minimumHitSpeed = 10.0f;

// The window's key listener: ENTER starts or restarts a match, M starts and ends the mouse
// assignment, and the Engine's exit, wireframe and culling keys. Presses only; repeats and
// releases do nothing.
void onMatchKey(MatchState& match, InputManager& input, Engine& engine, int key, int scancode,
                int action, int mods);
// The mouse-button listener of the assignment: each mouse whose left button is released while
// the assignment runs is taken, once, for the next player without one; the closing M hands them
// out. A third mouse is turned away: there are only two players.
void onMouseAssignButton(MatchState& match, InputManager& input, std::uint64_t mouseIndex,
                         MouseButton button, bool released);
// The hitbox callback of each player: another player's frisbee at 10 m/s or more costs a life and
// is destroyed; the player's own frisbees and slower ones fly on.
void onFrisbeeHit(GameObject* player, GameObject* other);

// The first of the players, in order, with 0 lives or fewer.
std::optional<std::size_t> findLoser(const PlayerRefs& players);
// After a game over: full lives, both players marked to respawn, and the wait for ENTER.
void resetMatch(MatchState& match, const PlayerRefs& players);
