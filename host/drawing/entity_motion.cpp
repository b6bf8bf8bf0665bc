// Entities turned and mirrored group by group, from the DXF reference of each kind (angles of
// texts and arcs in radians, as the drawing keeps them; those of other kinds as files give
// them). Texts are mirrored as CAD programs do with MIRRTEXT 0: the text's box goes to its
// mirror image and the text reads as before.
#include "host/drawing/entity_motion.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "host/drawing/entity_geometry.h"

namespace host {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTiny = 1e-9;

double Wrap(double value, double period) {
    value = std::fmod(value, period);
    if (value < 0)
        value += period;
    return value >= period ? 0.0 : value;
}

// The groups of a body, to be changed in place and packed again.
class Groups {
  public:
    Groups(const GroupList& body, int reactors) {
        int index = 0;
        for (const Group& group : body) {
            if (index++ < reactors)
                kept_.push_back(group);
            else
                g.push_back(group);
        }
    }
    std::vector<Group> g;

    int Find(int code, int from = 0) const {
        for (int i = from; i < static_cast<int>(g.size()); ++i) {
            if (g[i].code == code)
                return i;
        }
        return -1;
    }
    double Real(int code, double fallback) const {
        const int i = Find(code);
        return i >= 0 ? g[i].real : fallback;
    }
    int Int(int code, int fallback) const {
        const int i = Find(code);
        return i >= 0 ? g[i].integer : fallback;
    }
    // Where a group missing from an entity's first subclass goes: before its second subclass
    // marker; one of the last subclass goes before the extended data.
    int FirstSectionEnd() const {
        int markers = 0;
        for (int i = 0; i < static_cast<int>(g.size()); ++i) {
            if (g[i].code == 100 && ++markers == 2)
                return i;
        }
        return DataStart();
    }
    int DataStart() const {
        for (int i = 0; i < static_cast<int>(g.size()); ++i) {
            if (g[i].code >= 1000)
                return i;
        }
        return static_cast<int>(g.size());
    }
    // The group of the code, made at `at` with the kind of the code when missing.
    Group& Ensure(int code, int at) {
        const int i = Find(code);
        if (i >= 0)
            return g[i];
        Group made;
        made.code = code;
        made.kind = KindOfGroup(code);
        g.insert(g.begin() + at, made);
        return g[at];
    }
    void Pack(GroupList& out) const {
        out.Clear();
        for (const Group& group : kept_)
            out.Add(group);
        for (const Group& group : g)
            out.Add(group);
    }

  private:
    std::vector<Group> kept_;
};

void MovePoint(const PlaneMotion& m, Group& group) {
    m.Move(group.point[0], group.point[1]);
}
void TurnPoint(const PlaneMotion& m, Group& group) {
    m.Turn(group.point[0], group.point[1]);
}

// Extended data of applications: world positions move, world offsets and directions turn.
// False when the entity lies in another plane than the drawing's.
bool CommonGroups(Groups& groups, const PlaneMotion& m, std::string& error) {
    for (Group& group : groups.g) {
        if (group.code == 210 && !(std::fabs(group.point[0]) < kTiny &&
                                   std::fabs(group.point[1]) < kTiny && group.point[2] > 0)) {
            error = "the entity lies in another plane than the drawing";
            return false;
        }
        if (group.code == 1011)
            MovePoint(m, group);
        else if (group.code == 1012 || group.code == 1013)
            TurnPoint(m, group);
    }
    return true;
}

// Positions `positions`, directions `directions` (0-terminated lists of point codes).
void PointsByCode(Groups& groups, const PlaneMotion& m, std::initializer_list<int> positions,
                  std::initializer_list<int> directions) {
    for (Group& group : groups.g) {
        if (group.kind != ValueKind::Point)
            continue;
        for (int code : positions) {
            if (group.code == code)
                MovePoint(m, group);
        }
        for (int code : directions) {
            if (group.code == code)
                TurnPoint(m, group);
        }
    }
}

void NegateBulges(Groups& groups, const PlaneMotion& m) {
    if (!m.Reflects())
        return;
    for (Group& group : groups.g) {
        if (group.code == 42)
            group.real = -group.real;
    }
}

// An arc from `start` to `end` counter-clockwise (angles in `period` units: 2 pi or 360):
// turned, or mirrored into the arc from the image of its end to the image of its start.
void ArcAngles(double& start, double& end, const PlaneMotion& m, bool degrees) {
    const double period = degrees ? 360.0 : 2 * kPi;
    auto turn = [&](double a) { return degrees ? m.TurnDegrees(a) : m.TurnRadians(a); };
    const bool whole = std::fabs(end - start) >= period - kTiny;
    const double a = turn(start), b = turn(end);
    if (whole) {
        start = a;
        end = a + period;
    } else if (m.Reflects()) {
        start = b;
        end = a;
    } else {
        start = a;
        end = b;
    }
}

// Parameters of an elliptical arc, measured from its major axis: unchanged by a turn; a
// mirror runs them the other way round.
void EllipseParameters(double& start, double& end, const PlaneMotion& m, double period) {
    if (!m.Reflects() || std::fabs(end - start) >= period - kTiny)
        return;
    const double a = Wrap(-end, period), b = Wrap(-start, period);
    start = a;
    end = b;
}

// ---- Texts ----

// Of the two readable frames of a mirrored text, the one reading from left to right (from
// bottom to top when the text stands upright): along the mirrored direction with the box
// turned over its baseline, or against it with the box turned end for end.
bool KeepsDirection(double mirroredRadians) {
    const double c = std::cos(mirroredRadians);
    return c > kTiny || (std::fabs(c) <= kTiny && std::sin(mirroredRadians) > 0);
}

// Share of the text's width and height between its first alignment point (left end of the
// baseline) and the point it is aligned at.
double AcrossShare(int horizontal) {
    return horizontal == 2 ? 1.0 : (horizontal == 1 || horizontal == 4) ? 0.5 : 0.0;
}
double UpShare(int horizontal, int vertical) {
    if (horizontal == 4)
        return 0.5;
    return vertical == 3 ? 1.0 : vertical == 2 ? 0.5 : 0.0;
}

void MoveText(Groups& t, bool attribute, const PlaneMotion& m) {
    const int verticalCode = attribute ? 74 : 73;
    const int i10 = t.Find(10);
    if (i10 < 0)
        return;
    const double rotation = t.Real(50, 0.0);
    double first[2] = {t.g[i10].point[0], t.g[i10].point[1]};
    const int i11 = t.Find(11);
    double second[2] = {first[0], first[1]};
    if (i11 >= 0) {
        second[0] = t.g[i11].point[0];
        second[1] = t.g[i11].point[1];
    }
    int horizontal = t.Int(72, 0);
    int vertical = t.Int(verticalCode, 0);
    if (horizontal < 0 || horizontal > 5)
        horizontal = 0;
    if (vertical < 0 || vertical > 3)
        vertical = 0;
    const double z = t.g[i10].point[2];
    double newRotation = m.TurnRadians(rotation);
    if (!m.Reflects()) {
        m.Move(first[0], first[1]);
        m.Move(second[0], second[1]);
    } else {
        const double height = t.Real(40, 1.0);
        const int i1 = t.Find(1);
        const double width =
            i1 >= 0 ? EstimatedTextWidth(t.g[i1].text, height, t.Real(41, 1.0)) : 0.0;
        const bool keep = KeepsDirection(newRotation);
        if (!keep)
            newRotation = Wrap(newRotation + kPi, 2 * kPi);
        const double dir[2] = {std::cos(newRotation), std::sin(newRotation)};
        const double up[2] = {-dir[1], dir[0]};
        if (horizontal == 3 || horizontal == 5) {
            // Aligned and fitted texts run between their two points.
            m.Move(first[0], first[1]);
            m.Move(second[0], second[1]);
            if (keep) {
                for (int k = 0; k < 2; ++k) {
                    first[k] -= height * up[k];
                    second[k] -= height * up[k];
                }
            } else {
                std::swap(first, second);
            }
        } else {
            double anchor[2] = {first[0], first[1]};
            if (horizontal != 0 || vertical != 0) {
                anchor[0] = second[0];
                anchor[1] = second[1];
            }
            m.Move(anchor[0], anchor[1]);
            if (keep) {
                static constexpr int kOver[] = {3, 3, 2, 1};
                if (horizontal != 4)
                    vertical = kOver[vertical];
            } else {
                static constexpr int kEndForEnd[] = {2, 1, 0, 3, 4, 5};
                horizontal = kEndForEnd[horizontal];
            }
            second[0] = anchor[0];
            second[1] = anchor[1];
            // The first point, the baseline's left end, as near as the text's size tells.
            const double across = AcrossShare(horizontal) * width;
            const double rise = UpShare(horizontal, vertical) * height;
            first[0] = anchor[0] - across * dir[0] - rise * up[0];
            first[1] = anchor[1] - across * dir[1] - rise * up[1];
        }
        t.Ensure(72, t.FirstSectionEnd()).integer = horizontal;
        t.Ensure(verticalCode, t.DataStart()).integer = vertical;
    }
    Group& g10 = t.g[t.Find(10)];
    g10.point[0] = first[0];
    g10.point[1] = first[1];
    if (t.Find(11) >= 0 || m.Reflects()) {
        Group& g11 = t.Ensure(11, t.FirstSectionEnd());
        g11.point[0] = second[0];
        g11.point[1] = second[1];
        g11.point[2] = z;
    }
    if (t.Find(50) >= 0 || newRotation != 0.0)
        t.Ensure(50, t.FirstSectionEnd()).real = newRotation;
}

void MoveMtext(Groups& t, const PlaneMotion& m) {
    PointsByCode(t, m, {10}, {});
    const int i11 = t.Find(11);
    double direction = t.Real(50, 0.0);
    double length = 1.0;
    if (i11 >= 0) {
        const double x = t.g[i11].point[0], y = t.g[i11].point[1];
        length = std::hypot(x, y);
        direction = length > 0 ? std::atan2(y, x) : 0.0;
    }
    double turned = m.TurnRadians(direction);
    if (m.Reflects()) {
        int attachment = t.Int(71, 1);
        if (attachment < 1 || attachment > 9)
            attachment = 1;
        int column = (attachment - 1) % 3, row = (attachment - 1) / 3;
        if (KeepsDirection(turned)) {
            row = 2 - row;
        } else {
            turned = Wrap(turned + kPi, 2 * kPi);
            column = 2 - column;
        }
        t.Ensure(71, t.DataStart()).integer = row * 3 + column + 1;
    }
    if (i11 >= 0 && length > 0) {
        Group& g11 = t.g[t.Find(11)];
        g11.point[0] = std::cos(turned) * length;
        g11.point[1] = std::sin(turned) * length;
    } else if (i11 < 0 && (t.Find(50) >= 0 || turned != 0.0)) {
        t.Ensure(50, t.DataStart()).real = turned;
    }
}

// A block reference: its position moves, its rotation turns; a mirror image of the block is
// the block turned and with its y scale (and row spacing) negated.
void MoveInsert(Groups& t, const PlaneMotion& m) {
    PointsByCode(t, m, {10}, {});
    const double rotation = m.TurnDegrees(t.Real(50, 0.0));
    if (t.Find(50) >= 0 || rotation != 0.0) {
        const int after = std::max(t.Find(43), std::max(t.Find(42), t.Find(41)));
        t.Ensure(50, after >= 0 ? after + 1 : t.Find(10) + 1).real = rotation;
    }
    if (!m.Reflects())
        return;
    const int i42 = t.Find(42);
    if (i42 >= 0) {
        t.g[i42].real = -t.g[i42].real;
    } else {
        const int after = t.Find(41) >= 0 ? t.Find(41) : t.Find(10);
        t.Ensure(42, after + 1).real = -1.0;
    }
    const int i45 = t.Find(45);
    if (i45 >= 0)
        t.g[i45].real = -t.g[i45].real;
}

// A hatch: its boundary paths (polylines with bulges; lines, arcs, elliptical arcs and
// splines), its pattern lines and its seed points. Its first point is its elevation.
bool MoveHatch(Groups& t, const PlaneMotion& m, std::string& error) {
    bool elevation = true;
    bool polylinePath = false;
    bool inPaths = false;
    int edge = 0;
    int edgeStart = -1;
    auto finishEdge = [&](int end) -> bool {
        if (edge == 2 || edge == 3) {
            const int s = t.Find(50, edgeStart), e = t.Find(51, edgeStart);
            const int ccw = t.Find(73, edgeStart);
            if (s < 0 || e < 0 || s >= end || e >= end)
                return true;
            if (ccw >= 0 && ccw < end && t.g[ccw].integer == 0) {
                error = "a hatch with clockwise boundary arcs";
                return false;
            }
            if (edge == 2)
                ArcAngles(t.g[s].real, t.g[e].real, m, true);
            else
                EllipseParameters(t.g[s].real, t.g[e].real, m, 360.0);
        }
        edge = 0;
        return true;
    };
    for (int i = 0; i < static_cast<int>(t.g.size()); ++i) {
        Group& group = t.g[i];
        const int code = group.code;
        if (code >= 1000)
            break;
        if (code == 92 || code == 75 || code == 97) {
            if (!finishEdge(i))
                return false;
            if (code == 92) {
                polylinePath = (group.integer & 2) != 0;
                inPaths = true;
            } else if (code == 75) {
                inPaths = false;
            }
        } else if (code == 72 && inPaths && !polylinePath) {
            if (!finishEdge(i))
                return false;
            edge = group.integer;
            edgeStart = i;
        }
        if (group.kind == ValueKind::Point && code != 210) {
            if (elevation) {
                elevation = false;
            } else if (code == 10 || (code == 11 && edge != 3)) {
                MovePoint(m, group);
            } else if (code == 11 || code == 12 || code == 13) {
                TurnPoint(m, group);
            }
            continue;
        }
        if (code == 42 && inPaths && polylinePath && m.Reflects()) {
            group.real = -group.real;
        } else if (!inPaths && (code == 52 || code == 53)) {
            group.real = m.TurnDegrees(group.real);
        } else if (!inPaths && code == 460) {
            group.real = m.TurnRadians(group.real);
        } else if (!inPaths && (code == 43 || code == 45) && i + 1 < static_cast<int>(t.g.size()) &&
                   t.g[i + 1].code == code + 1) {
            double& x = group.real;
            double& y = t.g[i + 1].real;
            if (code == 43)
                m.Move(x, y);
            else
                m.Turn(x, y);
            ++i;
        }
    }
    return finishEdge(static_cast<int>(t.g.size()));
}

}  // namespace

PlaneMotion PlaneMotion::Rotation(double cx, double cy, double degrees) {
    const double turns = degrees / 90.0;
    double c = std::cos(degrees * kPi / 180.0), s = std::sin(degrees * kPi / 180.0);
    if (turns == std::floor(turns) && std::fabs(turns) < 1e9) {
        static constexpr double kCos[] = {1, 0, -1, 0};
        const int quarter = static_cast<int>(Wrap(turns, 4.0));
        c = kCos[quarter];
        s = kCos[(quarter + 3) % 4];
    }
    PlaneMotion m;
    m.xx = c;
    m.xy = -s;
    m.yx = s;
    m.yy = c;
    m.dx = cx - (c * cx - s * cy);
    m.dy = cy - (s * cx + c * cy);
    return m;
}

PlaneMotion PlaneMotion::Mirror(double ax, double ay, double bx, double by) {
    const double length = std::hypot(bx - ax, by - ay);
    const double ux = (bx - ax) / length, uy = (by - ay) / length;
    PlaneMotion m;
    m.xx = ux * ux - uy * uy;
    m.xy = 2 * ux * uy;
    m.yx = m.xy;
    m.yy = uy * uy - ux * ux;
    m.dx = ax - (m.xx * ax + m.xy * ay);
    m.dy = ay - (m.yx * ax + m.yy * ay);
    return m;
}

void PlaneMotion::Move(double& x, double& y) const {
    const double nx = xx * x + xy * y + dx;
    y = yx * x + yy * y + dy;
    x = nx;
}

void PlaneMotion::Turn(double& x, double& y) const {
    const double nx = xx * x + xy * y;
    y = yx * x + yy * y;
    x = nx;
}

double PlaneMotion::TurnRadians(double radians) const {
    double x = std::cos(radians), y = std::sin(radians);
    // Whole quarter turns stay exact.
    const double quarters = radians / (kPi / 2);
    if (std::fabs(quarters - std::round(quarters)) < 1e-12) {
        static constexpr double kCos[] = {1, 0, -1, 0};
        const int q = static_cast<int>(Wrap(std::round(quarters), 4.0));
        x = kCos[q];
        y = kCos[(q + 3) % 4];
    }
    Turn(x, y);
    if (std::fabs(x) < 1e-15)
        x = 0;
    if (std::fabs(y) < 1e-15)
        y = 0;
    return Wrap(std::atan2(y, x), 2 * kPi);
}

double PlaneMotion::TurnDegrees(double degrees) const {
    const double turned = TurnRadians(degrees * kPi / 180.0) * 180.0 / kPi;
    const double whole = std::round(turned);
    return Wrap(std::fabs(turned - whole) < kTiny ? whole : turned, 360.0);
}

bool MovedBody(std::string_view type, const GroupList& body, int reactors, const PlaneMotion& m,
               GroupList& out, std::string& error) {
    Groups t(body, reactors);
    if (!CommonGroups(t, m, error))
        return false;
    if (type == "LINE") {
        PointsByCode(t, m, {10, 11}, {});
    } else if (type == "POINT" || type == "CIRCLE") {
        PointsByCode(t, m, {10}, {});
    } else if (type == "SOLID" || type == "TRACE" || type == "3DFACE") {
        PointsByCode(t, m, {10, 11, 12, 13}, {});
    } else if (type == "LWPOLYLINE") {
        PointsByCode(t, m, {10}, {});
        NegateBulges(t, m);
    } else if (type == "ARC") {
        PointsByCode(t, m, {10}, {});
        const int s = t.Find(50), e = t.Find(51);
        if (s >= 0 && e >= 0)
            ArcAngles(t.g[s].real, t.g[e].real, m, false);
    } else if (type == "ELLIPSE") {
        PointsByCode(t, m, {10}, {11});
        const int s = t.Find(41), e = t.Find(42);
        if (s >= 0 && e >= 0)
            EllipseParameters(t.g[s].real, t.g[e].real, m, 2 * kPi);
    } else if (type == "RAY" || type == "XLINE") {
        PointsByCode(t, m, {10}, {11});
    } else if (type == "SPLINE") {
        PointsByCode(t, m, {10, 11}, {12, 13});
    } else if (type == "LEADER") {
        PointsByCode(t, m, {10}, {211, 212, 213});
    } else if (type == "POLYLINE" || type == "SEQEND") {
        // The polyline's own point is its elevation; its vertices follow it.
    } else if (type == "VERTEX") {
        PointsByCode(t, m, {10}, {});
        NegateBulges(t, m);
        const int tangent = t.Find(50);
        if (tangent >= 0)
            t.g[tangent].real = m.TurnDegrees(t.g[tangent].real);
    } else if (type == "TEXT" || type == "ATTRIB" || type == "ATTDEF") {
        MoveText(t, type != "TEXT", m);
    } else if (type == "MTEXT") {
        MoveMtext(t, m);
    } else if (type == "INSERT") {
        MoveInsert(t, m);
    } else if (type == "HATCH") {
        if (!MoveHatch(t, m, error))
            return false;
    } else {
        error = std::string(type) + " cannot be turned or mirrored";
        return false;
    }
    t.Pack(out);
    return true;
}

}  // namespace host
