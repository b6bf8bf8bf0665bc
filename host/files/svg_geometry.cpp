// Geometry of the plot's pieces: affine maps, arcs as bulged or elliptical segments, bounds and
// the check that keeps broken numbers out of the file.
#include "host/files/svg_geometry.h"

#include <algorithm>
#include <cmath>

namespace host::svg {

Affine Affine::Of(double a, double b, double c, double d, double e, double f) {
    Affine m;
    m.a = a, m.b = b, m.c = c, m.d = d, m.e = e, m.f = f;
    m.identity = a == 1 && b == 0 && c == 0 && d == 1 && e == 0 && f == 0;
    return m;
}

Affine Affine::Rotation(double radians) {
    if (radians == 0)
        return Affine{};
    const double cs = std::cos(radians), sn = std::sin(radians);
    return Of(cs, sn, -sn, cs, 0, 0);
}

Affine Affine::After(const Affine& inner) const {
    if (identity)
        return inner;
    if (inner.identity)
        return *this;
    return Of(a * inner.a + c * inner.b, b * inner.a + d * inner.b, a * inner.c + c * inner.d,
              b * inner.c + d * inner.d, a * inner.e + c * inner.f + e,
              b * inner.e + d * inner.f + f);
}

void Affine::Apply(double& x, double& y) const {
    if (identity)
        return;
    const double nx = a * x + c * y + e;
    y = b * x + d * y + f;
    x = nx;
}

void Affine::ApplyLinear(double& x, double& y) const {
    if (identity)
        return;
    const double nx = a * x + c * y;
    y = b * x + d * y;
    x = nx;
}

bool Affine::Conformal() const {
    const double tolerance =
        1e-9 * std::max({std::fabs(a), std::fabs(b), std::fabs(c), std::fabs(d)});
    const bool turning = std::fabs(a - d) <= tolerance && std::fabs(b + c) <= tolerance;
    const bool mirrored = std::fabs(a + d) <= tolerance && std::fabs(b - c) <= tolerance;
    return turning || mirrored;
}

double Affine::Scale() const {
    return identity ? 1.0 : std::sqrt(std::fabs(Det()));
}

Affine PlaneToDrawing(const double normal[3], double z) {
    double n[3] = {normal[0], normal[1], normal[2]};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(length > 0) || (n[0] == 0 && n[1] == 0 && n[2] > 0))
        return Affine{};
    for (double& v : n)
        v /= length;
    auto cross = [](const double u[3], const double v[3], double out[3]) {
        out[0] = u[1] * v[2] - u[2] * v[1];
        out[1] = u[2] * v[0] - u[0] * v[2];
        out[2] = u[0] * v[1] - u[1] * v[0];
        const double l = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
        for (int i = 0; i < 3; ++i)
            out[i] /= l;
    };
    static const double kWorldY[3] = {0, 1, 0}, kWorldZ[3] = {0, 0, 1};
    double ax[3], ay[3];
    const bool nearZ = std::fabs(n[0]) < 1.0 / 64 && std::fabs(n[1]) < 1.0 / 64;
    cross(nearZ ? kWorldY : kWorldZ, n, ax);
    cross(n, ax, ay);
    return Affine::Of(ax[0], ax[1], ay[0], ay[1], z * n[0], z * n[1]);
}

void Bounds::Add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    if (!any) {
        minX = maxX = x;
        minY = maxY = y;
        any = true;
        return;
    }
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
}

Ring ArcRing(double cx, double cy, double r, double start, double end, bool closed) {
    // fmod, not repeated turns: an absurd angle must not keep the loop going for ever.
    double sweep = std::fmod(end - start, 2 * kPi);
    if (sweep <= 0)
        sweep += 2 * kPi;
    const int parts = sweep > kPi ? 2 : 1;  // one bulge cannot make a whole circle
    Ring ring;
    for (int i = 0; i <= parts; ++i) {
        const double a = start + sweep * i / parts;
        Vertex v{cx + r * std::cos(a), cy + r * std::sin(a), 0, std::nullopt};
        if (i < parts)
            v.bulge = std::tan(sweep / parts / 4);
        if (i == parts && closed)
            break;
        ring.push_back(v);
    }
    return ring;
}

namespace {

void EllipsePoint(const Elliptic& e, double t, double& x, double& y) {
    x = e.cx + e.m[0] * std::cos(t) + e.m[2] * std::sin(t);
    y = e.cy + e.m[1] * std::cos(t) + e.m[3] * std::sin(t);
}

}  // namespace

Ring EllipseRing(double cx, double cy, const double m[4], double t0, double t1, bool closed) {
    const double span = std::min(t1 - t0, 2 * kPi);
    const int parts = span > kPi ? 2 : 1;
    Elliptic shape;
    shape.cx = cx, shape.cy = cy;
    std::copy(m, m + 4, shape.m);
    Ring ring;
    for (int i = 0; i <= parts; ++i) {
        const double t = t0 + span * i / parts;
        Vertex v;
        EllipsePoint(shape, t, v.x, v.y);
        if (i == parts && closed)
            break;
        if (i < parts) {
            v.arc = shape;
            v.arc->t0 = t;
            v.arc->t1 = t0 + span * (i + 1) / parts;
        }
        ring.push_back(v);
    }
    return ring;
}

double TextAdvanceEm(const std::vector<TextRun>& runs) {
    std::string shown;
    for (const TextRun& run : runs)
        shown += run.text;
    return TextAdvanceEm(shown);
}

namespace {

// The text's extent along its base line and across it, from its insertion point.
TextExtent BoxOf(const Item& text) {
    return TextExtentOf(text.height, text.advance, text.horizontal, text.vertical);
}

}  // namespace

void TextBaseline(const Item& text, double& x, double& y) {
    const TextExtent box = BoxOf(text);
    const double turn = text.rotation * kPi / 180;
    const double ux = std::cos(turn), uy = std::sin(turn);
    const double lift = box.above - text.height;  // how far the base line rises
    x = text.cx - uy * lift;
    y = text.cy + ux * lift;
}

namespace {

void AddSegmentBounds(Bounds& bounds, const Vertex& a, const Vertex& b) {
    bounds.Add(a.x, a.y);
    bounds.Add(b.x, b.y);
    if (a.arc) {
        for (int i = 1; i < 16; ++i) {
            double x, y;
            EllipsePoint(*a.arc, a.arc->t0 + (a.arc->t1 - a.arc->t0) * i / 16, x, y);
            bounds.Add(x, y);
        }
        return;
    }
    if (a.bulge == 0)
        return;
    // Points along the arc: enough to catch its outermost extent closely.
    const double theta = 4 * std::atan(a.bulge);
    const double chord = std::hypot(b.x - a.x, b.y - a.y);
    if (chord == 0)
        return;
    const double r = chord / (2 * std::sin(std::fabs(theta) / 2));
    const double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
    const double d = r * std::cos(theta / 2);
    const double nx = -(b.y - a.y) / chord, ny = (b.x - a.x) / chord;
    const double sign = theta > 0 ? 1 : -1;
    const double cx = mx + sign * nx * d * (std::fabs(theta) > kPi ? -1 : 1);
    const double cy = my + sign * ny * d * (std::fabs(theta) > kPi ? -1 : 1);
    const double start = std::atan2(a.y - cy, a.x - cx);
    for (int i = 1; i < 16; ++i) {
        const double angle = start + theta * i / 16;
        bounds.Add(cx + r * std::cos(angle), cy + r * std::sin(angle));
    }
}

// The bulged segment from a to b as the elliptical segment it becomes under a squeezing map.
Elliptic BulgeAsElliptic(const Vertex& a, const Vertex& b) {
    const double k = a.bulge;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double along = (1 - k * k) / (4 * k);
    Elliptic e;
    e.cx = (a.x + b.x) / 2 - dy * along;
    e.cy = (a.y + b.y) / 2 + dx * along;
    const double r = std::hypot(a.x - e.cx, a.y - e.cy);
    e.m[0] = r, e.m[1] = 0, e.m[2] = 0, e.m[3] = r;
    e.t0 = std::atan2(a.y - e.cy, a.x - e.cx);
    e.t1 = e.t0 + 4 * std::atan(k);
    return e;
}

void TransformElliptic(Elliptic& e, const Affine& map) {
    map.Apply(e.cx, e.cy);
    map.ApplyLinear(e.m[0], e.m[1]);
    map.ApplyLinear(e.m[2], e.m[3]);
}

}  // namespace

void AddItemBounds(const Item& item, Bounds& bounds) {
    switch (item.kind) {
        case Item::Kind::Circle:
            if (item.fill) {
                bounds.Add(item.cx, item.cy);
            } else {
                bounds.Add(item.cx - item.r, item.cy - item.r);
                bounds.Add(item.cx + item.r, item.cy + item.r);
            }
            return;
        case Item::Kind::Text: {
            const TextExtent box = BoxOf(item);
            const double turn = item.rotation * kPi / 180;
            const double ux = std::cos(turn), uy = std::sin(turn);
            for (double along : {box.left, box.right}) {
                for (double across : {-box.below, box.above}) {
                    bounds.Add(item.cx + ux * along - uy * across,
                               item.cy + uy * along + ux * across);
                }
            }
            return;
        }
        case Item::Kind::Path:
            break;
    }
    for (const Ring& ring : item.rings) {
        for (size_t i = 0; i < ring.size(); ++i) {
            const bool last = i + 1 == ring.size();
            if (last && !item.closed) {
                bounds.Add(ring[i].x, ring[i].y);
            } else {
                AddSegmentBounds(bounds, ring[i], ring[last ? 0 : i + 1]);
            }
        }
    }
}

void TransformItem(Item& item, const Affine& map) {
    if (map.identity)
        return;
    const bool conformal = map.Conformal();
    const bool mirrored = map.Det() < 0;
    switch (item.kind) {
        case Item::Kind::Circle:
            if (item.fill || conformal) {
                map.Apply(item.cx, item.cy);
                item.r *= map.Scale();
                return;
            }
            {
                const double m[4] = {item.r, 0, 0, item.r};
                item.rings = {EllipseRing(item.cx, item.cy, m, 0, 2 * kPi, true)};
                item.kind = Item::Kind::Path;
                item.closed = true;
            }
            break;
        case Item::Kind::Text: {
            map.Apply(item.cx, item.cy);
            const double turn = item.rotation * kPi / 180;
            double ux = std::cos(turn), uy = std::sin(turn);
            double vx = -uy, vy = ux;
            map.ApplyLinear(ux, uy);
            map.ApplyLinear(vx, vy);
            const double along = std::hypot(ux, uy);
            item.rotation = std::atan2(uy, ux) * 180 / kPi;
            item.height *= along > 0 ? std::fabs(ux * vy - uy * vx) / along : 0;
            return;
        }
        case Item::Kind::Path:
            break;
    }
    item.width *= map.Scale();
    for (Ring& ring : item.rings) {
        if (!conformal) {
            for (size_t i = 0; i < ring.size(); ++i) {
                const bool last = i + 1 == ring.size();
                if (ring[i].bulge == 0 || ring[i].arc || (last && !item.closed))
                    continue;
                const Vertex& next = ring[last ? 0 : i + 1];
                if (next.x == ring[i].x && next.y == ring[i].y)
                    continue;
                ring[i].arc = BulgeAsElliptic(ring[i], next);
                ring[i].bulge = 0;
            }
        }
        for (Vertex& v : ring) {
            map.Apply(v.x, v.y);
            if (mirrored)
                v.bulge = -v.bulge;
            if (v.arc)
                TransformElliptic(*v.arc, map);
        }
    }
}

bool Sane(const Item& item) {
    auto ok = [](double v) { return std::isfinite(v) && std::fabs(v) <= kAbsurd; };
    if (!ok(item.width) || !ok(item.cx) || !ok(item.cy) || !ok(item.r) || !ok(item.height) ||
        !ok(item.rotation)) {
        return false;
    }
    for (const Ring& ring : item.rings) {
        for (const Vertex& v : ring) {
            if (!ok(v.x) || !ok(v.y) || !ok(v.bulge))
                return false;
            if (v.arc && !(ok(v.arc->cx) && ok(v.arc->cy) && ok(v.arc->t0) && ok(v.arc->t1) &&
                           std::all_of(v.arc->m, v.arc->m + 4, ok))) {
                return false;
            }
        }
    }
    return true;
}

Axes EllipseAxes(const double m[4]) {
    // M = R(phi) diag(q + r, q - r) R(theta): the singular values and the turn of the first.
    const double e = (m[0] + m[3]) / 2, f = (m[0] - m[3]) / 2;
    const double g = (m[1] + m[2]) / 2, h = (m[1] - m[2]) / 2;
    const double q = std::hypot(e, h), r = std::hypot(f, g);
    const double a1 = std::atan2(g, f), a2 = std::atan2(h, e);
    return Axes{q + r, std::fabs(q - r), (a2 + a1) / 2};
}

}  // namespace host::svg
