#pragma once

#include <array>
#include <cstddef>

// A stand-in placed in front of the real FreeType in the HUD test executable: it counts calls of
// the functions the font uses, remembers the last character code asked for, and can make one of
// them fail. Everything else goes through to the library unchanged.
struct FreeTypeProbe {
    enum Function : std::size_t {
        InitFreeType,
        NewSize,
        ActivateSize,
        SetPixelSizes,
        LoadChar,
        functionCount,
    };
    static constexpr std::size_t none = functionCount;

    static inline std::array<int, functionCount> calls{};
    static inline std::size_t failing = none;
    static inline unsigned long lastCharacterCode = 0;
};
