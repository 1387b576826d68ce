#pragma once

#include "engine/NonCopyable.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

// A TCP connection to a physics debugger listening on this machine, which receives one text line
// per step. Everything about it is optional: a refused connection, a timeout or a failed write
// leave it closed, silently, and the world works the same without it.
class DebuggerConnection : public NonCopyable {
public:
    ~DebuggerConnection();

    // Connects to 127.0.0.1:port, waiting at most timeout for the listener. True when connected.
    bool connect(std::uint16_t port, std::chrono::milliseconds timeout);
    bool isConnected() const { return socket >= 0; }
    // Sends one line (the caller ends it with '\n') as far as the socket takes it without waiting;
    // the rest goes first at the next call. A line that finds the previous one still unsent is
    // dropped whole, so a slow listener never stalls the game and only ever reads whole lines.
    void sendLine(std::string_view line);
    void close();

private:
    // False when the socket failed and was closed.
    bool flush();

    int socket = -1;
    std::string pending;
    std::size_t sent = 0;
};
