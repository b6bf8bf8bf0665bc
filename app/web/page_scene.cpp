// The page's scene on the session's side: which entities to plot again, and their JSON.
#include "app/web/page_scene.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "app/web/json.h"
#include "host/drawing/drawing_access.h"
#include "host/files/plot_walk.h"

namespace app::web {
namespace {

using host::Category;
using host::ObjectId;
using host::svg::Item;

// Elliptical segments are sent as straight pieces of at most this turn (radians).
constexpr double kEllipseStep = host::svg::kPi / 16;

// A coordinate to a thousandth of a drawing unit, without trailing zeros.
void Num(std::string& out, double value) {
    char text[40];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3);
    if (error != std::errc()) {
        out += '0';
        return;
    }
    char* last = end;
    while (last > text && last[-1] == '0')
        --last;
    if (last > text && last[-1] == '.')
        --last;
    std::string_view shown(text, static_cast<size_t>(last - text));
    out += shown == "-0" || shown.empty() ? std::string_view("0") : shown;
}

void Colour(std::string& out, uint32_t rgb, Palette& palette) {
    out += std::to_string(palette.Index(rgb));
}

// The characters of a text as the plot shows them (its under- and overlining left out).
std::string Shown(const std::vector<host::svg::TextRun>& runs) {
    std::string out;
    for (const host::svg::TextRun& run : runs)
        out += run.text;
    return out;
}

void Ring(std::string& out, const host::svg::Ring& ring, bool closed) {
    out += '[';
    bool first = true;
    auto vertex = [&](double x, double y, double bulge) {
        if (!first)
            out += ',';
        first = false;
        Num(out, x);
        out += ',';
        Num(out, y);
        out += ',';
        Num(out, std::isfinite(bulge) ? bulge : 0.0);
    };
    for (size_t i = 0; i < ring.size(); ++i) {
        const host::svg::Vertex& v = ring[i];
        const bool last = i + 1 == ring.size();
        if (!v.arc || (last && !closed)) {
            vertex(v.x, v.y, v.arc ? 0.0 : v.bulge);
            continue;
        }
        // An elliptical segment in straight pieces, its end being the next vertex.
        const host::svg::Elliptic& e = *v.arc;
        const int pieces =
            std::max(1, static_cast<int>(std::ceil(std::fabs(e.t1 - e.t0) / kEllipseStep)));
        vertex(v.x, v.y, 0.0);
        for (int k = 1; k < pieces; ++k) {
            const double t = e.t0 + (e.t1 - e.t0) * k / pieces;
            vertex(e.cx + e.m[0] * std::cos(t) + e.m[2] * std::sin(t),
                   e.cy + e.m[1] * std::cos(t) + e.m[3] * std::sin(t), 0.0);
        }
    }
    out += ']';
}

void Rings(std::string& out, const Item& item) {
    out += '[';
    bool first = true;
    for (const host::svg::Ring& ring : item.rings) {
        if (ring.empty())
            continue;
        if (!first)
            out += ',';
        first = false;
        Ring(out, ring, item.closed);
    }
    out += ']';
}

// A line type's pattern, when the pen has one: ",[dash,gap,...]" in drawing units (a gap
// negative, 0 a dot).
void Dashes(std::string& out, const host::svg::Pen& pen) {
    if (pen.dashes.empty())
        return;
    out += ",[";
    for (size_t i = 0; i < pen.dashes.size(); ++i) {
        if (i > 0)
            out += ',';
        Num(out, pen.dashes[i]);
    }
    out += ']';
}

void Piece(std::string& out, const Item& item, Palette& palette) {
    switch (item.kind) {
        case Item::Kind::Path:
            out += item.fill ? "[1," : "[0,";
            Colour(out, item.pen.colour, palette);
            out += ',';
            if (item.fill) {
                Num(out, item.opacity);
            } else {
                Num(out, item.pen.weight);
                out += ',';
                Num(out, item.width);
                out += item.closed ? ",1" : ",0";
            }
            out += ',';
            Rings(out, item);
            if (!item.fill)
                Dashes(out, item.pen);
            out += ']';
            return;
        case Item::Kind::Circle:
            out += item.fill ? "[3," : "[2,";
            Colour(out, item.pen.colour, palette);
            if (!item.fill) {
                out += ',';
                Num(out, item.pen.weight);
                out += ',';
                Num(out, item.width);
            }
            out += ',';
            Num(out, item.cx);
            out += ',';
            Num(out, item.cy);
            if (!item.fill) {
                out += ',';
                Num(out, item.r);
                Dashes(out, item.pen);
            }
            out += ']';
            return;
        case Item::Kind::Text: {
            // The anchors of the picture's texts, by horizontal alignment.
            static const char kAnchor[] = {'0', '1', '2', '0', '1', '0'};
            const int h = item.horizontal >= 0 && item.horizontal <= 5 ? item.horizontal : 0;
            double x = 0, y = 0;
            host::svg::TextBaseline(item, x, y);
            out += "[4,";
            Colour(out, item.pen.colour, palette);
            out += ',';
            Num(out, x);
            out += ',';
            Num(out, y);
            out += ',';
            Num(out, host::svg::EmOfHeight(item.height));
            out += ',';
            out += kAnchor[h];
            out += ',';
            Num(out, item.rotation);
            out += ',';
            out += JsonString(Shown(item.runs));
            out += ']';
            return;
        }
    }
}

}  // namespace

int Palette::Index(uint32_t paper) {
    auto [it, added] = indexes_.try_emplace(paper, static_cast<int>(colours_.size()));
    if (added) {
        char text[8];
        std::snprintf(text, sizeof text, "#%06x", paper);
        colours_.push_back(text);
    }
    return it->second;
}

std::string EntityJson(std::string_view handle, uint32_t order, std::span<const Item> items,
                       Palette& palette) {
    host::svg::Bounds bounds;
    for (const Item& item : items)
        host::svg::AddItemBounds(item, bounds);
    std::string out = "[";
    out += JsonString(handle);
    out += ',' + std::to_string(order) + ',';
    Num(out, bounds.minX);
    out += ',';
    Num(out, bounds.minY);
    out += ',';
    Num(out, bounds.maxX);
    out += ',';
    Num(out, bounds.maxY);
    out += ',';
    std::string pieces = "[";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            pieces += ',';
        Piece(pieces, items[i], palette);
    }
    pieces += ']';
    out += items.empty() ? std::string("0") : std::to_string(palette.Index(items[0].pen.colour));
    out += ',';
    out += JsonString(pieces);
    out += ']';
    return out;
}

bool PageScene::Affected(const host::Database& drawing, const std::vector<ObjectId>& changed,
                         std::vector<ObjectId>& plot) const {
    for (ObjectId id : changed) {
        const host::Object& object = drawing.SlotState(id);
        if (Shown(id))
            plot.push_back(id);  // whatever it is now: gone, hidden, or changed
        const std::string_view type = drawing.TypeName(object);
        switch (object.category) {
            case Category::Entity: {
                if (object.owner == drawing.ModelSpace()) {
                    plot.push_back(id);
                    break;
                }
                if (object.owner == drawing.PaperSpace())
                    break;  // not drawn
                // A vertex or an attribute: the entity it follows is drawn again.
                const host::Object* owner = drawing.Find(object.owner);
                if (owner && owner->category == Category::Entity &&
                    owner->owner == drawing.ModelSpace()) {
                    plot.push_back(object.owner);
                    break;
                }
                return false;  // in a block: every insert of it may change
            }
            case Category::TableEntry:
                // A layer's colour, pen, line type or state, a line type's pattern, or a
                // block's definition.
                if (type == "LAYER" || type == "LTYPE" || type == "BLOCK_RECORD")
                    return false;
                break;
            case Category::Table:
                break;
            case Category::Object:
                if (type == "BLOCK" || type == "ENDBLK")
                    return false;  // a block's base point
                break;
        }
    }
    return true;
}

uint64_t PageScene::Update(WebHub& hub) {
    const host::Database& drawing = host::CurrentDrawing();
    const host::DrawingChanges changes = host::ChangesSince(drawing_, version_);
    std::vector<ObjectId> plot;
    // LTSCALE sizes every pattern; it is kept with the drawing, not in an object.
    bool full = !started_ || !changes.changed || drawing.LinetypeScale() != linetypeScale_ ||
                !Affected(drawing, *changes.changed, plot);
    linetypeScale_ = drawing.LinetypeScale();
    SceneUpdate update;
    update.full = full;
    if (full) {
        plot = drawing.EntityOrder();
        shown_.assign(drawing.SlotCount(), false);
    } else {
        std::sort(plot.begin(), plot.end());
        plot.erase(std::unique(plot.begin(), plot.end()), plot.end());
    }
    if (shown_.size() < drawing.SlotCount())
        shown_.resize(drawing.SlotCount(), false);
    host::WalkEntities(drawing, plot, [&](ObjectId id, std::span<const Item> items) {
        const host::Object& object = drawing.SlotState(id);
        if (items.empty()) {
            if (Shown(id))
                update.entities.push_back({id.value, std::string(), std::string()});
            shown_[id.value] = false;
            return;
        }
        const std::string handle = object.handle.ToText();
        update.entities.push_back(
            {id.value, handle, EntityJson(handle, id.value, items, palette_)});
        shown_[id.value] = true;
    });
    update.colours = palette_.Colours();
    started_ = true;
    drawing_ = changes.drawing;
    version_ = changes.version;
    return hub.UpdateScene(std::move(update));
}

}  // namespace app::web
