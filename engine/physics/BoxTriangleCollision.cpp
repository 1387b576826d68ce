#include "engine/physics/BoxTriangleCollision.h"

#include "engine/physics/LevelCollisionMesh.h"

#include <BulletCollision/CollisionShapes/btTriangleShape.h>
#include <optional>

namespace {
// How much less deep (metres) a box face's or an edge pair's axis must be than the triangle's face
// before it gives the contact: near ties go to the face, whose contact holds a box flat with
// several points, where an edge's holds it by one.
constexpr btScalar boxFaceBias = 0.001f;
constexpr btScalar edgeBias = 0.002f;

enum class Feature { TriangleFace, BoxFace, Edges };

// A candidate contact normal in the box's frame, pointing from the triangle towards the box, with
// how far apart the two are along it (negative: how deep they overlap).
struct Axis {
    btVector3 normal;
    btScalar separation;
    Feature feature;
    int boxAxis = 0;
    int edge = 0;
};

// A convex polygon being clipped: a box face's four corners by the triangle's three sides, or the
// triangle by a box face's four sides. Each clip adds at most one corner.
struct Polygon {
    btVector3 points[8];
    int count = 0;
};

// Keeps the part of the polygon where normal . x >= offset.
void clip(Polygon& polygon, const btVector3& normal, btScalar offset) {
    Polygon kept;
    for (int i = 0; i < polygon.count; ++i) {
        const btVector3& a = polygon.points[i];
        const btVector3& b = polygon.points[(i + 1) % polygon.count];
        const btScalar da = normal.dot(a) - offset;
        const btScalar db = normal.dot(b) - offset;
        if (da >= 0.0f) {
            kept.points[kept.count++] = a;
        }
        if ((da >= 0.0f) != (db >= 0.0f)) {
            kept.points[kept.count++] = a + (b - a) * (da / (da - db));
        }
    }
    polygon = kept;
}

btScalar boxRadius(const btVector3& half, const btVector3& axis) {
    return btFabs(axis.x()) * half.x() + btFabs(axis.y()) * half.y() + btFabs(axis.z()) * half.z();
}

// Whether the segment from a to b passes through the box of these half extents at the origin.
bool segmentMeetsBox(const btVector3& a, const btVector3& b, const btVector3& half) {
    btScalar enter = 0.0f;
    btScalar leave = 1.0f;
    const btVector3 d = b - a;
    for (int k = 0; k < 3; ++k) {
        if (btFabs(d[k]) < SIMD_EPSILON) {
            if (btFabs(a[k]) > half[k]) {
                return false;
            }
            continue;
        }
        btScalar t0 = (-half[k] - a[k]) / d[k];
        btScalar t1 = (half[k] - a[k]) / d[k];
        if (t0 > t1) {
            std::swap(t0, t1);
        }
        enter = btMax(enter, t0);
        leave = btMin(leave, t1);
        if (enter > leave) {
            return false;
        }
    }
    return true;
}

// The point of segment [c, d] closest to segment [a, b].
btVector3 closestOnSecond(const btVector3& a, const btVector3& b, const btVector3& c, const btVector3& d) {
    const btVector3 u = b - a;
    const btVector3 v = d - c;
    const btVector3 w = a - c;
    const btScalar uu = u.dot(u), uv = u.dot(v), vv = v.dot(v), uw = u.dot(w), vw = v.dot(w);
    const btScalar denominator = uu * vv - uv * uv;
    btScalar s = denominator > SIMD_EPSILON ? btClamped((uv * vw - vv * uw) / denominator, btScalar(0), btScalar(1)) : 0.0f;
    btScalar t = vv > SIMD_EPSILON ? (uv * s + vw) / vv : 0.0f;
    if (t < 0.0f || t > 1.0f) {
        t = btClamped(t, btScalar(0), btScalar(1));
        s = uu > SIMD_EPSILON ? btClamped((uv * t - uw) / uu, btScalar(0), btScalar(1)) : 0.0f;
    }
    return c + v * t;
}

TriangleFacts factsOf(const btCollisionObjectWrapper& triangle) {
    if (const btCollisionObjectWrapper* mesh = triangle.m_parent) {
        if (const LevelCollisionMesh* level = LevelCollisionMesh::of(*mesh->getCollisionShape())) {
            return level->getMesh(triangle.m_partId).getFacts(static_cast<std::size_t>(triangle.m_index));
        }
    }
    return TriangleFacts{};
}

// One box against one triangle, both in the box's frame, where the box is centred at the origin and
// axis-aligned.
class BoxAgainstTriangle {
public:
    BoxAgainstTriangle(const btVector3& half, const btVector3 (&corners)[3], const TriangleFacts& facts, btScalar threshold)
        : half(half), p{corners[0], corners[1], corners[2]}, facts(facts), threshold(threshold) {}

    // The axis the contact is made along, or none when the two are apart or the box lies behind a
    // one-sided triangle.
    std::optional<Axis> chooseAxis();

    template <typename Add> void addContacts(const Axis& axis, Add&& add) const {
        if (axis.feature == Feature::BoxFace && addBoxFaceContacts(axis, add) > 0) {
            return;
        }
        if (axis.feature == Feature::Edges) {
            addEdgeContact(axis, add);
            return;
        }
        addTriangleFaceContacts(add);
    }

private:
    // The axis oriented towards the box, with the separation on that side.
    Axis test(const btVector3& axis, Feature feature, int boxAxis, int edge) const;
    bool mayPushAlong(const btVector3& axis) const { return facts.twoSided || axis.dot(normal) >= 0.0f; }

    template <typename Add> void addTriangleFaceContacts(Add&& add) const {
        const int k = normal.closestAxis();
        const btScalar side = normal[k] > 0.0f ? -half[k] : half[k];
        const int u = (k + 1) % 3;
        const int v = (k + 2) % 3;
        Polygon face;
        const btScalar signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& sign : signs) {
            btVector3 corner;
            corner[k] = side;
            corner[u] = sign[0] * half[u];
            corner[v] = sign[1] * half[v];
            face.points[face.count++] = corner;
        }
        for (int j = 0; j < 3; ++j) {
            const btVector3 inward = winding.cross(p[(j + 1) % 3] - p[j]);
            clip(face, inward, inward.dot(p[j]));
        }
        for (int i = 0; i < face.count; ++i) {
            const btScalar depth = normal.dot(face.points[i] - p[0]);
            if (depth < threshold) {
                add(normal, face.points[i] - normal * depth, depth);
            }
        }
    }

    template <typename Add> int addBoxFaceContacts(const Axis& axis, Add&& add) const {
        const int k = axis.boxAxis;
        Polygon triangle;
        for (const btVector3& corner : p) {
            triangle.points[triangle.count++] = corner;
        }
        for (int m = 0; m < 3; ++m) {
            if (m != k) {
                btVector3 unit(0.0f, 0.0f, 0.0f);
                unit[m] = 1.0f;
                clip(triangle, -unit, -half[m]);
                clip(triangle, unit, -half[m]);
            }
        }
        int added = 0;
        for (int i = 0; i < triangle.count; ++i) {
            const btScalar depth = -half[k] - axis.normal.dot(triangle.points[i]);
            if (depth < threshold) {
                add(axis.normal, triangle.points[i], depth);
                ++added;
            }
        }
        return added;
    }

    template <typename Add> void addEdgeContact(const Axis& axis, Add&& add) const {
        btVector3 from, to;
        for (int m = 0; m < 3; ++m) {
            const btScalar extent = m == axis.boxAxis ? half[m] : (axis.normal[m] > 0.0f ? -half[m] : half[m]);
            from[m] = m == axis.boxAxis ? -extent : extent;
            to[m] = extent;
        }
        const btVector3 onTriangle = closestOnSecond(from, to, p[axis.edge], p[(axis.edge + 1) % 3]);
        add(axis.normal, onTriangle, axis.separation);
    }

    btVector3 half;
    btVector3 p[3];
    TriangleFacts facts;
    btScalar threshold;
    btVector3 winding{0.0f, 0.0f, 0.0f}; // the triangle's normal by the turn of its corners
    btVector3 normal{0.0f, 0.0f, 0.0f};  // its normal on the box's side
};

Axis BoxAgainstTriangle::test(const btVector3& axis, Feature feature, int boxAxis, int edge) const {
    btScalar lowest = axis.dot(p[0]);
    btScalar highest = lowest;
    for (int i = 1; i < 3; ++i) {
        const btScalar along = axis.dot(p[i]);
        lowest = btMin(lowest, along);
        highest = btMax(highest, along);
    }
    const btScalar radius = boxRadius(half, axis);
    const btScalar above = -radius - highest; // the box on the positive side of the triangle
    const btScalar below = lowest - radius;
    return above >= below ? Axis{axis, above, feature, boxAxis, edge} : Axis{-axis, below, feature, boxAxis, edge};
}

std::optional<Axis> BoxAgainstTriangle::chooseAxis() {
    winding = (p[1] - p[0]).cross(p[2] - p[0]);
    if (winding.length2() < SIMD_EPSILON * SIMD_EPSILON) {
        return std::nullopt;
    }
    winding.normalize();
    normal = facts.twoSided && winding.dot(p[0]) > 0.0f ? -winding : winding;
    const btScalar height = -normal.dot(p[0]);
    const btScalar radius = boxRadius(half, normal);
    if ((!facts.twoSided && height + radius < 0.0f) || height - radius > threshold) {
        return std::nullopt;
    }
    Axis best{normal, height - radius, Feature::TriangleFace};
    // Only a real edge of the level that reaches into the box makes its own contact; a seam, or an
    // edge the box is nowhere near, leaves the face's normal alone.
    const btVector3 reach = half + btVector3(threshold, threshold, threshold);
    int edgesInBox = 0;
    for (int j = 0; j < 3; ++j) {
        if ((facts.edges >> j & 1) != 0 && segmentMeetsBox(p[j], p[(j + 1) % 3], reach)) {
            edgesInBox |= 1 << j;
        }
    }
    for (int k = 0; k < 3; ++k) {
        btVector3 unit(0.0f, 0.0f, 0.0f);
        unit[k] = 1.0f;
        const Axis axis = test(unit, Feature::BoxFace, k, 0);
        if (axis.separation > threshold) {
            return std::nullopt;
        }
        if (edgesInBox != 0 && mayPushAlong(axis.normal) && axis.separation > best.separation + boxFaceBias) {
            best = axis;
        }
    }
    for (int j = 0; j < 3; ++j) {
        const btVector3 edge = p[(j + 1) % 3] - p[j];
        for (int k = 0; k < 3; ++k) {
            btVector3 unit(0.0f, 0.0f, 0.0f);
            unit[k] = 1.0f;
            btVector3 cross = unit.cross(edge);
            if (cross.length2() < 1e-12f * edge.length2()) {
                continue;
            }
            const Axis axis = test(cross.normalized(), Feature::Edges, k, j);
            if (axis.separation > threshold) {
                return std::nullopt;
            }
            if ((edgesInBox >> j & 1) != 0 && mayPushAlong(axis.normal) && axis.separation > best.separation + edgeBias) {
                best = axis;
            }
        }
    }
    return best;
}
} // namespace

void BoxTriangleCollision::processCollision(const btCollisionObjectWrapper* body0, const btCollisionObjectWrapper* body1,
                                            const btDispatcherInfo&, btManifoldResult* result) {
    btPersistentManifold* manifold = result->getPersistentManifold();
    if (!manifold) {
        return;
    }
    const auto* box = static_cast<const btBoxShape*>(body0->getCollisionShape());
    const auto* triangle = static_cast<const btTriangleShape*>(body1->getCollisionShape());
    const btTransform& boxToWorld = body0->getWorldTransform();
    const btTransform toBox = boxToWorld.inverseTimes(body1->getWorldTransform());
    const btVector3 corners[3] = {toBox * triangle->m_vertices1[0], toBox * triangle->m_vertices1[1],
                                  toBox * triangle->m_vertices1[2]};
    BoxAgainstTriangle pair(box->getHalfExtentsWithMargin(), corners, factsOf(*body1), manifold->getContactBreakingThreshold());
    if (const std::optional<Axis> axis = pair.chooseAxis()) {
        pair.addContacts(*axis, [&](const btVector3& normal, const btVector3& onTriangle, btScalar depth) {
            result->addContactPoint(boxToWorld.getBasis() * normal, boxToWorld * onTriangle, depth);
        });
    }
}

btCollisionAlgorithm* BoxTriangleCollision::CreateFunc::CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                                                 const btCollisionObjectWrapper*,
                                                                                 const btCollisionObjectWrapper*) {
    void* memory = info.m_dispatcher1->allocateCollisionAlgorithm(sizeof(BoxTriangleCollision));
    return new (memory) BoxTriangleCollision(info);
}
