// The items of a plot carried onto a sheet: every coordinate, radius and pen worked out here,
// so that all surfaces draw the same thing.
#include "host/files/plot_surface.h"

#include <algorithm>
#include <cmath>

namespace host {
namespace {

using svg::Item;
using svg::kPi;
using svg::Ring;
using svg::Vertex;

// A point (POINT) plots as a dot of this radius.
constexpr double kDotMm = 0.396875;
// A line type's pattern shorter than this on paper is drawn as a continuous line, as a
// plotter draws it.
constexpr double kFinestPatternMm = 0.5;

// The item's pen with its pattern on the sheet: scaled as the drawing is (LTSCALE is in it
// already), or none when too fine to show.
svg::Pen SheetPen(const svg::Pen& pen, const SheetMap& sheet) {
    svg::Pen out = pen;
    double length = 0;
    for (double& dash : out.dashes) {
        dash *= sheet.scale;
        length += std::fabs(dash);
    }
    if (!(length >= kFinestPatternMm * sheet.unitsPerMm))
        out.dashes.clear();
    return out;
}

class Placer {
  public:
    explicit Placer(const SheetMap& sheet) : s_(sheet) {}
    double X(double x) const { return (x - s_.minX) * s_.scale + s_.left; }
    double Y(double y) const { return (s_.maxY - y) * s_.scale + s_.top; }
    void Path(const Item& item, PlotSurface& surface) const;
    void Text(const Item& item, PlotSurface& surface) const;

  private:
    const SheetMap& s_;
};

void Placer::Path(const Item& item, PlotSurface& surface) const {
    for (const Ring& ring : item.rings) {
        if (ring.empty())
            continue;
        surface.MoveTo(X(ring[0].x), Y(ring[0].y));
        const size_t segments = item.closed ? ring.size() : ring.size() - 1;
        for (size_t i = 0; i < segments; ++i) {
            const Vertex& a = ring[i];
            const Vertex& b = ring[(i + 1) % ring.size()];
            if (a.arc) {
                // On the sheet the y axis points down: the arc's matrix flips with it.
                svg::Elliptic arc = *a.arc;
                arc.cx = X(a.arc->cx);
                arc.cy = Y(a.arc->cy);
                arc.m[0] = a.arc->m[0] * s_.scale;
                arc.m[1] = -a.arc->m[1] * s_.scale;
                arc.m[2] = a.arc->m[2] * s_.scale;
                arc.m[3] = -a.arc->m[3] * s_.scale;
                surface.EllipticTo(arc, X(b.x), Y(b.y));
                continue;
            }
            const double chord = std::hypot(b.x - a.x, b.y - a.y);
            if (a.bulge == 0 || chord == 0 || !std::isfinite(a.bulge)) {
                surface.LineTo(X(b.x), Y(b.y));
                continue;
            }
            const double theta = 4 * std::atan(std::fabs(a.bulge));
            const double r = chord / (2 * std::sin(theta / 2)) * s_.scale;
            // The sweep turns clockwise as seen, the way a negative bulge turns.
            surface.ArcTo(r, theta > kPi, a.bulge < 0, X(b.x), Y(b.y));
        }
        if (item.closed)
            surface.ClosePath();
    }
}

void Placer::Text(const Item& item, PlotSurface& surface) const {
    static const SheetText::Anchor kAnchor[] = {
        SheetText::Anchor::Start, SheetText::Anchor::Middle, SheetText::Anchor::End,
        SheetText::Anchor::Start, SheetText::Anchor::Middle, SheetText::Anchor::Start};
    const int h = item.horizontal >= 0 && item.horizontal <= 5 ? item.horizontal : 0;
    // Every text stands on its base line, worked out from the font, so that surfaces and
    // readers that know other baselines place it alike.
    double x = 0, y = 0;
    svg::TextBaseline(item, x, y);
    SheetText text;
    text.x = X(x);
    text.y = Y(y);
    text.size = svg::EmOfHeight(item.height) * s_.scale;
    text.rotation = item.rotation;
    text.anchor = kAnchor[h];
    text.runs = &item.runs;
    text.pen = item.pen;
    surface.Text(text);
}

}  // namespace

void DrawPlotItems(const std::vector<Item>& items, const SheetMap& sheet, PlotSurface& surface) {
    const Placer place(sheet);
    for (const Item& item : items) {
        const double stroke =
            std::max(item.width * sheet.scale, item.pen.weight * sheet.unitsPerMm);
        switch (item.kind) {
            case Item::Kind::Path:
                if (item.rings.empty())
                    break;
                place.Path(item, surface);
                if (item.fill)
                    surface.FillPath(item.pen, item.opacity);
                else
                    surface.StrokePath(SheetPen(item.pen, sheet), stroke);
                break;
            case Item::Kind::Circle:
                if (item.fill) {
                    surface.Disc(place.X(item.cx), place.Y(item.cy), kDotMm * sheet.unitsPerMm,
                                 item.pen);
                } else {
                    surface.Circle(place.X(item.cx), place.Y(item.cy), item.r * sheet.scale,
                                   SheetPen(item.pen, sheet), stroke);
                }
                break;
            case Item::Kind::Text:
                place.Text(item, surface);
                break;
        }
    }
}

}  // namespace host
