#pragma once

#include <cstddef>
#include <cstdint>

// The glyph cache's key: a character at a pixel size.
struct GlyphKey {
    std::uint32_t size;
    char character;

    bool operator==(const GlyphKey&) const = default;
};

// 64-bit FNV-1a over the key's bytes, mixed as a hash combiner would, so that equal characters
// at neighbouring sizes spread over the buckets.
struct GlyphKeyHash {
    std::size_t operator()(const GlyphKey& key) const;
};
