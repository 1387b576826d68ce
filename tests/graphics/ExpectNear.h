#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <gtest/gtest.h>

// Vectors and matrices compared element by element within float rounding; a failure names the
// element, so a transposed or misplaced term shows where it sits.
inline void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-5f) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
    }
}

inline void expectNear(const glm::mat4& actual, const glm::mat4& expected, float tolerance = 1e-5f) {
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            EXPECT_NEAR(actual[column][row], expected[column][row], tolerance)
                << "element (" << column << ", " << row << ")";
        }
    }
}
