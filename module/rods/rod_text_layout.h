// Where the length texts of a bar's straight and arc segments go, and how a description on a
// leader is laid out, computed without the host so that the drawing operations only make them.
#pragma once

#include <string>

#include "module/rods/rod_geometry.h"

namespace rods {

// One segment length text: centred on `at`, turned by `rotation` (radians).
struct SegmentText {
    Point at;
    double rotation = 0.0;
    int horizontal = 1;
    int vertical = 0;
    std::string text;
};

// Length of the segment that starts at `from`: the chord, or the arc when it has a bulge.
double SegmentLength(const Vertex& from, const Vertex& to);

// The text of straight segment pq, h high: it reads from left to right or upwards and keeps
// half a text height clear of the segment.
SegmentText PlaceStraightDimension(const Point& p, const Point& q, double h);

// The text of the arc from p to q with `bulge`: turned like a straight segment's text by the
// chord's direction, and set outside the arc's middle by half a text height.
SegmentText PlaceArcDimension(const Point& p, const Point& q, double bulge, double h);

// A description on a leader: a polyline from the start point to the second point and on along
// a horizontal shelf to `shelfEnd`, the number in a circle beyond the shelf, and for the full
// description the count, sign and main texts standing on the shelf.
struct LeaderLayout {
    double width = 0.0;  // estimated width of the line of texts
    double shelf = 0.0;  // length of the horizontal shelf
    Point shelfEnd;
    Point circleCentre;  // also where the centred number text goes
    double radius = 0.0;
    Point main;   // left-aligned main text; the right-aligned sign text ends here too
    Point count;  // right-aligned count text
};

// `direction` decides the side of the shelf: to the right unless it lies left of `second`.
LeaderLayout LayoutLeader(const Point& second, const Point& direction, double h,
                          const std::string& mainText, const std::string& countText,
                          bool numberOnly);

}  // namespace rods
