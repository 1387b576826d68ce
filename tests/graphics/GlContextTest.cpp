#include "tests/support/GlTestContext.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

namespace {
TEST(GlContext, IsACoreProfileOfAtLeastFourThree) {
    GLint major = 0, minor = 0, profile = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    EXPECT_GE(major * 10 + minor, 43);
    EXPECT_TRUE(profile & GL_CONTEXT_CORE_PROFILE_BIT);
}

TEST(GlContext, ClearsAndReadsBack) {
    glClearColor(1.0f, 0.5f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const auto pixel = GlTestContext::readPixels(10, 10, 1, 1);
    EXPECT_NEAR(pixel[0], 255, 1);
    EXPECT_NEAR(pixel[1], 128, 1);
    EXPECT_NEAR(pixel[2], 0, 1);
}
} // namespace
