// The plane geometry of an entity as the host sees it for picking and object snaps: line
// segments, arcs and single points.
#pragma once

#include <string_view>
#include <vector>

#include "host/drawing/database.h"

namespace host {

struct Vec2 {
    double x = 0;
    double y = 0;
};

struct Piece {
    enum class Kind { Segment, Arc, Spot } kind = Kind::Spot;
    Vec2 a, b;             // Segment ends; Arc start and end (counter-clockwise from a to b)
    Vec2 centre;           // Arc
    double radius = 0;     // Arc
    double start = 0;      // Arc: start angle, radians
    double sweep = 0;      // Arc: counter-clockwise sweep, radians (2*pi for a full circle)
    bool endsSnap = true;  // whether a and b are endpoints (not for circles)
};

// The pieces of a live entity's geometry (empty for kinds without geometry). A text is the box
// its characters cover in the measured font, placed by its alignment.
std::vector<Piece> EntityPieces(const Database& drawing, const Object& entity);

// Whether the entity is a solid fill (a hatch with the solid-fill flag): a point inside it lies
// on it.
bool IsSolidFill(const Database& drawing, const Object& entity);
// Whether the point lies inside the region that the pieces bound (closed paths; even-odd).
bool InsideRegion(const std::vector<Piece>& pieces, Vec2 p);

// The point of a piece nearest to p, and its distance.
Vec2 NearestOnPiece(const Piece& piece, Vec2 p);
double Distance(Vec2 a, Vec2 b);

// Midpoint of a segment or arc piece.
Vec2 PieceMidpoint(const Piece& piece);

// About how wide a single-line text is: each character as shown ("%%c" one, a UTF-8
// sequence one) 0.6 of the height, times the width factor.
double EstimatedTextWidth(std::string_view text, double height, double widthFactor = 1.0);

}  // namespace host
