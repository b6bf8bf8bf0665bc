// Bar shape geometry: pure functions over points and vertex lists, in drawing units
// (centimetres) and radians counter-clockwise from +X.
#include "module/rods/rod_geometry.h"

#include <cmath>

namespace rods {

double Angle(const Point& from, const Point& to) {
    double a = std::atan2(to.y - from.y, to.x - from.x);
    if (a < 0.0) {
        a += 2.0 * kPi;
    }
    // atan2 of a tiny negative y can round up to exactly 2π; the range is half-open.
    return a >= 2.0 * kPi ? 0.0 : a;
}

double Distance2d(const Point& a, const Point& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

bool SamePoint2d(const Point& a, const Point& b) {
    return std::fabs(a.x - b.x) < kEqualTolerance && std::fabs(a.y - b.y) < kEqualTolerance;
}

int HookLength(double diameterMm) {
    const double c = diameterMm / 10.0;
    const double factor = c >= 2.0 ? 12.854 : 8.927;
    return static_cast<int>(std::floor(c * factor + 0.5));
}

double BendDiameter(double diameterMm, bool smooth) {
    const double c = diameterMm / 10.0;
    return smooth ? c * 10.0 : c * 15.0;
}

double HookAngle(const Point& a, const Point& b, const Point& side) {
    const double dir = Angle(a, b);
    const double turn = kPi / 6.0;
    if (std::fabs(b.x - a.x) < kEqualTolerance) {
        const bool left = a.x > side.x;
        const bool upper = dir >= 0.0 && dir <= kPi;
        return (left == upper) ? dir + turn : dir - turn;
    }
    const double m = (b.y - a.y) / (b.x - a.x);
    const double lineY = m * side.x + (b.x * a.y - b.y * a.x) / (b.x - a.x);
    const bool above = side.y >= lineY;  // a point on the line counts as above
    if (m >= 0.0) {
        const bool firstQuadrant = dir >= 0.0 && dir <= kPi / 2.0;
        return (above == firstQuadrant) ? dir + turn : dir - turn;
    }
    const bool secondQuadrant = dir >= kPi / 2.0 && dir <= kPi;
    return (!above == secondQuadrant) ? dir + turn : dir - turn;
}

Point HookTip(const Point& a, const Point& b, const Point& side, double length) {
    const double theta = HookAngle(a, b, side);
    return {a.x + length * std::cos(theta), a.y + length * std::sin(theta), a.z};
}

double TurnDirection(const Point& p, const Point& q, const Point& s) {
    const double cross = (q.x - p.x) * (s.y - q.y) - (q.y - p.y) * (s.x - q.x);
    return cross >= 0.0 ? 1.0 : -1.0;
}

namespace {

double Deflection(double a1, double a2) {
    if (std::fabs(a2) < kEqualTolerance && a1 > kPi) {
        return 2.0 * kPi - a1;
    }
    if (std::fabs(a1) < kEqualTolerance && a2 > kPi) {
        return 2.0 * kPi - a2;
    }
    double d = std::fabs(a1 - a2);
    return d > kPi ? 2.0 * kPi - d : d;
}

double TangentLength(double radius, double deflection) {
    for (double right : {kPi / 2.0, 3.0 * kPi / 2.0, -3.0 * kPi / 2.0, -kPi / 2.0}) {
        if (std::fabs(deflection - right) < kEqualTolerance) {
            return radius;
        }
    }
    return std::fabs(radius * std::tan(deflection / 2.0));
}

}  // namespace

void RoundCorners(std::vector<Vertex>& vertices, double bendDiameter, bool smooth, int hooks) {
    const double radius = bendDiameter * 0.5;
    const bool firstHook = smooth && (hooks == kFirstHook || hooks == kBothHooks);
    const bool secondHook = smooth && (hooks == kSecondHook || hooks == kBothHooks);
    // The corner between a hook and the bar stays sharp: the hook is bent separately.
    long i = firstHook ? 1 : 0;
    while (i < static_cast<long>(vertices.size()) - (secondHook ? 3 : 2)) {
        const Point p = At(vertices[i]);
        const Point q = At(vertices[i + 1]);
        const Point s = At(vertices[i + 2]);
        const double a1 = Angle(p, q);
        const double a2 = Angle(q, s);
        const double k = TurnDirection(p, q, s);
        const double delta = Deflection(a1, a2);
        const double t = TangentLength(radius, delta);
        if (t <= Distance2d(p, q) && t <= Distance2d(q, s)) {
            Vertex t1;
            t1.x = q.x - t * std::cos(a1);
            t1.y = q.y - t * std::sin(a1);
            t1.bulge = std::fabs(std::tan(delta / 4.0)) * k;
            Vertex t2;
            t2.x = q.x + t * std::cos(a2);
            t2.y = q.y + t * std::sin(a2);
            vertices[i + 1] = t1;
            vertices.insert(vertices.begin() + i + 2, t2);
            i += 2;
        } else {
            i += 1;
        }
    }
}

double BarLength(const std::vector<Vertex>& vertices) {
    double total = 0.0;
    for (size_t i = 0; i + 1 < vertices.size(); ++i) {
        const Point p{vertices[i].x, vertices[i].y, 0.0};
        const Point q{vertices[i + 1].x, vertices[i + 1].y, 0.0};
        const double chord = Distance2d(p, q);
        const double b = vertices[i].bulge;
        if (std::fabs(b) < kEqualTolerance) {
            total += chord;
        } else {
            const double theta = std::fabs(4.0 * std::atan(b));
            total += theta * (chord / 2.0) / std::sin(theta / 2.0);
        }
    }
    return total;
}

SegmentRange BarSegments(int vertexCount, int hooks) {
    SegmentRange r;
    r.first = (hooks == kFirstHook || hooks == kBothHooks) ? 1 : 0;
    r.last = (hooks == kSecondHook || hooks == kBothHooks) ? vertexCount - 3 : vertexCount - 2;
    return r;
}

bool IsNearSegment(const Point& a, const Point& b, const Point& pick, double tolerance,
                   Point& nearest) {
    if (SamePoint2d(pick, a)) {
        nearest = a;
        return true;
    }
    if (SamePoint2d(pick, b)) {
        nearest = b;
        return true;
    }
    const double ab = Distance2d(a, b);
    const double ap = Distance2d(a, pick);
    const double bp = Distance2d(b, pick);
    const bool between = ap < ab && bp < ab;
    const bool nearA = ap < ab && bp > ab;
    if (std::fabs(b.x - a.x) < kEqualTolerance) {
        nearest = between ? Point{a.x, pick.y, 0.0}
                          : (nearA ? Point{a.x, a.y, 0.0} : Point{a.x, b.y, 0.0});
    } else {
        const double m = (b.y - a.y) / (b.x - a.x);
        if (std::fabs(m) >= kEqualTolerance) {
            if (between) {
                // Foot of the perpendicular from the pick onto the line through a and b.
                const double dx = b.x - a.x;
                const double dy = b.y - a.y;
                const double u = ((pick.x - a.x) * dx + (pick.y - a.y) * dy) / (dx * dx + dy * dy);
                nearest = {a.x + u * dx, a.y + u * dy, 0.0};
            } else {
                nearest = nearA ? a : b;
            }
        } else {
            nearest = between ? Point{pick.x, a.y, 0.0}
                              : (nearA ? Point{a.x, a.y, 0.0} : Point{b.x, a.y, 0.0});
        }
    }
    nearest.z = 0.0;
    return Distance2d(nearest, pick) <= tolerance;
}

bool IsNearLine(const Point& a, const Point& b, const Point& pick, double tolerance) {
    if (std::fabs(b.x - a.x) >= kEqualTolerance) {
        const double m = (b.y - a.y) / (b.x - a.x);
        const double y1 = a.y + m * (pick.x - tolerance - a.x);
        const double y2 = a.y + m * (pick.x + tolerance - a.x);
        if ((pick.y >= y1 && pick.y <= y2) || (pick.y >= y2 && pick.y <= y1)) {
            return true;
        }
        return !(std::fabs(y1 - y2) > tolerance || y1 - tolerance > pick.y ||
                 y1 + tolerance < pick.y);
    }
    // Distance across a vertical line, whatever the signs of the coordinates.
    return std::fabs(pick.x - a.x) <= tolerance;
}

}  // namespace rods
