#include "engine/physics/debug/DebuggerConnection.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

DebuggerConnection::~DebuggerConnection() { close(); }

bool DebuggerConnection::connect(std::uint16_t port, std::chrono::milliseconds timeout) {
    close();
    socket = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        return false;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        pollfd waiting{socket, POLLOUT, 0};
        int error = 0;
        socklen_t length = sizeof(error);
        if (errno != EINPROGRESS || ::poll(&waiting, 1, static_cast<int>(timeout.count())) != 1 ||
            ::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
            close();
            return false;
        }
    }
    return true;
}

void DebuggerConnection::sendLine(std::string_view line) {
    if (!isConnected() || !flush() || sent < pending.size()) {
        return;
    }
    pending.assign(line);
    sent = 0;
    flush();
}

void DebuggerConnection::close() {
    if (socket >= 0) {
        ::close(socket);
        socket = -1;
    }
    pending.clear();
    sent = 0;
}

bool DebuggerConnection::flush() {
    while (sent < pending.size()) {
        // No SIGPIPE when the listener has gone: the write fails and the connection closes.
        const ssize_t written = ::send(socket, pending.data() + sent, pending.size() - sent, MSG_NOSIGNAL);
        if (written < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                return true;
            }
            if (errno == EINTR) {
                continue;
            }
            close();
            return false;
        }
        sent += static_cast<std::size_t>(written);
    }
    return true;
}
