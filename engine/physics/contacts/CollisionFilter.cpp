#include "engine/physics/contacts/CollisionFilter.h"

namespace {
constexpr PairFlags solvedPair =
    PairFlag::SolveContact | PairFlag::DetectDiscreteContact | PairFlag::DetectCcdContact;
constexpr PairFlags reportedPair = PairFlag::DetectDiscreteContact | PairFlag::DetectCcdContact |
                                   PairFlag::NotifyTouchFound | PairFlag::NotifyTouchCcd;
} // namespace

FilterFlag filterShader(const FilterData& filterData0, const FilterData& filterData1, PairFlags& pairFlags) {
    const std::uint32_t w0 = filterData0.word0;
    const std::uint32_t w1 = filterData1.word0;
    if (hasGroup(w0 | w1, CollisionGroup::Level)) {
        pairFlags = solvedPair;
        return FilterFlag::Default;
    }
    if ((hasGroup(w0, CollisionGroup::Player) && hasGroup(w1, CollisionGroup::Hitbox)) ||
        (hasGroup(w0, CollisionGroup::Hitbox) && hasGroup(w1, CollisionGroup::Player))) {
        pairFlags = 0;
        return FilterFlag::Suppress;
    }
    if (!hasGroup(w0 | w1, CollisionGroup::Hitbox)) {
        pairFlags = solvedPair;
        return FilterFlag::Default;
    }
    pairFlags = reportedPair;
    return FilterFlag::Default;
}
