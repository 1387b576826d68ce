#include "engine/HandleWrapper.h"

#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

namespace {
// An owner whose release only counts, so the release rule can be watched without GL.
template <unsigned Null>
class CountingOwner : public HandleWrapper<unsigned, Null> {
public:
    explicit CountingOwner(unsigned name, int& releases) : HandleWrapper<unsigned, Null>(name), releases(&releases) {}
    CountingOwner(CountingOwner&& other) noexcept = default;
    ~CountingOwner() { this->releaseHandle(); }
    void destroy() override { ++*releases; }

private:
    int* releases;
};

class HandleWrapperTest : public testing::Test {
protected:
    void SetUp() override { gGlContextAlive = true; }
    void TearDown() override { gGlContextAlive = false; }
    int releases = 0;
    LogCapture capture;
};

TEST_F(HandleWrapperTest, AnOwnerThatNeverHeldAHandleReleasesNothing) {
    { CountingOwner<0> owner(0, releases); }
    EXPECT_EQ(releases, 0);
    EXPECT_TRUE(capture.lines().empty());
}

TEST_F(HandleWrapperTest, AMoveLeavesTheSourceEmptyAndReleasesOnce) {
    {
        CountingOwner<0> source(7, releases);
        CountingOwner<0> target(std::move(source));
        EXPECT_TRUE(source.isEmpty());
        EXPECT_EQ(target.getHandle(), 7u);
    }
    EXPECT_EQ(releases, 1);
    EXPECT_TRUE(capture.lines().empty());
}

TEST_F(HandleWrapperTest, UsingAnEmptyHandleLogsAndGoesOn) {
    CountingOwner<0> owner(0, releases);
    EXPECT_EQ(owner.getHandle(), 0u);
    EXPECT_EQ(owner.getHandle(), 0u);
    EXPECT_EQ(capture.count("Accessing invalid handle."), 2u) << "one line per check";
    EXPECT_EQ(capture.lines()[0].logger, "LOG");
    EXPECT_EQ(capture.lines()[0].level, spdlog::level::err);
}

TEST_F(HandleWrapperTest, ZeroIsValidWhereAllBitsSetIsTheEmptyValue) {
    CountingOwner<0xFFFFFFFFu> windowFramebuffer(0, releases);
    windowFramebuffer.checkValid();
    EXPECT_TRUE(capture.lines().empty());
    CountingOwner<0xFFFFFFFFu> empty(0xFFFFFFFFu, releases);
    empty.checkValid();
    EXPECT_EQ(capture.count("Accessing invalid handle."), 1u);
}

TEST_F(HandleWrapperTest, OwnersThatOutliveTheContextDropTheirHandles) {
    gGlContextAlive = false;
    { CountingOwner<0> owner(3, releases); }
    EXPECT_EQ(releases, 0);
}
} // namespace
