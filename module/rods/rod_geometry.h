// Shape of a bar without the host: hook lengths and sides, bend diameters, rounded corners,
// developed length and the near-a-segment tests that picking relies on.
#pragma once

#include <vector>

#include "module/entities/point_ext.h"

namespace rods {

// Two coordinates or lengths closer than this are the same point or length.
inline constexpr double kEqualTolerance = 0.001;
inline constexpr double kPi = 3.14159265358979323846;

// Hook codes kept in a bar's record.
inline constexpr int kNoHooks = 0;
inline constexpr int kFirstHook = 1;
inline constexpr int kSecondHook = 2;
inline constexpr int kBothHooks = 3;

struct Point {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Bars are ordered arrays of polyline vertices; the bulge shapes the segment that starts at one.
using Vertex = CSDSPointExt;

// Direction from `from` to `to`, counter-clockwise from +X, in 0 .. 2π.
double Angle(const Point& from, const Point& to);
double Distance2d(const Point& a, const Point& b);
// Two points are the same when x and y each differ by less than kEqualTolerance.
bool SamePoint2d(const Point& a, const Point& b);
inline Point At(const Vertex& v) {
    return {v.x, v.y, v.z};
}

// Hook length in whole centimetres for a bar of `diameterMm`; the factor grows at 20 mm.
int HookLength(double diameterMm);

// Bend (mandrel) diameter in centimetres: ten bar diameters for smooth steel, fifteen for ribbed.
double BendDiameter(double diameterMm, bool smooth);

// Direction of a hook stroke that leaves the end vertex `a` (whose neighbour is `b`) at 30
// degrees to the end segment, on the side of line ab where `side` lies.
double HookAngle(const Point& a, const Point& b, const Point& side);

// Tip of such a hook of length `length`.
Point HookTip(const Point& a, const Point& b, const Point& side, double length);

// +1 when P, Q, S turn left (counter-clockwise) at Q, else -1.
double TurnDirection(const Point& p, const Point& q, const Point& s);

// Replaces every sharp corner that is not next to a hook of smooth steel by an arc of radius
// bendDiameter / 2; corners whose legs are shorter than the tangent length stay sharp.
void RoundCorners(std::vector<Vertex>& vertices, double bendDiameter, bool smooth, int hooks);

// Developed length of the polyline (arcs along their curve, hook strokes included).
double BarLength(const std::vector<Vertex>& vertices);

// Range of the segments that are bar and not hook strokes, for a bar of `vertexCount`
// vertices; empty (first > last) when there is none.
struct SegmentRange {
    int first = 0;
    int last = -1;
};
SegmentRange BarSegments(int vertexCount, int hooks);

// Whether `pick` lies within `tolerance` of segment ab; `nearest` is the nearest point of it.
bool IsNearSegment(const Point& a, const Point& b, const Point& pick, double tolerance,
                   Point& nearest);

// Whether `pick` lies within `tolerance` of the infinite line through a and b.
bool IsNearLine(const Point& a, const Point& b, const Point& pick, double tolerance);

}  // namespace rods
