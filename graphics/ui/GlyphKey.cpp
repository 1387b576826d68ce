#include "graphics/ui/GlyphKey.h"

namespace {
constexpr std::uint64_t fnvOffsetBasis = 0xcbf29ce484222325ull;
constexpr std::uint64_t fnvPrime = 0x100000001b3ull;

// FNV-1a over the low `bytes` bytes of value, least significant byte first (little-endian), so
// the hash is the same on every machine.
std::uint64_t fnv1a(std::uint64_t value, int bytes) {
    std::uint64_t hash = fnvOffsetBasis;
    for (int i = 0; i < bytes; ++i) {
        hash ^= (value >> (8 * i)) & 0xffu;
        hash *= fnvPrime;
    }
    return hash;
}

std::uint64_t spread(std::uint64_t value) { return value ^ (value << 31); }
} // namespace

std::size_t GlyphKeyHash::operator()(const GlyphKey& key) const {
    const std::uint64_t a = spread(fnv1a(key.size, 4));
    const auto character = static_cast<unsigned char>(key.character);
    const std::uint64_t v = fnv1a(a, 8) ^ a ^ fnv1a(character, 1);
    const std::uint64_t b = spread(v);
    const std::uint64_t c = fnv1a(b, 8) ^ b;
    return static_cast<std::size_t>(fnv1a(c, 8));
}
