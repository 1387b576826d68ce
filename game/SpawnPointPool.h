#pragma once

#include "game/SpawnPoint.h"

#include <cstddef>
#include <deque>
#include <optional>

// The spawn points the players share, handed out in turn: taking one moves it from the front to
// the back, so two players respawning together always get the same two points in the same order.
class SpawnPointPool {
public:
    void add(const SpawnPoint& point);
    // The front point, now also at the back; nullopt when the pool is empty.
    std::optional<SpawnPoint> next();

    std::size_t size() const { return points.size(); }
    const SpawnPoint& peek() const { return points.front(); }

private:
    std::deque<SpawnPoint> points;
};
