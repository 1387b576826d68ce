#include "graphics/gl/Cubemap.h"
#include "graphics/shaders/UniformArray.h"

#include "tests/graphics/TestPrograms.h"
#include "tests/support/LogCapture.h"

#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

namespace {
const char* const pointVertex = R"(#version 430 core
void main() { gl_Position = vec4(0.0, 0.0, 0.0, 1.0); }
)";

// One uniform of every type the game uploads, all of them active.
const char* const everyTypeFragment = R"(#version 430 core
uniform float f;
uniform bool flag;
uniform vec3 v3;
uniform vec4 v4;
uniform uvec2 u2;
uniform mat4 m;
uniform float kernel[25];
uniform mat4 bones[50];
uniform sampler2D image;
uniform samplerCube sky;
layout(location = 0) out vec4 fragColor;
void main() {
    float sum = f + (flag ? 1.0 : 0.0) + v3.x + v4.x + float(u2.x) + m[0][0];
    for (int i = 0; i < 25; ++i) sum += kernel[i];
    for (int i = 0; i < 50; ++i) sum += bones[i][3][0];
    fragColor = vec4(sum) + texture(image, vec2(0.5)) + texture(sky, vec3(1.0));
}
)";

class UniformUpload : public testing::Test {
protected:
    void SetUp() override { program.use(); }

    GLint location(const char* name) const {
        return glGetUniformLocation(program.getHandle(), name);
    }
    template <std::size_t N>
    std::array<float, N> floats(const char* name) const {
        std::array<float, N> values{};
        glGetUniformfv(program.getHandle(), location(name), values.data());
        return values;
    }
    GLint integer(const char* name) const {
        GLint value = -1;
        glGetUniformiv(program.getHandle(), location(name), &value);
        return value;
    }

    RenderShaderProgram program = buildTestProgram(pointVertex, everyTypeFragment);
};

TEST_F(UniformUpload, EachTypeReachesTheCurrentProgramAndIsKept) {
    Uniform<float>(program, "f").set(1.5f);
    EXPECT_EQ(floats<1>("f")[0], 1.5f);
    Uniform<glm::vec3>(program, "v3").set({1, 2, 3});
    EXPECT_EQ(floats<3>("v3"), (std::array<float, 3>{1, 2, 3}));
    Uniform<glm::vec4>(program, "v4").set({4, 5, 6, 7});
    EXPECT_EQ(floats<4>("v4"), (std::array<float, 4>{4, 5, 6, 7}));

    Uniform<glm::uvec2> kernelSize(program, "u2");
    kernelSize.set({5, 4000000000u});
    GLuint unsignedPair[2] = {};
    glGetUniformuiv(program.getHandle(), location("u2"), unsignedPair);
    EXPECT_EQ(unsignedPair[0], 5u);
    EXPECT_EQ(unsignedPair[1], 4000000000u) << "unsigned all the way, no conversion";
    EXPECT_EQ(kernelSize.get(), glm::uvec2(5, 4000000000u));

    glm::mat4 matrix(1.0f);
    matrix[3] = glm::vec4(7, 8, 9, 1); // a translation: column-major, so in the fourth column
    Uniform<glm::mat4>(program, "m").set(matrix);
    EXPECT_EQ(floats<16>("m")[12], 7.0f);
}

TEST_F(UniformUpload, ABoolUploadsExactlyZeroOrOne) {
    Uniform<bool> flag(program, "flag");
    flag.set(true);
    EXPECT_EQ(integer("flag"), 1);
    flag.set(false);
    EXPECT_EQ(integer("flag"), 0);
}

TEST_F(UniformUpload, TheKernelAndTheBoneArrayGoUpWholeInOneCall) {
    std::array<float, 25> kernel{};
    for (std::size_t i = 0; i < kernel.size(); ++i) {
        kernel[i] = 0.01f * static_cast<float>(i);
    }
    Uniform<std::array<float, 25>>(program, "kernel[0]").set(kernel);
    EXPECT_EQ(floats<1>("kernel[24]")[0], kernel[24]);
    EXPECT_EQ(floats<1>("kernel[7]")[0], kernel[7]);

    std::array<glm::mat4, 50> bones;
    bones.fill(glm::mat4(1.0f));
    bones[49][3][0] = 42.0f;
    Uniform<std::array<glm::mat4, 50>>(program, "bones[0]").set(bones);
    EXPECT_EQ(floats<16>("bones[49]")[12], 42.0f);
    EXPECT_EQ(floats<16>("bones[0]")[12], 0.0f);
}

TEST_F(UniformUpload, ASamplerIsSetToItsTexturesOwnUnit) {
    const Texture image(GL_TEXTURE_2D);
    const Texture spare(GL_TEXTURE_2D);
    const Cubemap sky(std::array<std::string, 6>{}); // no faces: only its unit matters here
    program.use();
    Uniform<Texture>(program, "image").set(&spare);
    EXPECT_EQ(integer("image"), static_cast<GLint>(spare.getUnit()));
    Uniform<Cubemap>(program, "sky").set(&sky);
    EXPECT_EQ(integer("sky"), static_cast<GLint>(sky.getUnit()));
}

TEST_F(UniformUpload, AMissingNameLogsOnceAndItsSetsStoreButChangeNothing) {
    LogCapture capture;
    Uniform<float> missing(program, "notInTheShader");
    EXPECT_EQ(capture.messages(spdlog::level::err),
              std::vector<std::string>{
                  "Uniform 'notInTheShader' is either inactive or missing in shader code!"});
    EXPECT_EQ(capture.lines().front().logger, "GL");
    EXPECT_EQ(missing.getLocation(), -1);
    Uniform<float>(program, "f").set(2.0f);
    missing.set(3.0f);
    EXPECT_EQ(missing.get(), 3.0f);
    EXPECT_EQ(floats<1>("f")[0], 2.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "GL ignores location -1";
}

TEST(Uniform, ASetGoesToWhicheverProgramIsCurrent) {
    // Both programs have their uniform at the same location, as a uniform does not know its
    // program.
    const char* const fragment = R"(#version 430 core
layout(location = 3) uniform float level;
layout(location = 0) out vec4 fragColor;
void main() { fragColor = vec4(level); }
)";
    const RenderShaderProgram owner = buildTestProgram(pointVertex, fragment);
    const RenderShaderProgram other = buildTestProgram(pointVertex, fragment);
    Uniform<float> level(owner, "level");
    other.use();
    level.set(0.75f);
    float values[2] = {};
    glGetUniformfv(owner.getHandle(), 3, &values[0]);
    glGetUniformfv(other.getHandle(), 3, &values[1]);
    EXPECT_EQ(values[0], 0.0f) << "the owner was not current";
    EXPECT_EQ(values[1], 0.75f);
}

// The light records as the game's program declares them, but without the point lights'
// attenuation.
const char* const lightsFragment = R"(#version 430 core
struct PointLight { vec3 position; vec3 intensity; };
struct SpotLight { vec3 position; vec3 direction; vec3 intensity; vec3 attenuation; float outerAngle; float innerAngle; };
uniform PointLight pointLights[6];
uniform SpotLight spotLights[6];
layout(location = 0) out vec4 fragColor;
void main() {
    vec3 sum = vec3(0.0);
    for (int i = 0; i < 6; ++i) {
        sum += pointLights[i].position + pointLights[i].intensity;
        SpotLight s = spotLights[i];
        sum += s.position + s.direction + s.intensity + s.attenuation + vec3(s.outerAngle + s.innerAngle);
    }
    fragColor = vec4(sum, 1.0);
}
)";

TEST(UniformArray, NamesElementsFromZeroAndSetsEachFieldByItsOwnName) {
    const RenderShaderProgram program = buildTestProgram(pointVertex, lightsFragment);
    program.use();
    LogCapture capture;
    UniformArray<PointLight, maxLights> pointLights(program, "pointLights");
    const std::vector<std::string> errors = capture.messages(spdlog::level::err);
    ASSERT_EQ(errors.size(), 6u) << "one line per element for the field the shader lacks";
    EXPECT_EQ(errors[5],
              "Uniform 'pointLights[5].attenuation' is either inactive or missing in shader code!");

    pointLights[5].set({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    glm::vec3 read(0);
    glGetUniformfv(program.getHandle(),
                   glGetUniformLocation(program.getHandle(), "pointLights[5].position"),
                   glm::value_ptr(read));
    EXPECT_EQ(read, glm::vec3(1, 2, 3));
    glGetUniformfv(program.getHandle(),
                   glGetUniformLocation(program.getHandle(), "pointLights[5].intensity"),
                   glm::value_ptr(read));
    EXPECT_EQ(read, glm::vec3(4, 5, 6)) << "the other fields are unaffected by the missing one";
    EXPECT_EQ(pointLights[5].get().attenuation, glm::vec3(7, 8, 9)) << "the whole record is kept";

    capture.clear();
    UniformArray<SpotLight, maxLights> spotLights(program, "spotLights");
    EXPECT_EQ(capture.countAtLeast(spdlog::level::err), 0u);
    std::array<SpotLight, maxLights> spots{};
    spots[3].outerAngle = 0.5f;
    spotLights.set(spots);
    float angle = 0;
    glGetUniformfv(program.getHandle(),
                   glGetUniformLocation(program.getHandle(), "spotLights[3].outerAngle"), &angle);
    EXPECT_EQ(angle, 0.5f);
}
} // namespace
