// The plot walk: model space in the drawing's order, blocks where they are inserted (arrays of
// inserts, dimensions' pictures, attributes), each entity in its layer's or its own colour and
// pen as a colour-dependent plot style gives them.
#include "host/files/plot_walk.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

#include "host/drawing/object_rules.h"
#include "host/files/svg_entities.h"

namespace host {
namespace {

using svg::Affine;
using svg::Item;
using svg::kPi;

// Blocks inside blocks deeper than this are taken for a loop.
constexpr int kMaxDepth = 16;
// Entities drawn in all, copies in inserted blocks included: a bound on nested arrays.
constexpr long kMaxDrawn = 1000000;

// Where an entity is drawn: the map from its coordinates to the drawing's, the colour of
// the insert that shows it (for BYBLOCK and layer "0"), how deep in blocks it lies.
struct Place {
    Affine map;
    const uint32_t* byBlock = nullptr;
    int depth = 0;
};

class Walk {
  public:
    explicit Walk(const Database& db) : db_(db) {}
    PlotItems Run();
    // Draws one entity of model space as the plot does (nothing for any other); the items
    // drawn are added at the end of Items().
    void DrawTopLevel(ObjectId id);
    const std::vector<Item>& Items() const { return plot_.items; }

  private:
    // The entities owned by others and the blocks' base points, found once when first needed.
    void IndexOwned();
    bool Visible(const Object& object, const uint32_t* byBlock, uint32_t& colour,
                 double& pen) const;
    std::vector<double> Dashes(const Object& object) const;
    void Draw(ObjectId id, const Object& object, uint32_t colour, double pen, const Place& place);
    void DrawOwned(ObjectId owner, const Place& place);
    void DrawInsert(ObjectId id, const Object& object, uint32_t colour, const Place& place);
    void LeaveOut(ObjectId id, const Object& object);
    ObjectId BlockRecord(const Object& object) const;

    const Database& db_;
    PlotItems plot_;
    // Entities owned by something other than model space (block contents, followers); only
    // read while drawing, so that references into it stay valid through nested blocks.
    std::unordered_map<uint32_t, std::vector<ObjectId>> owned_;
    std::unordered_map<uint32_t, std::pair<double, double>> blockBase_;
    std::unordered_set<uint32_t> followers_;  // found by their place in the file
    std::unordered_set<uint32_t> leftIds_;
    long drawn_ = 0;
    bool indexed_ = false;
};

// The pen an entity is plotted with, in millimetres: its own line weight or its layer's
// (group 370, hundredths of a millimetre) when one is set, else the pen of its colour, as a
// colour-dependent plot style gives it: the colours of the reinforcement layers (2 for
// bars of 12 mm and more, 5 for thinner ones) plot heavier than outlines, and outlines
// than descriptions, dimensions and tables.
double PenOf(int lineweight, int colourIndex) {
    if (lineweight >= 0 && lineweight <= 211)
        return lineweight / 100.0;
    switch (colourIndex) {
        case 2:
            return 0.60;
        case 5:
            return 0.40;
        case 7:
            return 0.25;
        default:
            return 0.18;
    }
}

// How a colour shows on white paper: light colours (yellow, cyan, pale shades, white),
// which would all but vanish, are darkened keeping their hue.
uint32_t OnPaper(uint32_t rgb) {
    const double r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    const double luminance = (0.2126 * r + 0.7152 * g + 0.0722 * b) / 255.0;
    constexpr double kDarkest = 0.45;
    if (luminance <= kDarkest)
        return rgb;
    const double k = kDarkest / luminance;
    auto channel = [&](double c) { return static_cast<uint32_t>(std::lround(c * k)); };
    return (channel(r) << 16) | (channel(g) << 8) | channel(b);
}

// Whether every number of the entity's own groups is finite and within reason.
bool SaneNumbers(const Object& object) {
    auto ok = [](double v) { return std::isfinite(v) && std::fabs(v) <= svg::kAbsurd; };
    for (const Group& group : object.body) {
        if (group.code >= 1000)
            continue;  // extended data of applications: not drawn
        if (group.kind == ValueKind::Real && !ok(group.real))
            return false;
        if (group.kind == ValueKind::Point &&
            !(ok(group.point[0]) && ok(group.point[1]) && ok(group.point[2]))) {
            return false;
        }
    }
    return true;
}

void Walk::IndexOwned() {
    if (indexed_)
        return;
    indexed_ = true;
    ObjectId parent;  // the INSERT or POLYLINE whose followers may come next
    for (ObjectId id : db_.EntityOrder()) {
        const Object* object = db_.FindLive(id);
        if (!object)
            continue;
        const std::string_view type = db_.TypeName(*object);
        const Object* owner = db_.Find(object->owner);
        if ((type == "VERTEX" || type == "ATTRIB" || type == "SEQEND") &&
            !(owner && owner->category == Category::Entity)) {
            // Some writers give followers their space as owner: they belong to the entity
            // they follow in the file.
            if (parent) {
                owned_[parent.value].push_back(id);
                followers_.insert(id.value);
            }
            if (type == "SEQEND")
                parent = {};
            continue;
        }
        parent = type == "INSERT" || type == "POLYLINE" ? id : ObjectId{};
        if (object->owner && object->owner != db_.ModelSpace())
            owned_[object->owner.value].push_back(id);
    }
    for (ObjectId id : db_.ObjectsOf(Category::Object)) {
        const Object* block = db_.FindLive(id);
        Group base;
        if (block && block->owner && db_.TypeName(*block) == "BLOCK" && block->body.Find(10, base))
            blockBase_[block->owner.value] = {base.point[0], base.point[1]};
    }
}

bool Walk::Visible(const Object& object, const uint32_t* byBlock, uint32_t& colour,
                   double& pen) const {
    int index = 256;
    int truecolour = -1;
    int weight = -1;  // by layer
    for (const Group& group : object.body) {
        if (group.code == 370)
            weight = group.integer;
        if (group.code == 62)
            index = group.integer;
        if (group.code == 420)
            truecolour = group.integer & 0xFFFFFF;
        if (group.code == 60 && group.integer == 1)
            return false;  // the entity's own "invisible" flag
    }
    const Object* layer = db_.Find(db_.FindTableEntry("LAYER", db_.LayerName(object)));
    int layerColour = 7;
    int layerWeight = -3;  // the default
    if (layer) {
        for (const Group& group : layer->body) {
            if (group.code == 370)
                layerWeight = group.integer;
            if (group.code == 62)
                layerColour = group.integer;
            if (group.code == 70 && (group.integer & 1) != 0)
                return false;  // frozen
            if (group.code == 290 && group.integer == 0)
                return false;  // a layer not to be plotted
        }
    }
    if (EqualNoCase(db_.LayerName(object), "Defpoints"))
        return false;  // dimensions' definition points, never plotted
    if (layerColour < 0)
        return false;  // a layer switched off
    if (weight == -1)
        weight = layerWeight;
    // In a block, BYBLOCK and layer "0" take the colour of the insert.
    if (byBlock && (index == 0 || (index == 256 && db_.LayerName(object) == "0"))) {
        colour = truecolour >= 0 ? static_cast<uint32_t>(truecolour) : *byBlock;
        pen = PenOf(weight, 7);
        return true;
    }
    if (index == 256)
        index = layerColour;
    if (index == 0)
        index = 7;
    colour = truecolour >= 0 ? static_cast<uint32_t>(truecolour) : AciColour(index);
    pen = PenOf(weight, index);
    return true;
}

// The pattern of the entity's line type (its own, else its layer's), times LTSCALE and the
// entity's own scale (group 48); empty for a continuous line, one taken from its block, and
// one whose type the drawing does not define.
std::vector<double> Walk::Dashes(const Object& object) const {
    std::string_view name = "BYLAYER";
    double scale = db_.LinetypeScale();
    for (const Group& group : object.body) {
        if (group.code == 6)
            name = group.text;
        if (group.code == 48 && group.real > 0)
            scale *= group.real;
    }
    if (EqualNoCase(name, "BYLAYER")) {
        name = "CONTINUOUS";
        const Object* layer = db_.Find(db_.FindTableEntry("LAYER", db_.LayerName(object)));
        Group own;
        if (layer && layer->body.Find(6, own))
            name = own.text;
    }
    std::vector<double> dashes;
    const Object* linetype = db_.Find(db_.FindTableEntry("LTYPE", name));
    if (!linetype || EqualNoCase(name, "CONTINUOUS") || EqualNoCase(name, "BYBLOCK"))
        return dashes;
    double length = 0;
    for (const Group& group : linetype->body) {
        if (group.code == 49 && std::isfinite(group.real)) {
            dashes.push_back(group.real * scale);
            length += std::fabs(group.real);
        }
    }
    if (!(length > 0))
        dashes.clear();
    return dashes;
}

void Walk::LeaveOut(ObjectId id, const Object& object) {
    if (leftIds_.insert(id.value).second)
        ++plot_.leftOut[std::string(db_.TypeName(object))];
}

ObjectId Walk::BlockRecord(const Object& object) const {
    Group name;
    if (!object.body.Find(2, name) || name.text.empty())
        return {};
    return db_.FindTableEntry("BLOCK_RECORD", name.text);
}

void Walk::Draw(ObjectId id, const Object& object, uint32_t colour, double pen,
                const Place& place) {
    const std::string_view type = db_.TypeName(object);
    if (type == "VERTEX" || type == "SEQEND" || (type == "ATTDEF" && place.depth > 0))
        return;  // parts of other entities; definitions of attributes show as ATTRIBs
    if (++drawn_ > kMaxDrawn || !SaneNumbers(object)) {
        LeaveOut(id, object);
        return;
    }
    if (type == "INSERT" || type == "DIMENSION" || type == "POLYLINE")
        IndexOwned();  // what they draw is owned by them or by a block
    if (type == "INSERT") {
        DrawInsert(id, object, colour, place);
        return;
    }
    if (type == "DIMENSION") {
        // A dimension's picture is an anonymous block drawn where it lies.
        const ObjectId record = BlockRecord(object);
        if (!record || place.depth >= kMaxDepth) {
            LeaveOut(id, object);
            return;
        }
        Group normal;
        const Affine plane =
            object.body.Find(210, normal) ? svg::PlaneToDrawing(normal.point, 0) : Affine{};
        DrawOwned(record, Place{place.map.After(plane), &colour, place.depth + 1});
        return;
    }
    std::vector<const GroupList*> followers;
    if (type == "POLYLINE") {
        if (auto found = owned_.find(id.value); found != owned_.end()) {
            for (ObjectId vertex : found->second) {
                const Object* follower = db_.FindLive(vertex);
                if (follower && db_.TypeName(*follower) == "VERTEX")
                    followers.push_back(&follower->body);
            }
        }
    }
    svg::Shape shape;
    if (!svg::ShapeOf(type, object.body, followers, shape)) {
        LeaveOut(id, object);
        return;
    }
    const Affine map = place.map.After(shape.plane);
    std::vector<double> dashes = Dashes(object);
    for (double& dash : dashes)
        dash *= map.Scale();
    for (Item& item : shape.items) {
        item.pen = svg::Pen{OnPaper(colour & 0xFFFFFFu), pen,
                            item.kind == Item::Kind::Text ? std::vector<double>{} : dashes};
        svg::TransformItem(item, map);
        if (!svg::Sane(item)) {
            LeaveOut(id, object);
            return;
        }
    }
    for (Item& item : shape.items) {
        svg::AddItemBounds(item, plot_.bounds);
        plot_.items.push_back(std::move(item));
    }
}

void Walk::DrawOwned(ObjectId owner, const Place& place) {
    auto found = owned_.find(owner.value);
    if (found == owned_.end())
        return;
    for (ObjectId child : found->second) {
        const Object* object = db_.FindLive(child);
        uint32_t colour = 0;
        double pen = 0;
        if (object && Visible(*object, place.byBlock, colour, pen))
            Draw(child, *object, colour, pen, place);
    }
}

void Walk::DrawInsert(ObjectId id, const Object& object, uint32_t colour, const Place& place) {
    const ObjectId record = BlockRecord(object);
    Group g;
    auto real = [&](int code, double fallback) {
        return object.body.Find(code, g) ? g.real : fallback;
    };
    auto count = [&](int code) { return object.body.Find(code, g) ? std::max(1, g.integer) : 1; };
    const int columns = count(70), rows = count(71);
    if (!record || place.depth >= kMaxDepth || static_cast<long>(columns) * rows > 10000) {
        LeaveOut(id, object);
    } else {
        double at[3] = {0, 0, 0};
        if (object.body.Find(10, g))
            std::copy(g.point, g.point + 3, at);
        const Affine plane =
            object.body.Find(210, g) ? svg::PlaneToDrawing(g.point, at[2]) : Affine{};
        std::pair<double, double> base{0, 0};
        if (auto found = blockBase_.find(record.value); found != blockBase_.end())
            base = found->second;
        const Affine scaled = Affine::Scaling(real(41, 1.0), real(42, 1.0))
                                  .After(Affine::Translation(-base.first, -base.second));
        const Affine turned =
            Affine::Translation(at[0], at[1]).After(Affine::Rotation(real(50, 0.0) * kPi / 180));
        const double columnStep = real(44, 0.0), rowStep = real(45, 0.0);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                const Affine cell = Affine::Translation(column * columnStep, row * rowStep);
                const Affine map = place.map.After(plane.After(turned.After(cell.After(scaled))));
                DrawOwned(record, Place{map, &colour, place.depth + 1});
            }
        }
    }
    // Attributes lie where they are shown already, in the insert's own space.
    auto found = owned_.find(id.value);
    if (found == owned_.end())
        return;
    for (ObjectId attribute : found->second) {
        const Object* text = db_.FindLive(attribute);
        uint32_t own = 0;
        double pen = 0;
        if (text && db_.TypeName(*text) == "ATTRIB" && Visible(*text, &colour, own, pen))
            Draw(attribute, *text, own, pen, place);
    }
}

void Walk::DrawTopLevel(ObjectId id) {
    const Object* object = db_.FindTopLevel(id);
    uint32_t colour = 0;
    double pen = 0;
    // Block contents, followers and paper space are drawn through what shows them.
    if (!object || object->space != 0 || (object->owner && object->owner != db_.ModelSpace()) ||
        !Visible(*object, nullptr, colour, pen)) {
        return;
    }
    Draw(id, *object, colour, pen, Place{});
}

PlotItems Walk::Run() {
    IndexOwned();
    for (ObjectId id : db_.EntityOrder())
        DrawTopLevel(id);
    return std::move(plot_);
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

std::string LeftOutSummary(const LeftOut& leftOut) {
    std::string text;
    for (const auto& [kind, count] : leftOut) {
        if (!text.empty())
            text += ", ";
        text += kind + " " + std::to_string(count);
    }
    return text;
}

PlotItems WalkDrawing(const Database& drawing) {
    return Walk(drawing).Run();
}

void WalkEntities(const Database& drawing, const std::vector<ObjectId>& ids,
                  const std::function<void(ObjectId, std::span<const svg::Item>)>& each) {
    Walk walk(drawing);
    for (ObjectId id : ids) {
        const size_t first = walk.Items().size();
        walk.DrawTopLevel(id);
        each(id, std::span<const svg::Item>(walk.Items()).subspan(first));
    }
}

}  // namespace host
