#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Whole device counts out of one axis of raw, unaccelerated movement. High-resolution mice and
// libinput report fractions of a count; dropping them per event would lose slow movement
// entirely, so the remainder is carried to the device's next event. Truncation toward zero keeps
// left and right symmetric.
class FractionalAxis {
public:
    std::int32_t add(double movement) {
        if (!std::isfinite(movement)) {
            return 0; // a broken device must not poison the remainder for the rest of the run
        }
        remainder += movement;
        const double whole = std::trunc(remainder);
        remainder -= whole;
        return clampToCounts(whole);
    }

    // Saturates instead of overflowing: converting an out-of-range double is undefined.
    static std::int32_t clampToCounts(double value) {
        constexpr double low = std::numeric_limits<std::int32_t>::min();
        constexpr double high = std::numeric_limits<std::int32_t>::max();
        return static_cast<std::int32_t>(std::fmax(low, std::fmin(high, value)));
    }

private:
    double remainder = 0.0;
};
