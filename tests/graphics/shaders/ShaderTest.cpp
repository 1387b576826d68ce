#include "graphics/shaders/RenderShaderProgram.h"

#include "tests/graphics/TestPrograms.h"
#include "tests/support/ChildTest.h"
#include "tests/support/LogCapture.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {
const char* const passThroughVertex = R"(#version 430 core
layout(location = 0) in vec3 position;
void main() { gl_Position = vec4(position, 1.0); }
)";

TEST(Shader, ReadsEveryLineWithALineBreakAfterIt) {
    const std::pair<std::string, std::string> cases[] = {
        {"a\nb", "a\nb\n"},   // a last line without its break still gets one
        {"a\nb\n", "a\nb\n"}, // a final break adds no empty line
        {"\n\nx", "\n\nx\n"},
        {"", ""},
    };
    for (const auto& [text, source] : cases) {
        const std::string path = writeTemporaryFile(".glsl", text);
        LogCapture capture;
        EXPECT_EQ(Shader::readSourceFile(path), source);
        EXPECT_EQ(capture.countAtLeast(spdlog::level::err), 0u);
        EXPECT_EQ(capture.count("Reading shader code from file '" + path + "'"), 1u);
        std::filesystem::remove(path);
    }
}

TEST(Shader, AMissingFileIsReportedAndReadsAsTheEmptySource) {
    LogCapture capture;
    EXPECT_EQ(Shader::readSourceFile("assets/shaders/missing.vert"), "");
    EXPECT_EQ(
        capture.messages(spdlog::level::err),
        std::vector<std::string>{"Could not find shader at path: 'assets/shaders/missing.vert'"});
    EXPECT_EQ(capture.lines().back().logger, "GL");
}

TEST(ShaderProgram, LogsItsBuildingAndItsReleaseInOrder) {
    LogCapture capture;
    {
        const RenderShaderProgram program = buildTestProgram(passThroughVertex, R"(#version 430 core
uniform vec4 tint;
layout(location = 0) out vec4 fragColor;
void main() { fragColor = tint; }
)");
    }
    std::vector<std::string> messages;
    for (const LoggedLine& line : capture.lines()) {
        messages.push_back(line.message.substr(0, line.message.find_first_of("0123456789'")));
    }
    const std::vector<std::string> expected = {"Created ShaderProgram ",
                                               "Created Shader ",
                                               "Created Shader ",
                                               "Compiling code for Shader ",
                                               "Reading shader code from file ",
                                               "Compiling code for Shader ",
                                               "Reading shader code from file ",
                                               "Attaching Shader ",
                                               "Attaching Shader ",
                                               "Linking ShaderProgram ",
                                               "Active Uniforms: ",
                                               "Uniform #",
                                               "Deleting Shader ",
                                               "Deleting Shader ",
                                               "Deleting ShaderProgram "};
    ASSERT_EQ(messages, expected);
    // The fragment stage goes first, then the vertex stage, then the program.
    const std::string vertex = capture.lines()[1].message.substr(15);
    const std::string fragment = capture.lines()[2].message.substr(15);
    EXPECT_EQ(capture.lines()[12].message, "Deleting Shader " + fragment);
    EXPECT_EQ(capture.lines()[13].message, "Deleting Shader " + vertex);
}

// Names around the 16-character buffer the scan starts with: 14 fits at once, 15 fills it and
// makes it double, 40 makes it double twice.
const char* const tableFragment = R"(#version 430 core
struct Light { vec3 position; float range; };
uniform float a;
uniform float fourteenChars_;
uniform float fifteenCharsAbc;
uniform float aNameOfFortyCharactersThatDoublesTwice_;
uniform float values[3];
uniform Light lights[2];
uniform float declaredButUnused;
layout(location = 0) out vec4 fragColor;
void main() {
    float sum = a + fourteenChars_ + fifteenCharsAbc + aNameOfFortyCharactersThatDoublesTwice_;
    for (int i = 0; i < 3; ++i) sum += values[i];
    for (int i = 0; i < 2; ++i) sum += lights[i].position.x + lights[i].range;
    fragColor = vec4(sum);
}
)";

TEST(ShaderProgram, RecordsEveryActiveUniformUnderTheNameGLReports) {
    LogCapture capture;
    const RenderShaderProgram program = buildTestProgram(passThroughVertex, tableFragment);
    const std::vector<std::string> names = {"a",
                                            "fourteenChars_",
                                            "fifteenCharsAbc",
                                            "aNameOfFortyCharactersThatDoublesTwice_",
                                            "values[0]",
                                            "lights[0].position",
                                            "lights[0].range",
                                            "lights[1].position",
                                            "lights[1].range"};
    EXPECT_EQ(program.getUniformLocations().size(), names.size());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::optional<GLint> location = program.findUniform(name);
        ASSERT_TRUE(location.has_value());
        EXPECT_EQ(*location, glGetUniformLocation(program.getHandle(), name.c_str()));
        EXPECT_NE(*location, -1);
    }
    EXPECT_FALSE(program.findUniform("declaredButUnused")) << "not active, so not recorded";
    EXPECT_FALSE(program.findUniform("values")) << "only the exact name GL reports";
    EXPECT_EQ(capture.count("Active Uniforms: 9"), 1u);
    std::size_t listed = 0;
    for (const std::string& message : capture.messages(spdlog::level::debug)) {
        listed += message.rfind("Uniform #", 0) == 0;
    }
    EXPECT_EQ(listed, names.size());
}

// The fatal paths, each run by the test below in a process of its own. The broken sources put
// braces into the info log, which must reach the log as text, not as a format string.
TEST(ShaderFatal, DISABLED_CompileFailure) {
    buildTestProgram(passThroughVertex, "#version 430 core\nvoid main() { } }\n");
}

TEST(ShaderFatal, DISABLED_LinkFailure) {
    buildTestProgram(passThroughVertex, R"(#version 430 core
layout(location = 0) out vec4 fragColor;
vec4 shadeWith(vec4 color);
void main() { fragColor = shadeWith(vec4(1)); }
)");
}

TEST(ShaderProgram, ACompileOrLinkFailureEndsTheProcessWithTheInfoLog) {
    for (const char* test :
         {"ShaderFatal.DISABLED_CompileFailure", "ShaderFatal.DISABLED_LinkFailure"}) {
        SCOPED_TRACE(test);
        const ChildResult result = runTestInChild(test);
        EXPECT_EQ(result.exitStatus, 1) << result.standardError;
        const std::size_t critical = result.standardError.find("[critical] ");
        ASSERT_NE(critical, std::string::npos) << result.standardError;
        const std::string log = result.standardError.substr(critical + 11);
        EXPECT_NE(log.find("error"), std::string::npos) << log;
        EXPECT_EQ(result.standardError.find("LOG ERROR"), std::string::npos)
            << "a brace broke the format";
        EXPECT_EQ(result.standardError.find('\0'), std::string::npos)
            << "the terminating NUL was logged";
    }
}
} // namespace
