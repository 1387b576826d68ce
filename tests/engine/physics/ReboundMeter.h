#pragma once

// The rebound of a body off what it meets, along the contact's normal: the speed at which the two
// part over the speed at which they closed in, both taken across the step in which they part (in
// later steps friction and gravity change the parting speed).
class ReboundMeter {
public:
    // The velocity along the normal of the body relative to what it meets (below 0 while they close
    // in), before and after one step. True for the step in which they part, the first such only.
    bool observe(float closingBefore, float closingAfter);
    bool parted() const { return rebound >= 0.0f; }
    // Below 0 until they part.
    float ratio() const { return rebound; }
    // Whether the rebound is within 10% of this restitution; false when they never parted.
    bool near(float restitution) const;

private:
    float rebound = -1.0f;
};
