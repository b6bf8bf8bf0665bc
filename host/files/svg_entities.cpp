// The plot's pieces of the entity kinds drawn on their own. Points of most kinds lie in the
// entity's own plane (group 210); LINE, POINT, ELLIPSE, MTEXT, 3DFACE and 3D polylines give drawing
// coordinates.
#include "host/files/svg_entities.h"

#include <algorithm>
#include <cmath>

#include "host/files/mtext_plain.h"

namespace host::svg {
namespace {

// The groups of a body with lookups by code.
class Fields {
  public:
    explicit Fields(const GroupList& body) {
        for (const Group& group : body)
            groups_.push_back(group);
    }
    const std::vector<Group>& All() const { return groups_; }
    const Group* First(int code) const {
        for (const Group& group : groups_) {
            if (group.code == code)
                return &group;
        }
        return nullptr;
    }
    double Real(int code, double fallback) const {
        const Group* group = First(code);
        return group ? group->real : fallback;
    }
    int Int(int code, int fallback = 0) const {
        const Group* group = First(code);
        return group ? group->integer : fallback;
    }
    // The entity's plane at elevation z.
    Affine Plane(double z) const {
        const Group* normal = First(210);
        return normal ? PlaneToDrawing(normal->point, z) : Affine{};
    }
    double Z(int code) const {
        const Group* group = First(code);
        return group ? group->point[2] : 0.0;
    }

  private:
    std::vector<Group> groups_;
};

Vertex At(const Group& group) {
    return Vertex{group.point[0], group.point[1], 0, std::nullopt};
}

bool TextShape(const Fields& f, std::string_view type, Shape& out) {
    const bool attribute = type != "TEXT";
    const Group* content = f.First(type == "ATTDEF" ? 2 : 1);
    if (!f.First(10) || !content)
        return false;
    if (type == "ATTRIB" && (f.Int(70) & 1) != 0)
        return true;  // an attribute its block keeps hidden
    Item item;
    item.kind = Item::Kind::Text;
    item.horizontal = f.Int(72);
    item.vertical = f.Int(attribute ? 74 : 73);
    // Aligned and fitted texts (3, 5) run from their first point to the second.
    const bool fromFirst = item.horizontal == 3 || item.horizontal == 5 ||
                           (item.horizontal == 0 && item.vertical == 0);
    const Group* at = !fromFirst && f.First(11) ? f.First(11) : f.First(10);
    item.cx = at->point[0];
    item.cy = at->point[1];
    item.height = f.Real(40, 1.0);
    item.rotation = f.Real(50, 0.0) * 180 / kPi;  // the drawing keeps radians
    item.runs = ShownRuns(content->text);
    item.advance = TextAdvanceEm(item.runs);
    out.plane = f.Plane(at->point[2]);
    out.items.push_back(std::move(item));
    return true;
}

bool MtextShape(const Fields& f, Shape& out) {
    const Group* at = f.First(10);
    if (!at)
        return false;
    std::string formatted;
    for (const Group& group : f.All()) {
        if (group.code == 3)
            formatted += group.text;
    }
    if (const Group* last = f.First(1))
        formatted += last->text;
    // The direction of the lines: a drawing vector (11), or a turn (50, radians) in the plane.
    double dx = std::cos(f.Real(50, 0.0)), dy = std::sin(f.Real(50, 0.0));
    if (const Group* direction = f.First(11)) {
        dx = direction->point[0];
        dy = direction->point[1];
    } else {
        f.Plane(0).ApplyLinear(dx, dy);
    }
    const double angle = dx == 0 && dy == 0 ? 0.0 : std::atan2(dy, dx);
    int attachment = f.Int(71, 1);
    if (attachment < 1 || attachment > 9)
        attachment = 1;
    const int column = (attachment - 1) % 3, row = (attachment - 1) / 3;
    const double height = f.Real(40, 1.0);
    const double pitch = height * 5.0 / 3.0 * f.Real(44, 1.0);
    const std::vector<std::string> lines = MtextParagraphs(formatted);
    const double n = static_cast<double>(lines.size());
    const double total = height + (n - 1) * pitch;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        const double index = static_cast<double>(i);
        const double down = row == 0   ? -height - index * pitch
                            : row == 1 ? total / 2 - height - index * pitch
                                       : (n - 1 - index) * pitch;
        Item item;
        item.kind = Item::Kind::Text;
        item.horizontal = column;
        item.cx = at->point[0] - down * std::sin(angle);
        item.cy = at->point[1] + down * std::cos(angle);
        item.height = height;
        item.rotation = angle * 180 / kPi;
        item.runs = ShownRuns(lines[i]);
        item.advance = TextAdvanceEm(item.runs);
        out.items.push_back(std::move(item));
    }
    return true;
}

bool EllipseShape(const Fields& f, Shape& out) {
    const Group* centre = f.First(10);
    const Group* major = f.First(11);
    if (!centre || !major)
        return false;
    double n[3] = {0, 0, 1};
    if (const Group* normal = f.First(210)) {
        const double length = std::hypot(normal->point[0], normal->point[1], normal->point[2]);
        if (length > 0) {
            for (int i = 0; i < 3; ++i)
                n[i] = normal->point[i] / length;
        }
    }
    const double* a = major->point;
    const double ratio = f.Real(40, 1.0);
    // The minor axis is the major one turned a quarter about the normal, shortened.
    const double m[4] = {a[0], a[1], ratio * (n[1] * a[2] - n[2] * a[1]),
                         ratio * (n[2] * a[0] - n[0] * a[2])};
    const double t0 = f.Real(41, 0.0);
    double span = std::fmod(f.Real(42, 2 * kPi) - t0, 2 * kPi);
    if (span <= 1e-12)
        span += 2 * kPi;
    const bool whole = span >= 2 * kPi - 1e-9;
    Item item;
    item.closed = whole;
    item.rings.push_back(EllipseRing(centre->point[0], centre->point[1], m, whole ? 0 : t0,
                                     whole ? 2 * kPi : t0 + span, whole));
    out.items.push_back(std::move(item));
    return true;
}

bool PolylineShape(const Fields& f, const std::vector<const GroupList*>& followers, Shape& out) {
    const int flags = f.Int(70);
    if ((flags & (16 | 64)) != 0)
        return false;  // meshes and polyface meshes
    const bool flat = (flags & 8) == 0;
    Item item;
    item.closed = (flags & 1) != 0;
    if (f.Real(40, 0.0) == f.Real(41, 0.0))
        item.width = f.Real(40, 0.0);
    Ring ring;
    for (const GroupList* body : followers) {
        Fields vertex(*body);
        const Group* point = vertex.First(10);
        // Control points of a fitted spline are not on the line; the fit vertices are.
        if (!point || (vertex.Int(70) & 16) != 0)
            continue;
        ring.push_back(At(*point));
        if (flat)
            ring.back().bulge = vertex.Real(42, 0.0);
    }
    if (flat)
        out.plane = f.Plane(f.Z(10));
    if (!ring.empty()) {
        item.rings.push_back(std::move(ring));
        out.items.push_back(std::move(item));
    }
    return true;
}

// A SPLINE by its control points (10), weights (41), knots (40) and degree (71), as a line
// through points of the curve, several to each knot span. Splines given only by fit points
// are not drawn: the curve through them is not written down.
bool SplineShape(const Fields& f, Shape& out) {
    struct Weighted {
        double x, y, w;
    };
    std::vector<Weighted> control;
    std::vector<double> knots, weights;
    for (const Group& group : f.All()) {
        if (group.code == 10)
            control.push_back({group.point[0], group.point[1], 1.0});
        if (group.code == 40)
            knots.push_back(group.real);
        if (group.code == 41)
            weights.push_back(group.real);
    }
    const int degree = f.Int(71, 3);
    const size_t n = control.size();
    if (degree < 1 || degree > 11 || n < static_cast<size_t>(degree) + 1 ||
        knots.size() != n + degree + 1 || n > 100000 ||
        !std::is_sorted(knots.begin(), knots.end())) {
        return false;
    }
    if (weights.size() == n) {
        for (size_t i = 0; i < n; ++i) {
            if (!(weights[i] > 0))
                return false;
            control[i] = {control[i].x * weights[i], control[i].y * weights[i], weights[i]};
        }
    }
    const size_t p = static_cast<size_t>(degree);
    const int perSpan = static_cast<int>(std::clamp<size_t>(4096 / n, 1, 8 * p));
    // de Boor's scheme in homogeneous coordinates, within the span [knots[k], knots[k+1]).
    auto point = [&](size_t k, double t) {
        std::vector<Weighted> d(control.begin() + static_cast<long>(k - p),
                                control.begin() + static_cast<long>(k + 1));
        for (size_t r = 1; r <= p; ++r) {
            for (size_t j = p; j >= r; --j) {
                const size_t i = j + k - p;
                const double span = knots[i + p - r + 1] - knots[i];
                const double alpha = span > 0 ? (t - knots[i]) / span : 0.0;
                d[j] = {(1 - alpha) * d[j - 1].x + alpha * d[j].x,
                        (1 - alpha) * d[j - 1].y + alpha * d[j].y,
                        (1 - alpha) * d[j - 1].w + alpha * d[j].w};
            }
        }
        return Vertex{d[p].x / d[p].w, d[p].y / d[p].w, 0, std::nullopt};
    };
    Ring ring;
    size_t last = 0;
    for (size_t k = p; k < n; ++k) {
        if (!(knots[k + 1] > knots[k]))
            continue;
        for (int i = 0; i < perSpan; ++i)
            ring.push_back(point(k, knots[k] + (knots[k + 1] - knots[k]) * i / perSpan));
        last = k;
    }
    if (ring.empty())
        return false;
    ring.push_back(point(last, knots[last + 1]));
    Item item;
    item.rings.push_back(std::move(ring));
    out.items.push_back(std::move(item));
    return true;
}

// SOLID and TRACE fill the quadrilateral 10, 11, 13, 12 (a triangle when 13 is missing);
// 3DFACE outlines 10, 11, 12, 13.
bool CornersShape(const Fields& f, bool filled, Shape& out) {
    const Group* p[4] = {f.First(10), f.First(11), f.First(12), f.First(13)};
    if (!p[0] || !p[1] || !p[2])
        return false;
    if (!p[3])
        p[3] = p[2];
    Item item;
    item.closed = true;
    item.fill = filled;
    if (filled) {
        item.rings.push_back({At(*p[0]), At(*p[1]), At(*p[3]), At(*p[2])});
        out.plane = f.Plane(p[0]->point[2]);
    } else {
        item.rings.push_back({At(*p[0]), At(*p[1]), At(*p[2]), At(*p[3])});
    }
    out.items.push_back(std::move(item));
    return true;
}

bool HatchRings(const std::vector<Group>& g, Item& item) {
    item.closed = true;
    size_t i = 0;
    while (i < g.size() && g[i].code != 91)
        ++i;
    if (i == g.size())
        return true;
    const int paths = std::max(0, g[i++].integer);
    for (int p = 0; p < paths && i < g.size(); ++p) {
        while (i < g.size() && g[i].code != 92)
            ++i;
        if (i == g.size())
            break;
        const bool polyline = (g[i++].integer & 2) != 0;
        Ring ring;
        if (polyline) {
            while (i < g.size() && g[i].code != 93)
                ++i;
            if (i == g.size())
                break;
            const int count = g[i++].integer;
            for (int v = 0; v < count && i < g.size(); ++v) {
                while (i < g.size() && g[i].code != 10)
                    ++i;
                if (i == g.size())
                    break;
                Vertex vertex = At(g[i]);
                ++i;
                if (i < g.size() && g[i].code == 42)
                    vertex.bulge = g[i++].real;
                ring.push_back(vertex);
            }
        } else {
            while (i < g.size() && g[i].code != 93)
                ++i;
            if (i == g.size())
                break;
            const int edges = g[i++].integer;
            for (int e = 0; e < edges && i < g.size(); ++e) {
                while (i < g.size() && g[i].code != 72)
                    ++i;
                if (i == g.size())
                    break;
                const int kind = g[i++].integer;
                double c[2] = {0, 0}, end[2] = {0, 0}, r = 0, a0 = 0, a1 = 0;
                bool ccw = true;
                for (; i < g.size() && g[i].code != 72 && g[i].code != 92 && g[i].code != 97; ++i) {
                    if (g[i].code == 10)
                        std::copy(g[i].point, g[i].point + 2, c);
                    if (g[i].code == 11)
                        std::copy(g[i].point, g[i].point + 2, end);
                    if (g[i].code == 40)
                        r = g[i].real;
                    if (g[i].code == 50)
                        a0 = g[i].real;
                    if (g[i].code == 51)
                        a1 = g[i].real;
                    if (g[i].code == 73)
                        ccw = g[i].integer != 0;
                }
                if (kind == 1) {
                    ring.push_back(Vertex{c[0], c[1], 0, std::nullopt});
                } else if (kind != 2) {
                    return false;  // elliptical and spline edges: not drawn rather than wrong
                } else {
                    // A clockwise edge gives its angles mirrored.
                    double start = a0 * kPi / 180, stop = a1 * kPi / 180;
                    if (!ccw) {
                        start = -a0 * kPi / 180;
                        stop = -a1 * kPi / 180;
                        std::swap(start, stop);
                    }
                    const bool whole = std::fabs(a1 - a0) >= 359.999;
                    Ring arc = ArcRing(c[0], c[1], r, start, whole ? start + 2 * kPi : stop, whole);
                    ring.insert(ring.end(), arc.begin(), arc.end());
                }
            }
        }
        if (!ring.empty())
            item.rings.push_back(std::move(ring));
    }
    return true;
}

}  // namespace

std::vector<TextRun> ShownRuns(std::string_view text) {
    std::vector<TextRun> runs;
    bool under = false, over = false;
    // A run starts at the first character it covers, so that switching twice adds none.
    auto add = [&](std::string_view piece) {
        if (runs.empty() || runs.back().under != under || runs.back().over != over)
            runs.push_back(TextRun{std::string(), under, over});
        runs.back().text += piece;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == "%%" && i + 2 < text.size()) {
            const char c = static_cast<char>(text[i + 2] | 0x20);
            if (c == 'u' || c == 'o') {
                (c == 'u' ? under : over) = !(c == 'u' ? under : over);
                i += 2;
                continue;
            }
            const char* symbol = c == 'c' ? "Ø" : c == 'd' ? "°" : c == 'p' ? "±" : nullptr;
            if (text[i + 2] == '%')
                symbol = "%";
            if (symbol) {
                add(symbol);
                i += 2;
                continue;
            }
        }
        add(text.substr(i, 1));
    }
    return runs;
}

bool ShapeOf(std::string_view type, const GroupList& body,
             const std::vector<const GroupList*>& followers, Shape& out) {
    const Fields f(body);
    Item item;
    if (type == "LINE") {
        if (!f.First(10) || !f.First(11))
            return false;
        item.rings.push_back({At(*f.First(10)), At(*f.First(11))});
    } else if (type == "LWPOLYLINE") {
        Ring ring;
        for (const Group& group : f.All()) {
            if (group.code == 10)
                ring.push_back(At(group));
            if (group.code == 42 && !ring.empty())
                ring.back().bulge = group.real;
        }
        item.closed = (f.Int(70) & 1) != 0;
        item.width = f.Real(43, 0.0);
        item.rings.push_back(std::move(ring));
        out.plane = f.Plane(f.Real(38, 0.0));
    } else if (type == "CIRCLE" || type == "ARC") {
        const Group* centre = f.First(10);
        if (!centre)
            return false;
        const double cx = centre->point[0], cy = centre->point[1], r = f.Real(40, 0);
        if (type == "CIRCLE") {
            item.kind = Item::Kind::Circle;
            item.cx = cx;
            item.cy = cy;
            item.r = r;
        } else {
            item.rings.push_back(ArcRing(cx, cy, r, f.Real(50, 0), f.Real(51, 0), false));
        }
        out.plane = f.Plane(centre->point[2]);
    } else if (type == "HATCH") {
        item.fill = true;
        const Group* pattern = f.First(2);
        const bool solid = f.Int(70) == 1 || (pattern && pattern->text == "SOLID");
        item.opacity = solid ? 1.0 : 0.3;
        if (!HatchRings(f.All(), item))
            return false;
        out.plane = f.Plane(f.Z(10));
    } else if (type == "POINT") {
        if (!f.First(10))
            return false;
        item.kind = Item::Kind::Circle;
        item.cx = f.First(10)->point[0];
        item.cy = f.First(10)->point[1];
        item.fill = true;
    } else if (type == "TEXT" || type == "ATTRIB" || type == "ATTDEF") {
        return TextShape(f, type, out);
    } else if (type == "MTEXT") {
        return MtextShape(f, out);
    } else if (type == "ELLIPSE") {
        return EllipseShape(f, out);
    } else if (type == "POLYLINE") {
        return PolylineShape(f, followers, out);
    } else if (type == "SPLINE") {
        return SplineShape(f, out);
    } else if (type == "SOLID" || type == "TRACE" || type == "3DFACE") {
        return CornersShape(f, type != "3DFACE", out);
    } else {
        return false;
    }
    out.items.push_back(std::move(item));
    return true;
}

}  // namespace host::svg
