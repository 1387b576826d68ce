#include "game/SpawnPointPool.h"

void SpawnPointPool::add(const SpawnPoint& point) { points.push_back(point); }

std::optional<SpawnPoint> SpawnPointPool::next() {
    if (points.empty()) {
        return std::nullopt;
    }
    const SpawnPoint point = points.front();
    // Rotated in place: no allocation once the deque has its block.
    points.pop_front();
    points.push_back(point);
    return point;
}
