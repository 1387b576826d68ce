#pragma once

#include <algorithm>
#include <glm/vec3.hpp>

// The world's tolerances in one place: what each one is, its unit, and what goes wrong when it is
// moved. Lengths are in metres.
struct PhysicsTolerances {
    // --- The level, as it is built

    // Places closer than this are one place: the corners that meshes repeat per face, the joins of
    // meshes laid against each other, and, in a box's contact with a triangle, what lies this far
    // beyond the triangle's side (a crate on a tile of its size keeps its corners however the
    // rounding falls). Larger, and a level's small features run together; smaller, and rounding in
    // a level 100 m across breaks joins apart, so that seams turn into edges that discs catch on.
    static constexpr float weld = 1e-4f;
    // Faces meeting at an angle whose cosine is above this (about 3 degrees) are one flat face: the
    // seam between them is no edge. Lower, and a real crest of a gentle ramp is taken for a seam and
    // a disc crossing it sinks into the corner; higher, and a floor exported slightly uneven snags.
    static constexpr float flatSeamCosine = 0.9986f;
    // A triangle whose two sides' cross product (twice its area) is shorter than this times its
    // longest edge squared is a sliver, dropped when the level is cooked: its normal would be rounding
    // noise and push bodies any way at all.
    static constexpr float sliverRatio = 1e-6f;

    // --- Bodies

    // How far the library rounds a box's corners: its collision margin, at most a quarter of the box's
    // thinnest side (2.6 cm for a disc, 0.1 m thick). Contacts are found for the rounded box, which
    // costs less than a sharp one; a margin past half the thickness would make the box fatter than it is.
    static constexpr float boxMargin = 0.04f;
    // The margin of a box of these half extents: `most`, or a quarter of its thinnest side if that
    // is less.
    static float boxMarginOf(const glm::vec3& half, float most) {
        return std::min(most, 0.5f * std::min({half.x, half.y, half.z}));
    }
    // How far clear of a surface the world puts a body that it moves there: one stopped by a sweep
    // short of what it hit, one pushed out of a solid of the level, one made short of a wall. It
    // starts the next step apart, so the contact solver finds it touching, not overlapping; less, and
    // rounding may leave it inside and its next sweep starts from within.
    static constexpr float clearance = 0.005f;
    // How fast a body put inside a solid of the level is pushed out of it, metres per second: out of
    // a metre of wall in six steps. It leaves no faster, whatever its own speed into the solid was;
    // faster, and a disc made in a wall would shoot out of it.
    static constexpr float escapeSpeed = 10.0f;

    // --- Box-triangle contacts

    // (How far apart a box and a triangle may lie and still get contact points is the library's
    // contact breaking threshold, named contactReach where the contacts are found.)
    // How much less deep a box face's axis, or an edge pair's, must be than the triangle's face before
    // it gives the contact: near ties go to the face, whose contact holds a box flat with several
    // points, where an edge's holds it by one and lets it rock.
    static constexpr float boxFaceBias = 0.001f;
    static constexpr float edgeBias = 0.002f;

    // --- Sweeps

    // Touches shallower than this are left to the contact solver: resting and sliding contacts, and
    // the last millimetres of a slow approach, which it holds without a stop. Deeper shows a disc
    // inside a wall. Larger, and discs sink that far into what they land on; smaller, and a sliding
    // disc is stopped over and over by the floor it slides on.
    static constexpr float solverSlop = 0.01f;
    // A sweep's conservative advancement counts a gap below this as a touch, and takes at most
    // maxAdvances steps towards it. A smaller distance costs advances; fewer advances leave a sweep
    // that grazes a surface short of where it would touch (it then reports where it got to).
    static constexpr float touchDistance = 0.001f;
    static constexpr int maxAdvances = 32;
    // The rounding of the hull a disc's boxes are swept as: enough for the casts' distance queries to
    // stay clear of overlap, where they lose their precision; little enough that a corner that leads
    // is met within 4 mm of where it is.
    static constexpr float hullMargin = 0.005f;
    // The rounding of the boxes a body not yet made is swept as, to find where it can be put: the
    // world's margin on a disc, 2.6 cm, would let a corner of the real, sharp box reach a centimetre
    // into a face before the sweep met it; a millimetre keeps that below half a millimetre.
    static constexpr float placementBoxMargin = 0.001f;
};
