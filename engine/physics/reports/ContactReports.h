#pragma once

#include "engine/physics/RigidBody.h"
#include "engine/physics/reports/SimulationEventCallback.h"
#include "engine/physics/sweeps/SweptBox.h"

#include <btBulletCollisionCommon.h>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// Turns the contacts of a finished step into reports for the pairs whose filter asks for them: a
// pair is reported in the step in which it starts to touch, once however many of its shapes touch,
// and not again until it has stopped touching. Fast bodies with continuous collision detection are
// also swept from their pose at the start of the step to their pose at its end against every body
// they would be reported with (the hitboxes): the sweeps that stop fast bodies leave out pairs that
// are never solved, so a disc crossing a hitbox between two steps would otherwise never be seen. All vectors
// are kept between steps, so a steady step allocates nothing.
class ContactReports {
public:
    ContactReports();

    void collect(btDispatcher& dispatcher, const std::vector<std::unique_ptr<RigidBody>>& bodies);
    // The reports of the last step, in the order they were found.
    const std::vector<ContactPair>& getReports() const { return reports; }
    // Every pair of bodies with contact points after the last step, solved or reported, once each,
    // ordered by ids. Gathered when asked: only the debugger and tests want it.
    const std::vector<BodyPair>& getContacts(btDispatcher& dispatcher);
    // A released body's pairs go with it: a new body in its place starts untouched.
    void forget(const RigidBody& body);

private:
    using Key = std::pair<std::uint64_t, std::uint64_t>;

    void findTouches(btDispatcher& dispatcher);
    void sweepFastBodies(const std::vector<std::unique_ptr<RigidBody>>& bodies);
    void report(const Key& key, RigidBody& body0, int shape0, RigidBody& body1, int shape1, PairFlags event);

    std::vector<Key> touching;   // report pairs touching after the last step
    std::vector<Key> previous;   // the same, one step earlier
    std::vector<Key> reportKeys; // parallel to reports
    std::vector<ContactPair> reports;
    std::vector<BodyPair> contacts;
    std::vector<std::pair<RigidBody*, SweptBox>> hitboxes;
};
