#pragma once

#include <gtest/gtest.h>

struct GLFWwindow;

// A hidden 4.3 core-profile window, current for the whole test run, with GLEW loaded.
class GlTestContext : public testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

    static GLFWwindow* window();
    // Reads the RGBA pixels of a rectangle of the bound read framebuffer, rows bottom first.
    static std::vector<unsigned char> readPixels(int x, int y, int width, int height);
};
