// The DXF writer: sections in the order of the format, objects in an order that a reader
// keeps (entities in drawing order, the rest by handle), so that a file read and written
// again comes out byte for byte the same.
#include "host/files/dxf_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "host/drawing/object_rules.h"
#include "host/files/dxf_angles.h"
#include "host/files/dxf_text.h"

namespace host {
namespace {

constexpr const char* kTableOrder[] = {"VPORT", "LTYPE", "LAYER",    "STYLE",       "VIEW",
                                       "UCS",   "APPID", "DIMSTYLE", "BLOCK_RECORD"};

// A header value as a number; NaN when it is none.
double ParsedReal(std::string_view text) {
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() ? value : std::nan("");
}

class Writer {
  public:
    explicit Writer(const Database& db) : db_(db), writable_(db.SlotCount(), -1) {}
    std::string Run();

  private:
    // The code right-aligned in three columns; any int fits the buffer.
    void Code(int code) {
        char text[16];
        const auto [end, ec] = std::to_chars(text, text + sizeof text, code);
        const size_t n = static_cast<size_t>(end - text);
        out_.append(n < 3 ? 3 - n : 0, ' ');
        out_.append(text, n);
        out_ += '\n';
    }
    void Text(int code, std::string_view value) {
        Code(code);
        AppendEscapedDxfText(out_, value);
        out_ += '\n';
    }
    void Raw(int code, std::string_view value) {
        Code(code);
        out_.append(value);
        out_ += '\n';
    }
    void Real(int code, double value) {
        Code(code);
        char text[40];
        auto [end, ec] = std::to_chars(text, text + sizeof text, value);
        std::string_view written(text, static_cast<size_t>(end - text));
        out_.append(written);
        if (written.find_first_of(".eEn") == std::string_view::npos)
            out_ += ".0";
        out_ += '\n';
    }
    void Int(int code, long value) {
        Code(code);
        char text[24];
        const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
        out_.append(text, static_cast<size_t>(end - text));
        out_ += '\n';
    }
    void Point(int code, const double* point, bool flat) {
        Real(code, point[0]);
        Real(code + 10, point[1]);
        if (!flat)
            Real(code + 20, point[2]);
    }
    void Reference(int code, ObjectId id) {
        const Object* target = db_.Find(id);
        Raw(code, target ? target->handle.ToText() : "0");
    }
    bool Writable(ObjectId id);
    void WriteGroup(const std::string_view type, const host::Group& group, int& pointIndex);
    void Header();
    void Tables();
    void HeaderVariables(const double low[3], const double high[3]);
    void Classes();
    void Blocks();
    void WriteObject(ObjectId id, ObjectId ownerOverride = {});
    // An entity and, after it, the entities that follow it.
    void WriteEntity(ObjectId id, int depth = 0);
    void CollectChildren();

    const Database& db_;
    std::vector<int8_t> writable_;  // -1 not decided yet, 0 no, 1 yes
    std::string out_;
    // Entities by the block record or the entity that owns them (not the spaces' records),
    // in drawing order.
    std::unordered_map<uint32_t, std::vector<ObjectId>> children_;
};

bool Writer::Writable(ObjectId id) {
    if (id.value == 0 || id.value >= writable_.size())
        return false;
    int8_t& known = writable_[id.value];
    if (known >= 0)
        return known == 1;
    known = 0;  // a cycle of owners ends here as not writable
    const host::Object* object = db_.FindLive(id);
    bool ok = object != nullptr;
    if (ok && object->category == Category::Object && object->owner)
        ok = Writable(object->owner);
    if (ok && object->category == Category::Entity) {
        ok = !object->owner || Writable(object->owner);
    }
    known = ok ? 1 : 0;
    return ok;
}

// Points that the format keeps in two dimensions.
bool Flat(std::string_view type, int code, int pointIndex) {
    if (code >= 1000 || code == 210)
        return false;
    if (type == "LWPOLYLINE")
        return code == 10;
    if (type == "HATCH")
        return pointIndex > 0;  // all but the elevation point
    if (type == "VPORT")
        return code >= 10 && code <= 15;
    if (type == "VIEW")
        return code == 10;
    if (type == "LAYOUT")
        return code == 10 || code == 11;
    return false;
}

void Writer::WriteGroup(const std::string_view type, const host::Group& group, int& pointIndex) {
    switch (group.kind) {
        case ValueKind::Text:
            Text(group.code, group.text);
            break;
        case ValueKind::Handle: {
            std::optional<Handle> target = Handle::FromText(group.text);
            if (target && Writable(db_.FindHandle(*target)))
                Raw(group.code, target->ToText());
            else if (group.text == "0")
                Raw(group.code, "0");  // no object, as the file said
            break;
        }
        case ValueKind::Binary:
            Raw(group.code, group.text);
            break;
        case ValueKind::Point:
            Point(group.code, group.point, group.flat || Flat(type, group.code, pointIndex++));
            break;
        case ValueKind::Real:
            if (group.code < 1000 && DegreesInFile(type, group.code))
                Raw(group.code, DegreesForFile(group.real));
            else
                Real(group.code, group.real);
            break;
        case ValueKind::Int16:
        case ValueKind::Int32:
            Int(group.code, group.integer);
            break;
        case ValueKind::EntityName:
            if (Writable(group.id))
                Reference(group.code, group.id);
            else if (!group.id)
                Raw(group.code, "0");  // no object, as the file said
            break;
        case ValueKind::Invalid:
            break;
    }
}

void Writer::WriteObject(ObjectId id, ObjectId ownerOverride) {
    const host::Object& object = *db_.Find(id);
    const std::string_view type = db_.TypeName(object);
    Raw(0, type);
    Raw(type == "DIMSTYLE" ? 105 : 5, object.handle.ToText());
    auto it = object.body.begin();
    bool anyReactor = false;
    for (int i = 0; i < object.reactorCount && it != object.body.end(); ++i, ++it) {
        if (!Writable(it->id))
            continue;
        if (!anyReactor)
            Raw(102, "{ACAD_REACTORS");
        anyReactor = true;
        Reference(330, it->id);
    }
    if (anyReactor)
        Raw(102, "}");
    if (Writable(object.extensionDictionary)) {
        Raw(102, "{ACAD_XDICTIONARY");
        Reference(360, object.extensionDictionary);
        Raw(102, "}");
    }
    ObjectId owner = ownerOverride ? ownerOverride : object.owner;
    if (Writable(owner)) {
        Reference(330, owner);
    } else {
        Raw(330, "0");
    }
    if (object.category == Category::Entity) {
        Raw(100, "AcDbEntity");
        if (object.space != 0)
            Int(67, object.space);
        if (db_.LayoutName(object) != "Model")
            Text(410, db_.LayoutName(object));
        Text(8, db_.LayerName(object));
    }
    int pointIndex = 0;
    if (type == "DICTIONARY") {
        // An entry whose object is not written goes with its key.
        std::string_view key;
        bool haveKey = false;
        for (; it != object.body.end(); ++it) {
            if (it->code == 3) {
                if (haveKey)
                    Text(3, key);
                key = it->text;
                haveKey = true;
            } else if ((it->code == 350 || it->code == 360) && haveKey) {
                if (Writable(it->id)) {
                    Text(3, key);
                    Reference(it->code, it->id);
                }
                haveKey = false;
            } else {
                WriteGroup(type, *it, pointIndex);
            }
        }
        return;
    }
    // Strict readers want the cloning flag first in a record; 1 is the format's default,
    // which the reader leaves out again.
    const bool record = type == "XRECORD";
    for (; it != object.body.end(); ++it) {
        WriteGroup(type, *it, pointIndex);
        if (record && it->code == 100 && it->text == "AcDbXrecord") {
            auto next = it;
            ++next;
            if (next == object.body.end() || next->code != 280)
                Int(280, 1);
        }
    }
}

void Writer::Header() {
    double low[3] = {0, 0, 0};
    double high[3] = {0, 0, 0};
    bool any = false;
    for (ObjectId id : db_.EntityOrder()) {
        const host::Object* object = db_.FindTopLevel(id);
        if (!object)
            continue;
        host::Group radius;
        const bool round = object->body.Find(40, radius) &&
                           (db_.TypeName(*object) == "CIRCLE" || db_.TypeName(*object) == "ARC");
        for (const host::Group& group : object->body) {
            if (group.kind != ValueKind::Point || group.code > 17)
                continue;
            const double r = round && group.code == 10 ? std::fabs(radius.real) : 0.0;
            for (int axis = 0; axis < 3; ++axis) {
                const double grow = axis < 2 ? r : 0.0;
                if (!any || group.point[axis] - grow < low[axis])
                    low[axis] = group.point[axis] - grow;
                if (!any || group.point[axis] + grow > high[axis]) {
                    high[axis] = group.point[axis] + grow;
                }
            }
            any = true;
        }
    }
    Raw(0, "SECTION");
    Raw(2, "HEADER");
    Raw(9, "$ACADVER");
    Raw(1, "AC1027");
    Raw(9, "$DWGCODEPAGE");
    Raw(3, "ANSI_1250");
    HeaderVariables(low, high);
    Raw(0, "ENDSEC");
    Raw(0, "SECTION");
    Raw(2, "CLASSES");
    Classes();
    Raw(0, "ENDSEC");
}

// The variables of the file the drawing came from, as they were, with the handle seed and
// LTSCALE of now; a drawing made here gets the host's own.
void Writer::HeaderVariables(const double low[3], const double high[3]) {
    const auto& kept = db_.fileSections.header;
    const double linetypeScale = db_.LinetypeScale();
    if (!kept.empty()) {
        bool seed = false;
        bool scaleWritten = false;
        enum class In { Other, Seed, Scale } in = In::Other;
        for (const auto& [code, value] : kept) {
            if (code == 9) {
                in = value == "$HANDSEED" ? In::Seed : value == "$LTSCALE" ? In::Scale : In::Other;
                Raw(9, value);
                if (in == In::Seed) {
                    Raw(5, db_.HandleSeed().ToText());
                    seed = true;
                }
            } else if (in == In::Scale && code == 40 && !scaleWritten) {
                // The file's own text while the value is unchanged, so its bytes come back.
                if (ParsedReal(value) == linetypeScale)
                    Raw(40, value);
                else
                    Real(40, linetypeScale);
                scaleWritten = true;
            } else if (in != In::Seed && in != In::Scale) {
                if (KindOfGroup(code) == ValueKind::Text)
                    Text(code, value);
                else
                    Raw(code, value);
            }
        }
        if (!seed) {
            Raw(9, "$HANDSEED");
            Raw(5, db_.HandleSeed().ToText());
        }
        if (!scaleWritten && linetypeScale != 1.0) {
            Raw(9, "$LTSCALE");
            Real(40, linetypeScale);
        }
        return;
    }
    const double origin[3] = {0, 0, 0};
    const double limits[3] = {420, 297, 0};
    Raw(9, "$INSBASE");
    Point(10, origin, false);
    Raw(9, "$EXTMIN");
    Point(10, low, false);
    Raw(9, "$EXTMAX");
    Point(10, high, false);
    Raw(9, "$LIMMIN");
    Point(10, origin, true);
    Raw(9, "$LIMMAX");
    Point(10, limits, true);
    Raw(9, "$CLAYER");
    Raw(8, "0");
    Raw(9, "$TEXTSTYLE");
    Raw(7, "Standard");
    Raw(9, "$DIMSTYLE");
    Raw(2, "Standard");
    Raw(9, "$CELTYPE");
    Raw(6, "ByLayer");
    Raw(9, "$LTSCALE");
    Real(40, linetypeScale);
    Raw(9, "$LUNITS");
    Int(70, 2);
    Raw(9, "$HANDSEED");
    Raw(5, db_.HandleSeed().ToText());
    Raw(9, "$MEASUREMENT");
    Int(70, 1);
    Raw(9, "$INSUNITS");
    Int(70, 5);  // centimetres: one drawing unit is one centimetre
}

void Writer::Classes() {
    const auto& kept = db_.fileSections.classes;
    if (!kept.empty()) {
        for (const auto& [code, value] : kept) {
            if (code != 0 && KindOfGroup(code) == ValueKind::Text)
                Text(code, value);
            else
                Raw(code, value);
        }
        return;
    }
    Raw(0, "CLASS");
    Raw(1, "LAYOUT");
    Raw(2, "AcDbLayout");
    Raw(3, "ObjectDBX Classes");
    Int(90, 0);
    Int(91, 0);
    Int(280, 0);
    Int(281, 0);
}

bool ByHandle(const Database& db, ObjectId a, ObjectId b) {
    return db.Find(a)->handle < db.Find(b)->handle;
}

// Sorts objects by handle. They are made mostly in the order of their handles: the check
// that they are comes first, and the handles are read once each.
void SortByHandle(const Database& db, std::vector<ObjectId>& ids) {
    std::vector<std::pair<Handle, ObjectId>> keyed;
    keyed.reserve(ids.size());
    for (ObjectId id : ids)
        keyed.emplace_back(db.Find(id)->handle, id);
    if (std::is_sorted(keyed.begin(), keyed.end()))
        return;
    std::sort(keyed.begin(), keyed.end());
    for (size_t i = 0; i < ids.size(); ++i)
        ids[i] = keyed[i].second;
}

void Writer::Tables() {
    Raw(0, "SECTION");
    Raw(2, "TABLES");
    std::vector<ObjectId> entries = db_.ObjectsOf(Category::TableEntry);
    std::sort(entries.begin(), entries.end(),
              [&](ObjectId a, ObjectId b) { return ByHandle(db_, a, b); });
    for (const char* table : kTableOrder) {
        const ObjectId header = db_.Table(table);
        const host::Object* headerObject = db_.Find(header);
        if (!headerObject)
            continue;
        std::vector<ObjectId> mine;
        for (ObjectId id : entries) {
            if (db_.TypeName(*db_.Find(id)) == table && Writable(id))
                mine.push_back(id);
        }
        Raw(0, "TABLE");
        Raw(2, table);
        Raw(5, headerObject->handle.ToText());
        Raw(330, "0");
        Raw(100, "AcDbSymbolTable");
        Int(70, static_cast<long>(mine.size()));
        if (std::string_view(table) == "DIMSTYLE")
            Raw(100, "AcDbDimStyleTable");
        for (ObjectId id : mine)
            WriteObject(id, header);
        Raw(0, "ENDTAB");
    }
    Raw(0, "ENDSEC");
}

void Writer::CollectChildren() {
    const ObjectId model = db_.ModelSpace();
    const ObjectId paper = db_.PaperSpace();
    for (ObjectId id : db_.EntityOrder()) {
        const host::Object* object = db_.FindLive(id);
        if (object && object->owner && object->owner != model && object->owner != paper &&
            !db_.FindTopLevel(id)) {
            children_[object->owner.value].push_back(id);
        }
    }
}

void Writer::WriteEntity(ObjectId id, int depth) {
    if (!Writable(id))
        return;
    WriteObject(id);
    auto it = children_.find(id.value);
    if (it == children_.end() || depth > 8)
        return;
    for (ObjectId child : it->second)
        WriteEntity(child, depth + 1);
}

void Writer::Blocks() {
    Raw(0, "SECTION");
    Raw(2, "BLOCKS");
    // Each block record's BLOCK and ENDBLK.
    std::unordered_map<uint32_t, ObjectId> begins, ends;
    for (ObjectId id : db_.ObjectsOf(Category::Object)) {
        const host::Object* object = db_.FindLive(id);
        if (!object || !object->owner)
            continue;
        const std::string_view type = db_.TypeName(*object);
        if (type == "BLOCK")
            begins.emplace(object->owner.value, id);
        else if (type == "ENDBLK")
            ends.emplace(object->owner.value, id);
    }
    for (const char* name : {"*Model_Space", "*Paper_Space"}) {
        const ObjectId record = db_.FindTableEntry("BLOCK_RECORD", name);
        if (!record)
            continue;
        const bool paper = name[1] == 'P';
        for (const char* type : {"BLOCK", "ENDBLK"}) {
            auto& markers = type[0] == 'B' ? begins : ends;
            auto found = markers.find(record.value);
            if (found == markers.end())
                continue;
            const host::Object* object = db_.Find(found->second);
            Raw(0, type);
            Raw(5, object->handle.ToText());
            Reference(330, record);
            Raw(100, "AcDbEntity");
            if (paper)
                Int(67, 1);
            Raw(8, "0");
            if (type[0] == 'E') {
                Raw(100, "AcDbBlockEnd");
                continue;
            }
            const double origin[3] = {0, 0, 0};
            Raw(100, "AcDbBlockBegin");
            Raw(2, name);
            Int(70, 0);
            Point(10, origin, false);
            Raw(3, name);
            Raw(1, "");
        }
    }
    // Every other block, in the order of its record, with its entities.
    std::vector<ObjectId> records;
    for (ObjectId id : db_.ObjectsOf(Category::TableEntry)) {
        if (db_.TypeName(*db_.Find(id)) == "BLOCK_RECORD" && id != db_.ModelSpace() &&
            id != db_.PaperSpace() && Writable(id)) {
            records.push_back(id);
        }
    }
    std::sort(records.begin(), records.end(),
              [&](ObjectId a, ObjectId b) { return ByHandle(db_, a, b); });
    for (ObjectId record : records) {
        auto begin = begins.find(record.value);
        auto end = ends.find(record.value);
        if (begin == begins.end() || end == ends.end())
            continue;
        WriteObject(begin->second);
        auto it = children_.find(record.value);
        if (it != children_.end()) {
            for (ObjectId child : it->second)
                WriteEntity(child);
        }
        WriteObject(end->second);
    }
    Raw(0, "ENDSEC");
}

std::string Writer::Run() {
    out_.reserve(db_.SlotCount() * 200 + 4096);
    CollectChildren();
    Header();
    Tables();
    Blocks();
    Raw(0, "SECTION");
    Raw(2, "ENTITIES");
    for (ObjectId id : db_.EntityOrder()) {
        if (db_.FindTopLevel(id))
            WriteEntity(id);
    }
    Raw(0, "ENDSEC");
    Raw(0, "SECTION");
    Raw(2, "OBJECTS");
    const ObjectId root = db_.NamedObjectDictionary();
    if (Writable(root))
        WriteObject(root);
    std::vector<ObjectId> objects = db_.ObjectsOf(Category::Object);
    SortByHandle(db_, objects);
    for (ObjectId id : objects) {
        const std::string_view type = db_.TypeName(*db_.Find(id));
        if (id == root || type == "BLOCK" || type == "ENDBLK" || !Writable(id))
            continue;
        WriteObject(id);
    }
    Raw(0, "ENDSEC");
    for (const auto& [code, value] : db_.fileSections.extraSections)
        Raw(code, value);
    Raw(0, "EOF");
    return std::move(out_);
}

}  // namespace

std::string WriteDxf(const Database& drawing) {
    return Writer(drawing).Run();
}

}  // namespace host
