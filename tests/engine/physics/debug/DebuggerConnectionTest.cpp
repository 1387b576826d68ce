#include "engine/physics/PhysicsWorld.h"
#include "engine/physics/debug/DebuggerConnection.h"

#include "tests/support/LogCapture.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr float dt = 1.0f / 60.0f;
constexpr std::chrono::milliseconds timeout{10};

// A listening socket on an ephemeral loopback port, so tests running side by side never meet.
class Listener {
public:
    Listener() {
        socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        ::listen(socket, 1);
        socklen_t length = sizeof(address);
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~Listener() {
        closeClient();
        ::close(socket);
    }

    void accept() { client = ::accept(socket, nullptr, nullptr); }
    void closeClient() {
        if (client >= 0) {
            ::close(client);
            client = -1;
        }
    }
    // Everything sent so far, waiting up to a second for the first bytes.
    std::string receive() {
        std::string text;
        pollfd ready{client, POLLIN, 0};
        for (int wait = 1000; ::poll(&ready, 1, wait) == 1; wait = 50) {
            char buffer[65536];
            const ssize_t got = ::recv(client, buffer, sizeof(buffer), 0);
            if (got <= 0) {
                break;
            }
            text.append(buffer, static_cast<std::size_t>(got));
        }
        return text;
    }

    std::uint16_t port = 0;

private:
    int socket = -1;
    int client = -1;
};

std::uint16_t unusedPort() {
    const Listener closed;
    return closed.port; // free again once the listener is gone
}

TEST(DebuggerConnection, RefusedConnectionLeavesTheWorldWorkingWithoutAMessage) {
    const std::uint16_t port = unusedPort();
    LogCapture log;
    PhysicsWorld world;
    world.init(port);
    EXPECT_FALSE(world.isDebuggerConnected());
    RigidBody* body = world.createRigidDynamic(Pose(glm::vec3(0.0f, 1.0f, 0.0f)), false, nullptr);
    world.attachShape(*body, Geometry::sphere(0.5f), Pose(), nullptr);
    world.step(dt);
    EXPECT_LT(body->getGlobalPose().position.y, 1.0f);
    EXPECT_EQ(log.countAtLeast(spdlog::level::warn), 0u);
}

TEST(DebuggerConnection, ListenerGetsOneLinePerStepWithBodiesAndContacts) {
    Listener listener;
    PhysicsWorld world;
    world.init(listener.port);
    listener.accept();
    ASSERT_TRUE(world.isDebuggerConnected());
    RigidBody* hitbox =
        world.createKinematicRigidDynamic(Pose(), 1.0f, Geometry::box(glm::vec3(1.0f)), Pose(), false, nullptr);
    RigidBody* body = world.createRigidDynamic(Pose(glm::vec3(0.0f, 0.5f, 0.0f)), false, nullptr);
    world.attachShape(*body, Geometry::box(glm::vec3(0.2f)), Pose(), nullptr);
    for (int i = 0; i < 3; ++i) {
        world.step(dt);
    }
    const std::string text = listener.receive();
    ASSERT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
    const std::string first = text.substr(0, text.find('\n'));
    EXPECT_EQ(first.rfind("{\"step\":1,\"bodies\":[{\"id\":1,\"type\":\"kinematic\",\"group\":1,\"pose\":[0,0,0,1,0,0,0]", 0),
              0u)
        << first;
    EXPECT_NE(first.find("{\"id\":2,\"type\":\"dynamic\",\"group\":4,"), std::string::npos) << first;
    EXPECT_NE(first.find("\"shapes\":[\"box\"]"), std::string::npos) << first;
    EXPECT_NE(first.find(fmt::format("\"contacts\":[[{},{}]]}}", hitbox->getId(), body->getId())), std::string::npos)
        << first;
}

TEST(DebuggerConnection, ListenerThatGoesAwayIsDroppedSilently) {
    Listener listener;
    PhysicsWorld world;
    world.init(listener.port);
    listener.accept();
    listener.closeClient();
    LogCapture log;
    for (int i = 0; i < 200 && world.isDebuggerConnected(); ++i) {
        world.step(dt);
    }
    EXPECT_FALSE(world.isDebuggerConnected());
    EXPECT_EQ(log.countAtLeast(spdlog::level::warn), 0u);
}

TEST(DebuggerConnection, SlowListenerGetsWholeLinesOnly) {
    Listener listener;
    DebuggerConnection connection;
    ASSERT_TRUE(connection.connect(listener.port, timeout));
    listener.accept();
    const std::string line = std::string(100000, 'x') + "\n";
    for (int i = 0; i < 200; ++i) {
        connection.sendLine(line);
    }
    const std::string received = listener.receive();
    ASSERT_FALSE(received.empty());
    // Lines may be cut at the end of what has arrived, never in the middle of the stream.
    std::size_t whole = 0;
    for (std::size_t at = 0; at + line.size() <= received.size(); at += line.size()) {
        ASSERT_EQ(received.compare(at, line.size(), line), 0) << "line " << whole;
        ++whole;
    }
    EXPECT_GT(whole, 0u);
    EXPECT_LT(whole, 200u) << "a listener that does not read must not stall the sender";
}
} // namespace
