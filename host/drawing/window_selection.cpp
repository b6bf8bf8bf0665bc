// Selection windows: an entity's geometry traced as line segments (arcs through their ends,
// their extremes on the axes and points close enough that nothing bulges out between them)
// and tested against the window; block references through what they show of their block.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/drawing/entity_geometry.h"
#include "host/drawing/picking.h"
#include "host/drawing/session.h"

namespace host {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kDeepestBlock = 8;

struct Map {
    double xx = 1, xy = 0, yx = 0, yy = 1, dx = 0, dy = 0;
    Vec2 Apply(Vec2 p) const { return {xx * p.x + xy * p.y + dx, yx * p.x + yy * p.y + dy}; }
    // This map after `inner`.
    Map After(const Map& inner) const {
        Map m;
        m.xx = xx * inner.xx + xy * inner.yx;
        m.xy = xx * inner.xy + xy * inner.yy;
        m.yx = yx * inner.xx + yy * inner.yx;
        m.yy = yx * inner.xy + yy * inner.yy;
        m.dx = xx * inner.dx + xy * inner.dy + dx;
        m.dy = yx * inner.dx + yy * inner.dy + dy;
        return m;
    }
};

struct Window {
    double x0, y0, x1, y1;
    bool Holds(Vec2 p) const { return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1; }
    // Whether any part of the segment a-b lies in the window (the segment clipped to it).
    bool Meets(Vec2 a, Vec2 b) const {
        double t0 = 0, t1 = 1;
        const double d[2] = {b.x - a.x, b.y - a.y};
        const double p[4] = {-d[0], d[0], -d[1], d[1]};
        const double q[4] = {a.x - x0, x1 - a.x, a.y - y0, y1 - a.y};
        for (int i = 0; i < 4; ++i) {
            if (p[i] == 0) {
                if (q[i] < 0)
                    return false;
                continue;
            }
            const double t = q[i] / p[i];
            if (p[i] < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
            if (t0 > t1)
                return false;
        }
        return true;
    }
};

// Points along a piece, in order.
std::vector<Vec2> Trace(const Piece& piece) {
    if (piece.kind != Piece::Kind::Arc)
        return piece.kind == Piece::Kind::Spot ? std::vector<Vec2>{piece.a}
                                               : std::vector<Vec2>{piece.a, piece.b};
    std::vector<double> angles{0.0, piece.sweep};
    constexpr int kSteps = 32;  // a full circle in 32 chords
    const int steps = std::max(1, static_cast<int>(std::ceil(piece.sweep / (2 * kPi) * kSteps)));
    for (int i = 1; i < steps; ++i)
        angles.push_back(piece.sweep * i / steps);
    for (int quarter = 0; quarter < 8; ++quarter) {
        const double at = quarter * kPi / 2 - piece.start;
        if (at > 0 && at < piece.sweep)
            angles.push_back(at);
    }
    std::sort(angles.begin(), angles.end());
    std::vector<Vec2> points;
    for (double a : angles) {
        points.push_back({piece.centre.x + piece.radius * std::cos(piece.start + a),
                          piece.centre.y + piece.radius * std::sin(piece.start + a)});
    }
    return points;
}

struct Verdict {
    bool any = false;       // the entity has geometry to judge
    bool allInside = true;  // every point of it lies in the window
    bool touches = false;   // some part of it does
};

class Judge {
  public:
    Judge(const Database& drawing, const Window& window) : drawing_(drawing), window_(window) {}

    void Entity(const Object& entity, const Map& map, int depth, Verdict& verdict) {
        if (drawing_.TypeName(entity) == "INSERT") {
            Insert(entity, map, depth, verdict);
            return;
        }
        for (const Piece& piece : EntityPieces(drawing_, entity)) {
            const std::vector<Vec2> points = Trace(piece);
            Vec2 previous = map.Apply(points.front());
            for (size_t i = 0; i < points.size(); ++i) {
                const Vec2 p = map.Apply(points[i]);
                verdict.any = true;
                verdict.allInside = verdict.allInside && window_.Holds(p);
                verdict.touches = verdict.touches || window_.Meets(previous, p);
                previous = p;
            }
        }
    }

  private:
    void Insert(const Object& insert, const Map& map, int depth, Verdict& verdict) {
        Group g;
        if (depth >= kDeepestBlock || !insert.body.Find(2, g))
            return;
        const ObjectId record = drawing_.FindTableEntry("BLOCK_RECORD", g.text);
        if (!record)
            return;
        auto real = [&](int code, double fallback) {
            return insert.body.Find(code, g) ? g.real : fallback;
        };
        double at[2] = {0, 0};
        if (insert.body.Find(10, g)) {
            at[0] = g.point[0];
            at[1] = g.point[1];
        }
        const Vec2 base = BlockBase(record);
        const double sx = real(41, 1.0), sy = real(42, 1.0);
        const double turn = real(50, 0.0) * kPi / 180;
        const double c = std::cos(turn), s = std::sin(turn);
        Map placed;
        placed.xx = c * sx;
        placed.xy = -s * sy;
        placed.yx = s * sx;
        placed.yy = c * sy;
        placed.dx = at[0] - (placed.xx * base.x + placed.xy * base.y);
        placed.dy = at[1] - (placed.yx * base.x + placed.yy * base.y);
        const Map inner = map.After(placed);
        for (ObjectId part : drawing_.Followers(record)) {
            if (const Object* object = drawing_.FindLive(part))
                Entity(*object, inner, depth + 1, verdict);
        }
    }

    Vec2 BlockBase(ObjectId record) {
        if (!basesRead_) {
            basesRead_ = true;
            for (ObjectId id : drawing_.ObjectsOf(Category::Object)) {
                const Object* block = drawing_.FindLive(id);
                Group base;
                if (block && block->owner && drawing_.TypeName(*block) == "BLOCK" &&
                    block->body.Find(10, base)) {
                    bases_.push_back({block->owner, {base.point[0], base.point[1]}});
                }
            }
        }
        for (const auto& [owner, base] : bases_) {
            if (owner == record)
                return base;
        }
        return {};
    }

    const Database& drawing_;
    Window window_;
    bool basesRead_ = false;
    std::vector<std::pair<ObjectId, Vec2>> bases_;
};

}  // namespace

std::vector<std::array<long, 2>> EntitiesInWindow(const sds_point a, const sds_point b,
                                                  bool crossing) {
    std::vector<std::array<long, 2>> taken;
    if (a == nullptr || b == nullptr)
        return taken;
    const Window window{std::min(a[0], b[0]), std::min(a[1], b[1]), std::max(a[0], b[0]),
                        std::max(a[1], b[1])};
    const Database& drawing = CurrentDrawing();
    Judge judge(drawing, window);
    for (ObjectId id : drawing.EntityOrder()) {
        const Object* object = drawing.FindTopLevel(id);
        if (!object || (object->owner && object->owner != drawing.ModelSpace()))
            continue;
        Verdict verdict;
        judge.Entity(*object, Map{}, 0, verdict);
        if (verdict.any && (crossing ? verdict.touches : verdict.allInside)) {
            sds_name name;
            ToName(id, name);
            taken.push_back({name[0], name[1]});
        }
    }
    return taken;
}

}  // namespace host
