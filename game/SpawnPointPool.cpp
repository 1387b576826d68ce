#include "game/SpawnPointPool.h"

void SpawnPointPool::add(const SpawnPoint& point) { points.push_back(point); }

std::optional<SpawnPoint> SpawnPointPool::next() {
    if (points.empty()) {
        return std::nullopt;
    }
    const SpawnPoint point = points.front();
    points.pop_front();
    points.push_back(point);
    return point;
}
