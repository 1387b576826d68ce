#pragma once

#include <cmath>
#include <glm/fwd.hpp>

// Every component a finite number: what the world accepts as a position, a velocity or a move. A
// NaN or an infinity let into the simulation spreads to every body it touches.
template <glm::length_t N, typename T, glm::qualifier Q>
bool isFinite(const glm::vec<N, T, Q>& v) {
    for (glm::length_t i = 0; i < N; ++i) {
        if (!std::isfinite(v[i])) {
            return false;
        }
    }
    return true;
}
