// Picking and object snaps against the entities' geometry.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>
#include <string>

#include "host/drawing/drawing_access.h"
#include "host/drawing/entity_geometry.h"
#include "host/drawing/picking.h"
#include "host/drawing/session.h"

namespace host {

namespace {

double Aperture() {
    const SystemVariables& variables = GetSession().variables;
    return variables.viewSize * variables.pickBox / 500.0;
}

double DistanceToEntity(const std::vector<Piece>& pieces, Vec2 p) {
    double best = INFINITY;
    for (const Piece& piece : pieces)
        best = std::fmin(best, Distance(p, NearestOnPiece(piece, p)));
    return best;
}

// Calls visit(id, pieces, distance) for every live entity whose geometry lies within the
// pick aperture of p, in the order the entities were made.
template <class Visit>
void ForEachEntityNear(Vec2 p, Visit visit) {
    const Database& drawing = CurrentDrawing();
    const double aperture = Aperture();
    // The grid holds every entity whose geometry could lie within the aperture.
    for (ObjectId id : drawing.EntitiesNear(p.x, p.y, aperture)) {
        const Object* object = drawing.FindTopLevel(id);
        if (!object)
            continue;
        const std::vector<Piece> pieces = EntityPieces(drawing, *object);
        const double distance = IsSolidFill(drawing, *object) && InsideRegion(pieces, p)
                                    ? 0.0
                                    : DistanceToEntity(pieces, p);
        if (!pieces.empty() && distance <= aperture)
            visit(id, pieces, distance);
    }
}

enum SnapMode : unsigned { kEnd = 1, kMid = 2, kCen = 4, kIns = 64, kNea = 512 };

}  // namespace

// The snap modes of a mode text like "END, mid"; false when a word is not a snap mode.
bool ParseSnapModes(const char* text, unsigned& modes) {
    modes = 0;
    std::string word;
    auto take = [&]() {
        if (word.empty())
            return true;
        if (word.front() == '_')
            word.erase(0, 1);
        for (char& c : word)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (word.rfind("END", 0) == 0)
            modes |= kEnd;
        else if (word.rfind("MID", 0) == 0)
            modes |= kMid;
        else if (word.rfind("CEN", 0) == 0)
            modes |= kCen;
        else if (word.rfind("NEA", 0) == 0)
            modes |= kNea;
        else if (word.rfind("INS", 0) == 0)
            modes |= kIns;
        else if (word != "NON" && word != "NONE" && word != "OFF")
            return false;
        word.clear();
        return true;
    };
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == ',' || *c == ' ') {
            if (!take())
                return false;
        } else {
            word += *c;
        }
    }
    return take();
}

namespace {

void Consider(Vec2 candidate, Vec2 p, double& best, Vec2& snapped) {
    double d = Distance(candidate, p);
    if (d < best) {
        best = d;
        snapped = candidate;
    }
}

}  // namespace

bool PickEntityAt(const sds_point point, sds_name entity) {
    if (point == nullptr || entity == nullptr)
        return false;
    const Vec2 p{point[0], point[1]};
    double best = INFINITY;
    ObjectId found;
    ForEachEntityNear(p, [&](ObjectId id, const std::vector<Piece>&, double distance) {
        // Later entities win ties: they are drawn on top.
        if (distance <= best) {
            best = distance;
            found = id;
        }
    });
    if (!found)
        return false;
    ToName(found, entity);
    return true;
}

std::vector<ObjectId> EntitiesAt(const sds_point point) {
    std::vector<std::pair<double, ObjectId>> found;
    if (point == nullptr)
        return {};
    // Visited in the order the entities were made: a stable sort keeps that order among
    // equal distances, and the walk from the back puts the one made last first.
    ForEachEntityNear({point[0], point[1]},
                      [&](ObjectId id, const std::vector<Piece>&, double distance) {
                          found.emplace_back(-distance, id);
                      });
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<ObjectId> nearestFirst;
    nearestFirst.reserve(found.size());
    for (auto it = found.rbegin(); it != found.rend(); ++it)
        nearestFirst.push_back(it->second);
    return nearestFirst;
}

bool SnapPoint(const sds_point point, unsigned modes, sds_point result) {
    const Vec2 p{point[0], point[1]};
    double best = INFINITY;
    Vec2 snapped;
    ForEachEntityNear(p, [&](ObjectId, const std::vector<Piece>& pieces, double) {
        for (const Piece& piece : pieces) {
            const bool spot = piece.kind == Piece::Kind::Spot;
            if ((modes & kEnd) && piece.endsSnap && !spot) {
                Consider(piece.a, p, best, snapped);
                Consider(piece.b, p, best, snapped);
            }
            if ((modes & kMid) && piece.endsSnap && !spot) {
                Consider(PieceMidpoint(piece), p, best, snapped);
            }
            if ((modes & kCen) && piece.kind == Piece::Kind::Arc) {
                Consider(piece.centre, p, best, snapped);
            }
            if ((modes & kIns) && spot)
                Consider(piece.a, p, best, snapped);
            if ((modes & kNea) && (!spot || piece.endsSnap)) {
                Consider(NearestOnPiece(piece, p), p, best, snapped);
            }
        }
    });
    if (best == INFINITY)
        return false;
    result[0] = snapped.x;
    result[1] = snapped.y;
    result[2] = point[2];
    return true;
}

bool SnapWithRunningModes(const sds_point point, sds_point result) {
    const int osMode = GetSession().variables.osMode;
    if (point == nullptr || result == nullptr)
        return false;
    if (osMode == 0 || (osMode & SDS_OSMODE_SUSPEND) != 0)
        return false;
    return SnapPoint(point, static_cast<unsigned>(osMode) & (kEnd | kMid | kCen | kIns | kNea),
                     result);
}

}  // namespace host
