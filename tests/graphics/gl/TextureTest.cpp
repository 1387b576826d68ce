#include "graphics/gl/Texture.h"
#include "graphics/gl/Cubemap.h"
#include "graphics/gl/Image.h"

#include "tests/graphics/TestPrograms.h"
#include "tests/support/ChildTest.h"
#include "tests/support/LogCapture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <type_traits>
#include <unistd.h>

namespace {
GLint textureParameter(GLenum target, GLenum parameter) {
    GLint value = 0;
    glGetTexParameteriv(target, parameter, &value);
    return value;
}

// Pixels whose every byte differs, so a row read from the wrong offset shows.
std::vector<unsigned char> distinctPixels(int width, int height, int channels) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width * height * channels));
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<unsigned char>(17 + 9 * i);
    }
    return pixels;
}

// A directory of this process's own below the temporary directory, removed with the fixture.
class TemporaryDirectory {
public:
    TemporaryDirectory()
        : path(std::filesystem::temp_directory_path() /
               ("vornhalt-images-" + std::to_string(getpid()) + "-" + std::to_string(count++))) {
        std::filesystem::create_directories(path);
    }
    ~TemporaryDirectory() { std::filesystem::remove_all(path); }

    std::string file(const std::string& name) const { return (path / name).string(); }
    std::string withSeparator() const { return path.string() + "/"; }

private:
    static inline int count = 0;
    std::filesystem::path path;
};

void writePng(const std::string& path, int width, int height, int channels,
              const std::vector<unsigned char>& pixels) {
    ASSERT_NE(
        stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels), 0);
}

TEST(Texture, TakesTheNextUnitAndNeverGivesItBack) {
    Texture first(GL_TEXTURE_2D);
    const std::uint32_t base = first.getUnit();
    auto second = std::make_unique<Texture>(GL_TEXTURE_2D);
    Texture third(GL_TEXTURE_2D);
    EXPECT_EQ(second->getUnit(), base + 1);
    EXPECT_EQ(third.getUnit(), base + 2);
    second.reset();
    Texture fourth(GL_TEXTURE_2D);
    EXPECT_EQ(fourth.getUnit(), base + 3) << "a destroyed texture's unit is not reused";
    EXPECT_EQ(textureUnitCounter, base + 4);
}

TEST(Texture, IsBoundOnItsOwnUnitWithDefaultSamplingFor2DOnly) {
    const Texture flat(GL_TEXTURE_2D);
    GLint active = 0, bound = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(active, static_cast<GLint>(GL_TEXTURE0 + flat.getUnit()));
    EXPECT_EQ(bound, static_cast<GLint>(flat.getHandle()));
    EXPECT_EQ(textureParameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(textureParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T), GL_REPEAT);

    const Texture cube(GL_TEXTURE_CUBE_MAP);
    EXPECT_EQ(textureParameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER),
              GL_NEAREST_MIPMAP_LINEAR)
        << "a cube-map texture keeps GL's own defaults until its user sets them";
    const Texture multisampled(GL_TEXTURE_2D_MULTISAMPLE);
    glGetIntegerv(GL_TEXTURE_BINDING_2D_MULTISAMPLE, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(multisampled.getHandle()));
}

TEST(Texture, AMoveTakesNameUnitAndTargetAndTheTextureIsDeletedOnce) {
    LogCapture capture;
    GLuint name = 0;
    {
        Texture source(GL_TEXTURE_CUBE_MAP);
        name = source.getHandle();
        const std::uint32_t unit = source.getUnit();
        const Texture moved(std::move(source));
        EXPECT_TRUE(source.isEmpty());
        EXPECT_EQ(moved.getHandle(), name);
        EXPECT_EQ(moved.getUnit(), unit);
        EXPECT_EQ(moved.getTarget(), static_cast<GLenum>(GL_TEXTURE_CUBE_MAP));
    }
    EXPECT_EQ(glIsTexture(name), GL_FALSE);
    EXPECT_EQ(capture.count("Accessing invalid handle."), 0u)
        << "the emptied source releases nothing";
}

TEST(Texture, MultisampleStorageUsesTheClampedSampleCount) {
    GLint limit = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &limit);
    EXPECT_EQ(Texture::multisampleCount(), std::min(4, limit));
    const Texture texture(GL_TEXTURE_2D_MULTISAMPLE);
    texture.allocateMultisample(8, 4);
    GLint samples = 0, fixed = 0, width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D_MULTISAMPLE, 0, GL_TEXTURE_SAMPLES, &samples);
    glGetTexLevelParameteriv(GL_TEXTURE_2D_MULTISAMPLE, 0, GL_TEXTURE_FIXED_SAMPLE_LOCATIONS,
                             &fixed);
    glGetTexLevelParameteriv(GL_TEXTURE_2D_MULTISAMPLE, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(samples, Texture::multisampleCount());
    EXPECT_EQ(fixed, GL_TRUE);
    EXPECT_EQ(width, 8);
}

struct ChannelCase {
    int channels;
    GLenum format;
};

class ImageUpload : public testing::TestWithParam<ChannelCase> {};

// Three pixels a row: for one and three channels the rows are not a multiple of four bytes, which
// GL's default unpack alignment would read past.
TEST_P(ImageUpload, ReadsTheFileWithItsOwnChannelsAndUploadsTightlyPackedRows) {
    const auto [channels, format] = GetParam();
    const TemporaryDirectory directory;
    const std::vector<unsigned char> pixels = distinctPixels(3, 2, channels);
    writePng(directory.file("image.png"), 3, 2, channels, pixels);

    const Image image = loadImage(directory.file("image.png"), false);
    ASSERT_NE(image.data, nullptr);
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.channels, channels);

    const Texture texture(GL_TEXTURE_2D);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4); // GL's default, as before any glyph is rendered
    texture.setImage(image);
    std::vector<unsigned char> uploaded(pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, uploaded.data());
    EXPECT_EQ(uploaded, pixels);
    GLint internalFormat = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internalFormat);
    EXPECT_EQ(internalFormat, static_cast<GLint>(format));
}

INSTANTIATE_TEST_SUITE_P(OneToFourChannels, ImageUpload,
                         testing::Values(ChannelCase{1, GL_RED}, ChannelCase{2, GL_RG},
                                         ChannelCase{3, GL_RGB}, ChannelCase{4, GL_RGBA}),
                         [](const auto& info) { return std::to_string(info.param.channels); });

TEST(Image, LoadsFlippedWhenAskedWithTheLastRowFirst) {
    const TemporaryDirectory directory;
    const std::vector<unsigned char> pixels = distinctPixels(2, 3, 1);
    writePng(directory.file("rows.png"), 2, 3, 1, pixels);
    const Image flipped = loadImage(directory.file("rows.png"), true);
    ASSERT_NE(flipped.data, nullptr);
    EXPECT_EQ(flipped.data[0], pixels[4]);
    EXPECT_EQ(flipped.data[5], pixels[1]);
    const Image upright = loadImage(directory.file("rows.png"), false);
    EXPECT_EQ(upright.data[0], pixels[0]) << "every load sets the flip anew";
}

TEST(Image, AFileThatCannotBeReadGivesAnImageWithoutPixelsAndOneErrorLine) {
    const TemporaryDirectory directory;
    std::ofstream(directory.file("broken.png")) << "not an image";
    const std::pair<std::string, std::string> cases[] = {
        {directory.file("missing.png"), "can't fopen"},
        {directory.file("broken.png"), "unknown image type"},
        {"", "can't fopen"}, // an empty path must not throw on its way to being made absolute
    };
    for (const auto& [path, reason] : cases) {
        LogCapture capture;
        const Image image = loadImage(path, false);
        EXPECT_EQ(image.data, nullptr);
        EXPECT_EQ(image.channels, 0);
        EXPECT_EQ(capture.messages(spdlog::level::err),
                  std::vector<std::string>{"Texture failed to load with path '" + path +
                                           "' and error '" + reason + "'"});
    }
}

TEST(Image, MovesItsPixelsAndIsNeverCopied) {
    static_assert(!std::is_copy_constructible_v<Image> && !std::is_copy_assignable_v<Image>,
                  "a copy would free the pixels twice");
    auto* pixels = static_cast<unsigned char*>(std::malloc(4));
    Image source(1, 1, 4, pixels);
    Image moved(std::move(source));
    EXPECT_EQ(source.data, nullptr);
    EXPECT_EQ(source.channels, 0);
    EXPECT_EQ(moved.data, pixels);
    Image assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.data, pixels);
    EXPECT_EQ(moved.data, nullptr); // freed once, by assigned; the sanitizer build checks that
}

// The fatal path, run by the test below in a process of its own.
TEST(TextureFatal, DISABLED_UploadOfAnImageWithoutPixels) {
    const Texture texture(GL_TEXTURE_2D);
    texture.setImage(Image());
}

TEST(TextureFatal, DISABLED_UploadOfAFiveChannelImage) {
    const Texture texture(GL_TEXTURE_2D);
    texture.setImage(Image(1, 1, 5, static_cast<unsigned char*>(std::malloc(5))));
}

TEST(Texture, AnUnknownChannelCountEndsTheProcessWithOneCriticalLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"TextureFatal.DISABLED_UploadOfAnImageWithoutPixels",
         "Unknown image format with 0 channels"},
        {"TextureFatal.DISABLED_UploadOfAFiveChannelImage", "Unknown image format with 5 channels"},
    };
    for (const auto& [test, message] : cases) {
        const ChildResult result = runTestInChild(test);
        EXPECT_EQ(result.exitStatus, 1) << result.standardError;
        EXPECT_NE(result.standardError.find(std::string("[critical] ") + message),
                  std::string::npos)
            << result.standardError;
    }
}

class CubemapFaces : public testing::Test {
protected:
    // Face i is one 2 × 2 image of the colour (10 + i, 20 + i, 30 + i), in the file of its stem.
    void SetUp() override {
        for (int face = 0; face < 6; ++face) {
            std::vector<unsigned char> pixels(2 * 2 * 3);
            for (std::size_t i = 0; i < pixels.size(); ++i) {
                pixels[i] = static_cast<unsigned char>(10 * (1 + i % 3) + face);
            }
            writePng(directory.file(std::string(stems[face]) + "png"), 2, 2, 3, pixels);
        }
    }

    static std::vector<unsigned char> face(GLenum target) {
        std::vector<unsigned char> pixels(2 * 2 * 3, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(target, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    static constexpr const char* stems[] = {"right.",  "left.",  "top.",
                                            "bottom.", "front.", "back."};
    TemporaryDirectory directory;
};

TEST_F(CubemapFaces, UploadsRightLeftTopBottomFrontBackAsPlusXToMinusZ) {
    const Cubemap cubemap(directory.withSeparator(), "png");
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(stems[i]);
        EXPECT_EQ(face(GL_TEXTURE_CUBE_MAP_POSITIVE_X + i)[0], 10 + i);
        EXPECT_EQ(face(GL_TEXTURE_CUBE_MAP_POSITIVE_X + i)[1], 20 + i);
    }
    EXPECT_EQ(textureParameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R), GL_REPEAT);
    EXPECT_EQ(textureParameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    cubemap.generateMipmaps();
    EXPECT_EQ(textureParameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER),
              GL_LINEAR_MIPMAP_LINEAR);
}

TEST_F(CubemapFaces, AMissingFaceIsLoggedTwiceAndTheOthersAreStillUploaded) {
    std::filesystem::remove(directory.file("top.png"));
    LogCapture capture;
    const Cubemap cubemap(directory.withSeparator(), "png");
    const std::vector<std::string> errors = capture.messages(spdlog::level::err);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find("can't fopen"), std::string::npos);
    EXPECT_EQ(errors[1],
              "Cubemap texture failed to load at path '" + directory.file("top.png") + "'");
    EXPECT_EQ(face(GL_TEXTURE_CUBE_MAP_NEGATIVE_Y)[0], 13) << "the face after the missing one";
    GLint width = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_POSITIVE_Y, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 0);
}

TEST_F(CubemapFaces, AFaceUnlikeTheFirstIsLoggedAndLeftOutAndTheOthersAreStillUploaded) {
    writePng(directory.file("left.png"), 4, 4, 3, distinctPixels(4, 4, 3));
    writePng(directory.file("bottom.png"), 2, 2, 4, distinctPixels(2, 2, 4));
    LogCapture capture;
    const Cubemap cubemap(directory.withSeparator(), "png");
    const std::string first = "' does not match the first face at path '" +
                              directory.file("right.png") + "': ";
    EXPECT_EQ(capture.messages(spdlog::level::err),
              (std::vector<std::string>{
                  "Cubemap texture at path '" + directory.file("left.png") + first +
                      "4x4 instead of 2x2",
                  "Cubemap texture at path '" + directory.file("bottom.png") + first +
                      "4 channels instead of 3",
              }));
    for (const GLenum leftOut : {GL_TEXTURE_CUBE_MAP_NEGATIVE_X, GL_TEXTURE_CUBE_MAP_NEGATIVE_Y}) {
        GLint width = -1;
        glGetTexLevelParameteriv(leftOut, 0, GL_TEXTURE_WIDTH, &width);
        EXPECT_EQ(width, 0);
    }
    EXPECT_EQ(face(GL_TEXTURE_CUBE_MAP_POSITIVE_Y)[0], 12) << "the face after the odd one";
    EXPECT_EQ(face(GL_TEXTURE_CUBE_MAP_NEGATIVE_Z)[0], 15);
}

TEST_F(CubemapFaces, ADirectoryWithoutItsSeparatorGluesTheFileNamesToIt) {
    LogCapture capture;
    const std::string glued =
        directory.withSeparator().substr(0, directory.withSeparator().size() - 1);
    const Cubemap cubemap(glued, "png");
    EXPECT_EQ(capture.count("Cubemap texture failed to load at path '" + glued + "right.png'"), 1u);
    EXPECT_EQ(capture.messages(spdlog::level::err).size(), 12u);
}
} // namespace
