#include "tests/engine/physics/ReboundMeter.h"

#include <cmath>

bool ReboundMeter::observe(float closingBefore, float closingAfter) {
    if (parted() || closingBefore >= 0.0f || closingAfter < 0.0f) {
        return false;
    }
    rebound = closingAfter / -closingBefore;
    return true;
}

bool ReboundMeter::near(float restitution) const { return std::abs(rebound - restitution) <= 0.1f * restitution; }
