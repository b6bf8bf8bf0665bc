// Entity geometry for picking and snaps: polylines with bulge arcs, circles, arcs, texts as
// boxes, hatch boundaries and the inside of solid fills, points.
#include "host/drawing/entity_geometry.h"

#include <cmath>
#include <numbers>
#include <string>

#include "host/drawing/text_extent.h"

namespace host {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

double NormalAngle(double angle) {
    angle = std::fmod(angle, kTwoPi);
    return angle < 0 ? angle + kTwoPi : angle;
}

Piece SegmentPiece(Vec2 a, Vec2 b) {
    Piece piece;
    piece.kind = Piece::Kind::Segment;
    piece.a = a;
    piece.b = b;
    return piece;
}

// A polyline segment from a to b whose bulge is the tangent of a quarter of its angle.
Piece BulgePiece(Vec2 a, Vec2 b, double bulge) {
    double chord = Distance(a, b);
    if (std::fabs(bulge) < 1e-12 || chord < 1e-12)
        return SegmentPiece(a, b);
    Vec2 mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
    Vec2 left{-(b.y - a.y) / chord, (b.x - a.x) / chord};
    double offset = chord / 2 * (1 - bulge * bulge) / (2 * bulge);
    Piece piece;
    piece.kind = Piece::Kind::Arc;
    piece.centre = {mid.x + left.x * offset, mid.y + left.y * offset};
    piece.radius = Distance(piece.centre, a);
    double angleA = std::atan2(a.y - piece.centre.y, a.x - piece.centre.x);
    double sweep = std::fabs(4 * std::atan(bulge));
    // Arcs run counter-clockwise: a clockwise bulge is the same arc from b to a.
    piece.a = bulge > 0 ? a : b;
    piece.b = bulge > 0 ? b : a;
    piece.start = bulge > 0 ? NormalAngle(angleA) : NormalAngle(angleA - sweep);
    piece.sweep = sweep;
    return piece;
}

Piece CirclePiece(Vec2 centre, double radius, double start, double sweep, bool ends) {
    Piece piece;
    piece.kind = Piece::Kind::Arc;
    piece.centre = centre;
    piece.radius = radius;
    piece.start = NormalAngle(start);
    piece.sweep = sweep;
    piece.a = {centre.x + radius * std::cos(start), centre.y + radius * std::sin(start)};
    piece.b = {centre.x + radius * std::cos(start + sweep),
               centre.y + radius * std::sin(start + sweep)};
    piece.endsSnap = ends;
    return piece;
}

void AddPolyline(std::vector<Piece>& pieces, const std::vector<Vec2>& points,
                 const std::vector<double>& bulges, bool closed) {
    size_t n = points.size();
    for (size_t i = 0; i + 1 < n || (closed && n > 1 && i < n); ++i) {
        pieces.push_back(BulgePiece(points[i], points[(i + 1) % n], bulges[i]));
    }
}

}  // namespace

double Distance(Vec2 a, Vec2 b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

Vec2 NearestOnPiece(const Piece& piece, Vec2 p) {
    switch (piece.kind) {
        case Piece::Kind::Spot:
            return piece.a;
        case Piece::Kind::Segment: {
            double dx = piece.b.x - piece.a.x, dy = piece.b.y - piece.a.y;
            double length2 = dx * dx + dy * dy;
            double t =
                length2 > 0 ? ((p.x - piece.a.x) * dx + (p.y - piece.a.y) * dy) / length2 : 0;
            t = std::fmax(0.0, std::fmin(1.0, t));
            return {piece.a.x + t * dx, piece.a.y + t * dy};
        }
        case Piece::Kind::Arc: {
            double angle = std::atan2(p.y - piece.centre.y, p.x - piece.centre.x);
            if (NormalAngle(angle - piece.start) <= piece.sweep + 1e-12) {
                return {piece.centre.x + piece.radius * std::cos(angle),
                        piece.centre.y + piece.radius * std::sin(angle)};
            }
            return Distance(p, piece.a) <= Distance(p, piece.b) ? piece.a : piece.b;
        }
    }
    return piece.a;
}

Vec2 PieceMidpoint(const Piece& piece) {
    if (piece.kind == Piece::Kind::Arc) {
        double angle = piece.start + piece.sweep / 2;
        return {piece.centre.x + piece.radius * std::cos(angle),
                piece.centre.y + piece.radius * std::sin(angle)};
    }
    return {(piece.a.x + piece.b.x) / 2, (piece.a.y + piece.b.y) / 2};
}

double EstimatedTextWidth(std::string_view text, double height, double widthFactor) {
    double characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "%%") == 0 && i + 2 < text.size()) {
            i += 2;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) {
            continue;
        }
        ++characters;
    }
    return 0.6 * height * widthFactor * characters;
}

std::vector<Piece> EntityPieces(const Database& drawing, const Object& entity) {
    std::vector<Piece> pieces;
    const std::string_view type = drawing.TypeName(entity);
    std::vector<Vec2> points;
    std::vector<double> bulges;
    Vec2 p10, p11;
    bool has11 = false;
    double radius = 0, height = 0, rotation = 0, start = 0, end = 0;
    int flags = 0, horizontal = 0, vertical = 0;
    std::string_view text;
    bool closedPath = false;
    bool collecting = false;  // inside a hatch's polyline boundary path
    int remaining = 0;
    auto finishPath = [&]() {
        AddPolyline(pieces, points, bulges, closedPath);
        points.clear();
        bulges.clear();
        collecting = false;
    };
    for (const Group& group : entity.body) {
        if (collecting && group.code != 42 && !(group.code == 10 && remaining > 0))
            finishPath();
        switch (group.code) {
            case 10:
                p10 = {group.point[0], group.point[1]};
                if (type == "LWPOLYLINE" || collecting) {
                    points.push_back(p10);
                    bulges.push_back(0);
                    --remaining;
                }
                break;
            case 11:
                p11 = {group.point[0], group.point[1]};
                has11 = true;
                break;
            case 40:
                radius = height = group.real;
                break;
            case 42:
                if (!bulges.empty())
                    bulges.back() = group.real;
                break;
            case 50:
                rotation = start = group.real;
                break;
            case 51:
                end = group.real;
                break;
            case 70:
                flags = group.integer;
                break;
            case 72:
                horizontal = group.integer;
                break;
            case 73:
                closedPath = group.integer != 0;
                vertical = group.integer;
                break;
            case 93:
                if (type == "HATCH" && group.integer > 0) {
                    collecting = true;
                    remaining = group.integer;
                }
                break;
            case 1:
                text = group.text;
                break;
            default:
                break;
        }
    }
    if (collecting)
        finishPath();
    if (type == "LINE") {
        pieces.push_back(SegmentPiece(p10, p11));
    } else if (type == "LWPOLYLINE") {
        AddPolyline(pieces, points, bulges, (flags & 1) != 0);
    } else if (type == "CIRCLE") {
        pieces.push_back(CirclePiece(p10, radius, 0, kTwoPi, false));
    } else if (type == "ARC") {
        double from = start, to = end;  // radians, as the drawing keeps them
        double sweep = NormalAngle(to - from);
        if (sweep == 0)
            sweep = kTwoPi;
        pieces.push_back(CirclePiece(p10, radius, from, sweep, true));
    } else if (type == "POINT") {
        Piece spot;
        spot.a = spot.b = p10;
        pieces.push_back(spot);
    } else if (type == "TEXT") {
        // The box the characters cover, from the point the alignment refers to: the second
        // point but for texts on their base line at the left and aligned or fitted ones.
        const bool fromFirst =
            horizontal == 3 || horizontal == 5 || (horizontal == 0 && vertical == 0) || !has11;
        const Vec2 at = fromFirst ? p10 : p11;
        const TextExtent box =
            TextExtentOf(height, TextAdvanceEm(ShownCharacters(text)), horizontal, vertical);
        double c = std::cos(rotation);
        double s = std::sin(rotation);
        auto corner = [&](double u, double v) {
            return Vec2{at.x + u * c - v * s, at.y + u * s + v * c};
        };
        Vec2 corners[4] = {corner(box.left, -box.below), corner(box.right, -box.below),
                           corner(box.right, box.above), corner(box.left, box.above)};
        for (int i = 0; i < 4; ++i) {
            pieces.push_back(SegmentPiece(corners[i], corners[(i + 1) % 4]));
            pieces.back().endsSnap = false;
        }
        Piece insertion;
        insertion.a = insertion.b = at;
        insertion.endsSnap = false;
        pieces.push_back(insertion);
    }
    return pieces;
}

bool IsSolidFill(const Database& drawing, const Object& entity) {
    if (drawing.TypeName(entity) != "HATCH")
        return false;
    for (const Group& group : entity.body) {
        if (group.code == 70)
            return (group.integer & 1) != 0;
    }
    return false;
}

bool InsideRegion(const std::vector<Piece>& pieces, Vec2 p) {
    // Crossings of the ray from p towards +x: an odd count is inside.
    int crossings = 0;
    for (const Piece& piece : pieces) {
        if (piece.kind == Piece::Kind::Segment) {
            if ((piece.a.y > p.y) != (piece.b.y > p.y)) {
                const double t = (p.y - piece.a.y) / (piece.b.y - piece.a.y);
                if (piece.a.x + t * (piece.b.x - piece.a.x) > p.x)
                    ++crossings;
            }
        } else if (piece.kind == Piece::Kind::Arc) {
            const double dy = p.y - piece.centre.y;
            if (std::fabs(dy) >= piece.radius)
                continue;
            const double dx = std::sqrt(piece.radius * piece.radius - dy * dy);
            for (double x : {piece.centre.x - dx, piece.centre.x + dx}) {
                const double angle = std::atan2(dy, x - piece.centre.x);
                if (x > p.x && NormalAngle(angle - piece.start) < piece.sweep)
                    ++crossings;
            }
        }
    }
    return crossings % 2 == 1;
}

}  // namespace host
