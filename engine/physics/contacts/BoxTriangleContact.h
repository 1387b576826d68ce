#pragma once

#include "engine/physics/level/TriangleFacts.h"

#include <LinearMath/btVector3.h>
#include <optional>

// The contact points of a box and one triangle of the level, in the box's frame (centred at the
// origin, axis-aligned), found by separating axes and clipping. A box lying on a face touches it
// at every corner in the same step, so the solver holds it flat and stops it square, where a
// single deepest point per step lets it rock, spin and sink an edge.
//
// The triangle's facts decide what may push: a triangle of a closed solid pushes only out of its
// front, and a box that lies wholly behind it is left to the faces it is near; a covered triangle
// never pushes. Only a real edge of the level that reaches into the box may give a contact a normal
// other than the face's, so a box sliding over the seam between two triangles of a flat floor meets
// the floor, not the seam's ridge.
class BoxTriangleContact {
public:
    BoxTriangleContact(const btVector3& halfExtents, const btVector3 (&corners)[3], const TriangleFacts& facts,
                       btScalar threshold);

    // Calls add(normal, point on the triangle, distance) for each contact point: the normal points
    // from the triangle towards the box, the distance is negative where the two overlap. Points
    // further apart than the threshold are left out.
    template <typename Add>
    void find(Add&& add) {
        const std::optional<Axis> axis = chooseAxis();
        if (!axis) {
            return;
        }
        switch (axis->feature) {
        case Feature::TriangleFace:
            addTriangleFaceContacts(add);
            break;
        case Feature::BoxFace:
            addBoxFaceContacts(*axis, add);
            break;
        case Feature::Edges:
            addEdgeContact(*axis, add);
            break;
        }
    }

private:
    enum class Feature { TriangleFace, BoxFace, Edges };

    // A candidate contact normal, from the triangle towards the box, with how far apart the two are
    // along it (negative: how deep they overlap).
    struct Axis {
        btVector3 normal;
        btScalar separation;
        Feature feature;
        int boxAxis = 0;
        int edge = 0;
    };

    // A convex polygon being clipped: a box face's four corners by the triangle's three sides, or the
    // triangle by a box face's four sides. Each clip adds at most one corner; the room for more
    // covers what rounding adds.
    struct Polygon {
        static constexpr int capacity = 12;
        btVector3 points[capacity];
        int count = 0;
        void add(const btVector3& point);
        // Keeps the part where normal . x >= offset, within the clip's tolerance. normal is a unit
        // vector: the tolerance is a distance, the same on a millimetre's side as on a wall's.
        void clip(const btVector3& normal, btScalar offset);
    };

    // The axis that parts the two least, or none when some axis parts them by more than the
    // threshold or the box lies behind a one-sided triangle: wholly, or so that it overlaps it least
    // along an axis that points behind it (a box inside the solid next to this face).
    std::optional<Axis> chooseAxis();
    // Whether the box faces', or the edge pairs', axes leave no contact to make; else the best of
    // them that may push replaces best.
    bool separatesByFaces(std::optional<Axis>& best, int edgesInBox) const;
    bool separatesByEdges(std::optional<Axis>& best, int edgesInBox) const;
    // The real edges of the triangle that reach into the box, as bits.
    int realEdgesInBox() const;
    // The axis oriented towards the box, with the separation on that side.
    Axis test(const btVector3& axis, Feature feature, int boxAxis, int edge) const;
    bool mayPushAlong(const btVector3& axis) const { return facts.twoSided || axis.dot(normal) >= 0.0f; }

    template <typename Add>
    void addTriangleFaceContacts(Add&& add) const {
        Polygon face = incidentBoxFace();
        for (int j = 0; j < 3; ++j) {
            const btVector3 inward = winding.cross(p[(j + 1) % 3] - p[j]).normalized();
            face.clip(inward, inward.dot(p[j]));
        }
        for (int i = 0; i < face.count; ++i) {
            const btScalar depth = normal.dot(face.points[i] - p[0]);
            if (depth < threshold) {
                add(normal, face.points[i] - normal * depth, depth);
            }
        }
    }

    template <typename Add>
    void addBoxFaceContacts(const Axis& axis, Add&& add) const {
        const Polygon triangle = triangleWithinBoxFace(axis.boxAxis);
        for (int i = 0; i < triangle.count; ++i) {
            const btScalar depth = -half[axis.boxAxis] - axis.normal.dot(triangle.points[i]);
            if (depth < threshold) {
                add(axis.normal, triangle.points[i], depth);
            }
        }
    }

    template <typename Add>
    void addEdgeContact(const Axis& axis, Add&& add) const {
        add(axis.normal, edgeContactPoint(axis), axis.separation);
    }

    // The face of the box that looks most against the triangle's normal.
    Polygon incidentBoxFace() const;
    // The triangle clipped to the sides of the box's faces across boxAxis.
    Polygon triangleWithinBoxFace(int boxAxis) const;
    // Where the triangle's edge comes closest to the box's edge along the axis's box axis.
    btVector3 edgeContactPoint(const Axis& axis) const;

    btVector3 half;
    btVector3 p[3];
    TriangleFacts facts;
    btScalar threshold;
    btVector3 winding{0.0f, 0.0f, 0.0f}; // the triangle's normal by the turn of its corners
    btVector3 normal{0.0f, 0.0f, 0.0f};  // its normal on the box's side
};
