// The roles of point groups, from the DXF reference of each entity type.
#include "host/drawing/point_roles.h"

namespace host {
namespace {

struct Listed {
    std::string_view type;
    int directions[7];
};

// Types whose direction groups are fixed codes; every other point group of theirs is a
// position.
constexpr Listed kListed[] = {
    {"MTEXT", {11, 0}},
    {"ELLIPSE", {11, 0}},
    {"SPLINE", {12, 13, 0}},
    {"IMAGE", {11, 12, 13, 14, 0}},
    {"WIPEOUT", {11, 12, 13, 14, 0}},
    {"XLINE", {11, 0}},
    {"RAY", {11, 0}},
    {"VIEWPORT", {12, 13, 14, 15, 16, 17, 0}},
    {"MLINE", {12, 13, 0}},
    {"TOLERANCE", {11, 0}},
    {"ACAD_TABLE", {11, 0}},
    {"LIGHT", {11, 0}},
};

bool In(const int* codes, int code) {
    for (; *codes != 0; ++codes) {
        if (*codes == code)
            return true;
    }
    return false;
}

}  // namespace

PointRoles::PointRoles(std::string_view type) {
    if (type == "HATCH") {
        kind_ = Kind::Hatch;
    } else if (type == "POLYLINE") {
        kind_ = Kind::Polyline;
    } else if (type == "MULTILEADER" || type == "MLEADER") {
        kind_ = Kind::Multileader;
    } else {
        for (const Listed& listed : kListed) {
            if (listed.type == type) {
                kind_ = Kind::Listed;
                directions_ = listed.directions;
            }
        }
    }
}

PointRole PointRoles::Next(const Group& group) {
    const int code = group.code;
    switch (kind_) {
        case Kind::Plain:
            break;
        case Kind::Listed:
            if (group.kind == ValueKind::Point && In(directions_, code))
                return PointRole::Direction;
            break;
        case Kind::Polyline:
            if (group.kind == ValueKind::Point && code == 10)
                return PointRole::Elevation;  // the vertices are VERTEX entities
            break;
        case Kind::Hatch:
            // Boundary paths: a polyline path (92 with bit 2) has only vertices; an edge path
            // gives each edge's type in 72: 3 an ellipse (11 its axis), 4 a spline (12, 13
            // its end tangents).
            if (code == 92) {
                polylinePath_ = (group.integer & 2) != 0;
                edge_ = 0;
            } else if (code == 72 && !polylinePath_) {
                edge_ = group.integer;
            } else if (code == 75) {
                edge_ = 0;  // the pattern follows the boundaries
            }
            if (group.kind != ValueKind::Point || code == 210)
                break;
            if (firstPoint_) {
                firstPoint_ = false;
                return PointRole::Elevation;
            }
            if ((edge_ == 3 && code == 11) || (edge_ == 4 && (code == 12 || code == 13)))
                return PointRole::Direction;
            break;
        case Kind::Multileader:
            // Positions live in the context data (300 "CONTEXT_DATA{" ... 301 "}"), with the
            // leaders inside (302 "LEADER{", 304 "LEADER_LINE{" ... 303/305 "}"); after it, 10
            // is the block's scale.
            if ((code == 300 || code == 302 || code == 304) && group.text.ends_with('{')) {
                ++contextDepth_;
                return PointRole::Other;
            }
            if ((code == 301 || code == 303 || code == 305) && group.text == "}" &&
                contextDepth_ > 0) {
                --contextDepth_;
                return PointRole::Other;
            }
            if (contextDepth_ == 0)
                return group.kind == ValueKind::Point ? PointRole::Direction : PointRole::Other;
            if (code == 110)
                return PointRole::RealX;
            if (code == 120)
                return PointRole::RealY;
            if (code == 130)
                return PointRole::RealZ;
            if (group.kind == ValueKind::Point && (code == 10 || code == 12 || code == 15))
                return PointRole::Position;
            return group.kind == ValueKind::Point ? PointRole::Direction : PointRole::Other;
    }
    if (code == 1011)
        return PointRole::Position;  // extended data's world position goes with its entity
    if (group.kind != ValueKind::Point || code >= 1000 || code == 210)
        return group.kind == ValueKind::Point ? PointRole::Direction : PointRole::Other;
    return PointRole::Position;
}

}  // namespace host
