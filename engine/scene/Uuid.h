#pragma once

#include <array>
#include <cstdint>
#include <string>

// A 16-byte id; all zero means "none" (the creator of an object nobody spawned).
struct Uuid {
    std::array<uint8_t, 16> bytes{};

    bool operator==(const Uuid&) const = default;
    bool isNil() const { return *this == Uuid{}; }
    // The 36-character lowercase 8-4-4-4-12 form.
    std::string toString() const;
};

// One random version-4 id with the RFC 4122 variant, from the system's random source.
Uuid generateUuid();
