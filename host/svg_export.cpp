// SVG export: each visible model-space entity becomes paths, circles or texts in drawing
// coordinates first, so that the picture's bounds are known before anything is written.
#include "host/svg_export.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "host/dxf_writer.h"

namespace host {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kWidth = 1200.0;
constexpr double kMargin = 20.0;

struct Vertex {
    double x = 0, y = 0, bulge = 0;
};
using Ring = std::vector<Vertex>;

struct Item {
    enum class Kind { Path, Circle, Text } kind = Kind::Path;
    uint32_t colour = 0;
    std::vector<Ring> rings;
    bool closed = false;
    bool fill = false;
    double opacity = 1.0;
    double width = 0.0;  // drawing units; 0 draws the thinnest line
    double cx = 0, cy = 0, r = 0;
    std::string text;
    double height = 0, rotation = 0;
    int horizontal = 0, vertical = 0;
};

struct Bounds {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool any = false;
    void Add(double x, double y) {
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
};

// A ring of an arc from start to end angle (radians, counter-clockwise), as bulged vertices.
Ring ArcRing(double cx, double cy, double r, double start, double end, bool closed) {
    double sweep = end - start;
    while (sweep <= 0)
        sweep += 2 * kPi;
    while (sweep > 2 * kPi)
        sweep -= 2 * kPi;
    const int parts = sweep > kPi ? 2 : 1;  // one bulge cannot make a whole circle
    Ring ring;
    for (int i = 0; i <= parts; ++i) {
        const double a = start + sweep * i / parts;
        Vertex v{cx + r * std::cos(a), cy + r * std::sin(a), 0};
        if (i < parts)
            v.bulge = std::tan(sweep / parts / 4);
        if (i == parts && closed)
            break;
        ring.push_back(v);
    }
    return ring;
}

void AddSegmentBounds(Bounds& bounds, const Vertex& a, const Vertex& b) {
    bounds.Add(a.x, a.y);
    bounds.Add(b.x, b.y);
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

std::string ShownText(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == "%%" && i + 2 < text.size()) {
            const char c = static_cast<char>(text[i + 2] | 0x20);
            const char* symbol = c == 'c' ? "⌀" : c == 'd' ? "°" : c == 'p' ? "±" : nullptr;
            if (text[i + 2] == '%')
                symbol = "%";
            if (symbol) {
                out += symbol;
                i += 2;
                continue;
            }
        }
        switch (text[i]) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += text[i];
        }
    }
    return out;
}

class Exporter {
  public:
    explicit Exporter(const Database& db) : db_(db) {}
    std::string Run();

  private:
    bool Visible(const Object& object, uint32_t& colour) const;
    void Collect(const Object& object, uint32_t colour);
    void CollectHatch(const std::vector<Group>& groups, Item& item);
    std::string X(double x) const { return Number((x - bounds_.minX) * scale_ + kMargin); }
    std::string Y(double y) const { return Number((bounds_.maxY - y) * scale_ + kMargin); }
    static std::string Number(double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", value);
        return text;
    }
    std::string PathData(const Item& item) const;

    const Database& db_;
    std::vector<Item> items_;
    Bounds bounds_;
    double scale_ = 1.0;
};

bool Exporter::Visible(const Object& object, uint32_t& colour) const {
    int index = 256;
    int truecolour = -1;
    for (const Group& group : object.body) {
        if (group.code == 62)
            index = group.integer;
        if (group.code == 420)
            truecolour = group.integer & 0xFFFFFF;
    }
    const Object* layer = db_.Find(db_.FindTableEntry("LAYER", db_.LayerName(object)));
    int layerColour = 7;
    if (layer) {
        for (const Group& group : layer->body) {
            if (group.code == 62)
                layerColour = group.integer;
            if (group.code == 70 && (group.integer & 1) != 0)
                return false;  // frozen
        }
    }
    if (layerColour < 0)
        return false;  // a layer switched off
    if (index == 256)
        index = layerColour;
    if (index == 0)
        index = 7;
    colour = truecolour >= 0 ? static_cast<uint32_t>(truecolour) : AciColour(index);
    return true;
}

void Exporter::CollectHatch(const std::vector<Group>& g, Item& item) {
    size_t i = 0;
    while (i < g.size() && g[i].code != 91)
        ++i;
    if (i == g.size())
        return;
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
                Vertex vertex{g[i].point[0], g[i].point[1], 0};
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
                    ring.push_back(Vertex{c[0], c[1], 0});
                } else if (kind == 2) {
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
    item.closed = true;
}

void Exporter::Collect(const Object& object, uint32_t colour) {
    const std::string_view type = db_.TypeName(object);
    std::vector<Group> g;
    for (const Group& group : object.body)
        g.push_back(group);
    auto first = [&](int code) -> const Group* {
        for (const Group& group : g) {
            if (group.code == code)
                return &group;
        }
        return nullptr;
    };
    auto real = [&](int code, double fallback) {
        const Group* group = first(code);
        return group ? group->real : fallback;
    };
    auto integer = [&](int code) {
        const Group* group = first(code);
        return group ? group->integer : 0;
    };
    Item item;
    item.colour = colour;
    if (type == "LINE" && first(10) && first(11)) {
        item.rings.push_back({{first(10)->point[0], first(10)->point[1], 0},
                              {first(11)->point[0], first(11)->point[1], 0}});
    } else if (type == "LWPOLYLINE") {
        Ring ring;
        for (const Group& group : g) {
            if (group.code == 10)
                ring.push_back(Vertex{group.point[0], group.point[1], 0});
            if (group.code == 42 && !ring.empty())
                ring.back().bulge = group.real;
        }
        item.closed = (integer(70) & 1) != 0;
        item.width = real(43, 0.0);
        item.rings.push_back(std::move(ring));
    } else if ((type == "CIRCLE" || type == "ARC") && first(10)) {
        const double cx = first(10)->point[0], cy = first(10)->point[1], r = real(40, 0);
        if (type == "CIRCLE") {
            item.kind = Item::Kind::Circle;
            item.cx = cx;
            item.cy = cy;
            item.r = r;
            bounds_.Add(cx - r, cy - r);
            bounds_.Add(cx + r, cy + r);
        } else {
            item.rings.push_back(
                ArcRing(cx, cy, r, real(50, 0) * kPi / 180, real(51, 0) * kPi / 180, false));
        }
    } else if (type == "HATCH") {
        item.fill = true;
        Group pattern;
        const bool solid =
            integer(70) == 1 || (object.body.Find(2, pattern) && pattern.text == "SOLID");
        item.opacity = solid ? 1.0 : 0.3;
        CollectHatch(g, item);
    } else if (type == "TEXT" && first(10) && first(1)) {
        item.kind = Item::Kind::Text;
        item.horizontal = integer(72);
        item.vertical = integer(73);
        const Group* at =
            (item.horizontal != 0 || item.vertical != 0) && first(11) ? first(11) : first(10);
        item.cx = at->point[0];
        item.cy = at->point[1];
        item.height = real(40, 1.0);
        item.rotation = real(50, 0.0);
        item.text = ShownText(first(1)->text);
        const double reach = item.height * static_cast<double>(first(1)->text.size());
        bounds_.Add(item.cx - reach, item.cy - item.height);
        bounds_.Add(item.cx + reach, item.cy + item.height);
    } else if (type == "POINT" && first(10)) {
        item.kind = Item::Kind::Circle;
        item.cx = first(10)->point[0];
        item.cy = first(10)->point[1];
        item.fill = true;
        bounds_.Add(item.cx, item.cy);
    } else {
        return;
    }
    for (const Ring& ring : item.rings) {
        for (size_t i = 0; i < ring.size(); ++i) {
            const bool last = i + 1 == ring.size();
            if (last && !item.closed) {
                bounds_.Add(ring[i].x, ring[i].y);
            } else {
                AddSegmentBounds(bounds_, ring[i], ring[last ? 0 : i + 1]);
            }
        }
    }
    items_.push_back(std::move(item));
}

std::string Exporter::PathData(const Item& item) const {
    std::string d;
    for (const Ring& ring : item.rings) {
        if (ring.empty())
            continue;
        d += 'M';
        d += X(ring[0].x);
        d += ' ';
        d += Y(ring[0].y);
        const size_t segments = item.closed ? ring.size() : ring.size() - 1;
        for (size_t i = 0; i < segments; ++i) {
            const Vertex& a = ring[i];
            const Vertex& b = ring[(i + 1) % ring.size()];
            const double chord = std::hypot(b.x - a.x, b.y - a.y);
            if (a.bulge == 0 || chord == 0 || !std::isfinite(a.bulge)) {
                d += " L";
                d += X(b.x);
                d += ' ';
                d += Y(b.y);
                continue;
            }
            const double theta = 4 * std::atan(std::fabs(a.bulge));
            const double r = chord / (2 * std::sin(theta / 2)) * scale_;
            // SVG's positive sweep turns clockwise as seen, the way a negative bulge turns.
            d += " A";
            d += Number(r);
            d += ' ';
            d += Number(r);
            d += theta > kPi ? " 0 1 " : " 0 0 ";
            d += a.bulge < 0 ? "1 " : "0 ";
            d += X(b.x);
            d += ' ';
            d += Y(b.y);
        }
        if (item.closed)
            d += " Z";
    }
    return d;
}

std::string Exporter::Run() {
    for (ObjectId id : db_.EntityOrder()) {
        const Object* object = db_.FindTopLevel(id);
        uint32_t colour = 0;
        if (!object || object->space != 0 || !Visible(*object, colour))
            continue;
        Collect(*object, colour);
    }
    if (!bounds_.any)
        bounds_.Add(0, 0);
    const double dx = std::max(bounds_.maxX - bounds_.minX, 1e-9);
    const double dy = std::max(bounds_.maxY - bounds_.minY, 1e-9);
    scale_ = std::min((kWidth - 2 * kMargin) / dx, (kWidth - 2 * kMargin) / dy);
    if (!std::isfinite(scale_) || scale_ <= 0)
        scale_ = 1.0;
    const double width = dx * scale_ + 2 * kMargin;
    const double height = dy * scale_ + 2 * kMargin;

    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(width) + "\" height=\"" +
           Number(height) + "\" viewBox=\"0 0 " + Number(width) + " " + Number(height) + "\">\n";
    out += "<rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    for (const Item& item : items_) {
        char colour[8];
        std::snprintf(colour, sizeof colour, "#%06x", item.colour & 0xFFFFFFu);
        const std::string stroke = Number(std::max(1.0, item.width * scale_));
        switch (item.kind) {
            case Item::Kind::Path:
                if (item.rings.empty())
                    break;
                out += "<path d=\"" + PathData(item) + "\"";
                if (item.fill) {
                    out += std::string(" fill=\"") + colour + "\" fill-rule=\"evenodd\"";
                    if (item.opacity < 1)
                        out += " fill-opacity=\"" + Number(item.opacity) + "\"";
                    out += " stroke=\"none\"/>\n";
                } else {
                    out += std::string(" fill=\"none\" stroke=\"") + colour + "\" stroke-width=\"" +
                           stroke + "\" stroke-linejoin=\"round\" stroke-linecap=\"round\"/>\n";
                }
                break;
            case Item::Kind::Circle:
                out += "<circle cx=\"" + X(item.cx) + "\" cy=\"" + Y(item.cy) + "\" r=\"" +
                       Number(item.fill ? 1.5 : item.r * scale_) + "\"";
                out += item.fill ? std::string(" fill=\"") + colour + "\"/>\n"
                                 : std::string(" fill=\"none\" stroke=\"") + colour +
                                       "\" stroke-width=\"1.00\"/>\n";
                break;
            case Item::Kind::Text: {
                static const char* const kAnchor[] = {"start", "middle", "end",
                                                      "start", "middle", "start"};
                static const char* const kBaseline[] = {"alphabetic", "text-after-edge", "central",
                                                        "text-before-edge"};
                const int h = item.horizontal >= 0 && item.horizontal <= 5 ? item.horizontal : 0;
                int v = item.vertical >= 0 && item.vertical <= 3 ? item.vertical : 0;
                if (h == 4)
                    v = 2;  // "middle" centres both ways
                // A CAD text height is the height of capitals, about 0.7 of the font size.
                out += "<text x=\"" + X(item.cx) + "\" y=\"" + Y(item.cy) + "\" font-size=\"" +
                       Number(item.height * scale_ / 0.7) +
                       "\" font-family=\"DejaVu Sans, Arial, sans-serif\" fill=\"" + colour +
                       "\" text-anchor=\"" + kAnchor[h] + "\" dominant-baseline=\"" + kBaseline[v] +
                       "\"";
                if (item.rotation != 0) {
                    out += " transform=\"rotate(" + Number(-item.rotation) + " " + X(item.cx) +
                           " " + Y(item.cy) + ")\"";
                }
                out += ">" + item.text + "</text>\n";
                break;
            }
        }
    }
    out += "</svg>\n";
    return out;
}

}  // namespace

uint32_t AciColour(int index) {
    static const uint32_t kFirst[10] = {0x000000, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF,
                                        0x0000FF, 0xFF00FF, 0x000000, 0x808080, 0xC0C0C0};
    static const uint32_t kGreys[6] = {0x333333, 0x505050, 0x696969, 0x828282, 0xBEBEBE, 0xFFFFFF};
    if (index < 1 || index > 255)
        return 0x000000;
    if (index < 10)
        return kFirst[index];
    if (index >= 250)
        return kGreys[index - 250];
    // Hues in steps of 15 degrees from red; within each ten, five shades from bright to dark,
    // each followed by a paler one mixed halfway with white.
    const double hue = (index / 10 - 1) * 15.0;
    static const double kValue[5] = {1.0, 0.65, 0.5, 0.3, 0.15};
    const double value = kValue[(index % 10) / 2];
    const bool pale = index % 2 == 1;
    const double h = hue / 60.0;
    const double x = 1 - std::fabs(std::fmod(h, 2.0) - 1);
    double rgb[3];
    switch (static_cast<int>(h)) {
        case 0:
            rgb[0] = 1, rgb[1] = x, rgb[2] = 0;
            break;
        case 1:
            rgb[0] = x, rgb[1] = 1, rgb[2] = 0;
            break;
        case 2:
            rgb[0] = 0, rgb[1] = 1, rgb[2] = x;
            break;
        case 3:
            rgb[0] = 0, rgb[1] = x, rgb[2] = 1;
            break;
        case 4:
            rgb[0] = x, rgb[1] = 0, rgb[2] = 1;
            break;
        default:
            rgb[0] = 1, rgb[1] = 0, rgb[2] = x;
            break;
    }
    uint32_t out = 0;
    for (double c : rgb) {
        if (pale)
            c = c + (1 - c) * 0.5;
        out = (out << 8) | static_cast<uint32_t>(std::floor(c * value * 255.0 + 1e-9));
    }
    return out;
}

std::string ExportSvg(const Database& drawing) {
    return Exporter(drawing).Run();
}

bool ExportSvgFile(const Database& drawing, const std::string& path, std::string& error) {
    return WriteFileAtomically(path, ExportSvg(drawing), error);
}

}  // namespace host
