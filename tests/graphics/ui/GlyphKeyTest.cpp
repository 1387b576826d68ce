#include "graphics/ui/GlyphKey.h"

#include <gtest/gtest.h>
#include <unordered_set>

namespace {
TEST(GlyphKey, EqualOnlyWhenSizeAndCharacterBothMatch) {
    EXPECT_EQ((GlyphKey{24, 'A'}), (GlyphKey{24, 'A'}));
    EXPECT_NE((GlyphKey{24, 'A'}), (GlyphKey{50, 'A'}));
    EXPECT_NE((GlyphKey{24, 'A'}), (GlyphKey{24, 'B'}));
}

// Values worked out by hand from the byte-wise definition (little-endian bytes, 64-bit shifts
// that drop what they shift out): a big-endian byte order or a 32-bit shift would change them.
TEST(GlyphKeyHash, MatchesTheByteWiseDefinition) {
    const GlyphKeyHash hash;
    EXPECT_EQ(hash({24, 'A'}), 0x17de274fc88bc01eull);
    EXPECT_EQ(hash({50, 'A'}), 0xbd3843f7cd22b122ull);
    EXPECT_EQ(hash({24, static_cast<char>(0xE9)}), 0xead22522f174afabull)
        << "a high byte is hashed as the byte itself";
}

TEST(GlyphKeyHash, SeparatesEverySizeAndByteTheHudCouldAskFor) {
    const GlyphKeyHash hash;
    std::unordered_set<std::size_t> seen;
    for (std::uint32_t size = 1; size <= 100; ++size) {
        for (int character = 0; character < 256; ++character) {
            seen.insert(hash({size, static_cast<char>(character)}));
        }
    }
    EXPECT_EQ(seen.size(), 100u * 256u);
}
} // namespace
