// The drawing database: storage, indexes and the validated paths that change objects.
//
// Invariants (CheckInvariants):
//  - byHandle_ holds exactly the slots whose handle is set, each under its own handle;
//  - the handle seed is above every handle in use;
//  - tables_ and tableEntries_ name present table headers and entries under their names,
//    and every present entry is reachable through them;
//  - owners, extension dictionaries and references of present objects name present slots
//    or slots a file reader reserved for a handle;
//  - the last entity is none or a present entity.
#include "host/drawing/database.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <future>
#include <iterator>
#include <system_error>

#include "host/drawing/large_pages.h"
#include "host/drawing/object_rules.h"
#include "host/drawing/standard_linetypes.h"

namespace host {

namespace {

// Byte offset of the first group after the reactor prefix.
size_t BodyStart(const Object& object) {
    auto it = object.body.begin();
    for (int i = 0; i < object.reactorCount && it != object.body.end(); ++i)
        ++it;
    return it.Offset();
}

GroupList BodyWithoutReactors(const Object& object) {
    GroupList out;
    out.AppendRange(object.body, BodyStart(object), object.body.ByteSize());
    return out;
}

}  // namespace

std::string Handle::ToText() const {
    // Written for every object and reference of a file: digits by hand, not through printf.
    char text[16];
    char* end = text + sizeof text;
    char* at = end;
    uint64_t rest = value;
    do {
        *--at = "0123456789ABCDEF"[rest & 0xF];
        rest >>= 4;
    } while (rest != 0);
    return std::string(at, end);
}

std::optional<Handle> Handle::FromText(std::string_view text) {
    if (text.empty() || text.size() > 16)
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else {
            return std::nullopt;
        }
        value = value * 16 + static_cast<uint64_t>(digit);
    }
    if (value == 0)
        return std::nullopt;
    return Handle{value};
}

// ---- Construction ----

Database::Database(EmptyTag) {
    objects_.resize(1);
    pool_.push_back("");
    poolIndex_.emplace("", 0);
    layerZero_ = Intern("0");
    modelLayout_ = Intern("Model");
    counters_.seed = Handle{1};
}

Database Database::Empty() {
    return Database(EmptyTag{});
}

Database::Database() : Database(EmptyTag{}) {
    EnsureStandardContents();
    // A new drawing offers the standard line types too; one read from a file keeps its own.
    for (const StandardLinetype& linetype : kStandardLinetypes) {
        GroupList body;
        body.AddText(2, linetype.name);
        body.Append(LinetypeEntryBody(linetype));
        MakeStandard("LTYPE", Category::TableEntry, Table("LTYPE"), body);
    }
}

ObjectId Database::MakeStandard(std::string_view type, Category category, ObjectId owner,
                                const GroupList& body) {
    ObjectId id = NewSlot();
    Object object;
    object.state = ObjectState::Live;
    object.category = category;
    object.type = Intern(type);
    object.handle = counters_.seed;
    object.owner = owner;
    const TypeRule* rule = FindTypeRule(type);
    object.body = rule ? WithSubclassMarkers(*rule, body) : body;
    RecordCounters();
    counters_.seed.value++;
    Store(id, std::move(object));
    return id;
}

void Database::EnsureStandardContents() {
    static const char* const kTables[] = {"VPORT", "LTYPE", "LAYER",    "STYLE",       "VIEW",
                                          "UCS",   "APPID", "DIMSTYLE", "BLOCK_RECORD"};
    for (const char* table : kTables) {
        if (Table(table))
            continue;
        GroupList body;
        body.AddText(2, table);
        MakeStandard("TABLE", Category::Table, ObjectId{}, body);
    }
    auto entry = [&](const char* table, const char* name, GroupList rest) {
        if (FindTableEntry(table, name))
            return;
        GroupList body;
        body.AddText(2, name);
        body.AddInt(70, 0);
        body.Append(rest);
        MakeStandard(table, Category::TableEntry, Table(table), body);
    };
    entry("BLOCK_RECORD", "*Model_Space", {});
    entry("BLOCK_RECORD", "*Paper_Space", {});
    modelSpace_ = FindTableEntry("BLOCK_RECORD", "*Model_Space");
    paperSpace_ = FindTableEntry("BLOCK_RECORD", "*Paper_Space");
    auto lineType = [](const char* description) {
        GroupList rest;
        rest.AddText(3, description);
        rest.AddInt(72, 65);
        rest.AddInt(73, 0);
        rest.AddReal(40, 0.0);
        return rest;
    };
    entry("LTYPE", "ByBlock", lineType(""));
    entry("LTYPE", "ByLayer", lineType(""));
    entry("LTYPE", "CONTINUOUS", lineType("Solid line"));
    GroupList layer;
    layer.AddInt(62, 7);
    layer.AddText(6, "CONTINUOUS");
    entry("LAYER", "0", layer);
    GroupList style;
    style.AddReal(40, 0.0);
    style.AddReal(41, 1.0);
    style.AddReal(50, 0.0);
    style.AddInt(71, 0);
    style.AddReal(42, 2.5);
    style.AddText(3, "txt");
    style.AddText(4, "");
    entry("STYLE", "STANDARD", style);
    entry("APPID", "ACAD", {});
    entry("DIMSTYLE", "STANDARD", {});

    if (!FindLive(namedObjects_)) {
        namedObjects_ = {};
        for (ObjectId id : ObjectsOf(Category::Object)) {
            const Object& object = objects_[id.value];
            if (TypeName(object) == "DICTIONARY" && !object.owner) {
                namedObjects_ = id;
                break;
            }
        }
        if (!namedObjects_) {
            GroupList body;
            body.AddInt(281, 1);
            namedObjects_ = MakeStandard("DICTIONARY", Category::Object, ObjectId{}, body);
        }
    }
    if (!DictionaryLookup(namedObjects_, "ACAD_GROUP")) {
        GroupList body;
        body.AddInt(281, 1);
        ObjectId groups = MakeStandard("DICTIONARY", Category::Object, namedObjects_, body);
        DictionaryAdd(namedObjects_, "ACAD_GROUP", groups);
    }
}

// ---- Reading ----

const Object* Database::Find(ObjectId id) const {
    if (id.value == 0 || id.value >= objects_.size())
        return nullptr;
    const Object& object = objects_[id.value];
    return object.state == ObjectState::Absent ? nullptr : &object;
}

const Object* Database::FindLive(ObjectId id) const {
    const Object* object = Find(id);
    return object && object->state == ObjectState::Live ? object : nullptr;
}

const Object* Database::FindTopLevel(ObjectId id) const {
    const Object* object = FindLive(id);
    if (!object || object->category != Category::Entity)
        return nullptr;
    const ObjectId owner = object->owner;
    if (!owner || owner == modelSpace_ || owner == paperSpace_)
        return object;
    // Inside a block, or following its parent entity.
    const Object* holder = Find(owner);
    if (holder &&
        (holder->category == Category::Entity ||
         (holder->category == Category::TableEntry && TypeName(*holder) == "BLOCK_RECORD")))
        return nullptr;
    return object;
}

std::vector<ObjectId> Database::Followers(ObjectId parent) const {
    auto it = followers_.find(parent.value);
    if (it == followers_.end())
        return {};
    std::vector<ObjectId> out;
    for (ObjectId id : it->second) {
        const Object* object = Find(id);
        if (object && object->category == Category::Entity && object->owner == parent)
            out.push_back(id);
    }
    return out;
}

ObjectId Database::FindHandle(Handle handle) const {
    const ObjectId id{byHandle_.Find(handle.value)};
    return Find(id) ? id : ObjectId{};
}

std::vector<ObjectId> Database::ObjectsOf(Category category) const {
    std::vector<ObjectId> out;
    for (uint32_t i = 1; i < objects_.size(); ++i) {
        if (objects_[i].state != ObjectState::Absent && objects_[i].category == category) {
            out.push_back(ObjectId{i});
        }
    }
    return out;
}

GroupList Database::FullList(ObjectId id) const {
    GroupList list;
    const Object* object = Find(id);
    if (!object)
        return list;
    list.AddId(-1, id);
    list.AddText(0, TypeName(*object));
    list.AddText(5, object->handle.ToText());
    size_t bodyStart = BodyStart(*object);
    if (object->reactorCount > 0) {
        list.AddText(102, "{ACAD_REACTORS");
        list.AppendRange(object->body, 0, bodyStart);
        list.AddText(102, "}");
    }
    if (object->extensionDictionary) {
        list.AddText(102, "{ACAD_XDICTIONARY");
        list.AddId(360, object->extensionDictionary);
        list.AddText(102, "}");
    }
    if (object->owner)
        list.AddId(330, object->owner);
    if (object->category == Category::Entity) {
        list.AddText(100, "AcDbEntity");
        list.AddInt(67, object->space);
        list.AddText(410, LayoutName(*object));
        list.AddText(8, LayerName(*object));
    }
    list.AppendRange(object->body, bodyStart, object->body.ByteSize());
    return list;
}

std::string Database::EntryName(const Object& object) const {
    Group name;
    GroupList body = BodyWithoutReactors(object);
    return body.Find(2, name) ? std::string(name.text) : std::string();
}

std::string Database::TableKey(std::string_view table, std::string_view name) {
    return UpperAscii(table) + '\n' + UpperAscii(name);
}

ObjectId Database::Table(std::string_view table) const {
    auto it = tables_.find(UpperAscii(table));
    return it == tables_.end() ? ObjectId{} : it->second;
}

ObjectId Database::FindTableEntry(std::string_view table, std::string_view name) const {
    auto it = tableEntries_.find(TableKey(table, name));
    return it == tableEntries_.end() ? ObjectId{} : it->second;
}

std::vector<std::pair<std::string, ObjectId>> Database::DictionaryEntries(ObjectId dict) const {
    std::vector<std::pair<std::string, ObjectId>> out;
    const Object* object = Find(dict);
    if (!object || TypeName(*object) != "DICTIONARY")
        return out;
    std::string_view key;
    bool haveKey = false;
    for (const Group& group : object->body) {
        if (group.code == 3) {
            key = group.text;
            haveKey = true;
        } else if ((group.code == 350 || group.code == 360) && haveKey) {
            out.emplace_back(std::string(key), group.id);
            haveKey = false;
        }
    }
    return out;
}

DictionaryKeys* Database::KeysOf(ObjectId dict, const Object& object) const {
    // A small dictionary is read whole: an index would cost more than it saves.
    constexpr size_t kIndexedBytes = 4096;
    if (object.body.ByteSize() < kIndexedBytes)
        return nullptr;
    auto found = dictionaryKeys_.find(dict.value);
    if (found == dictionaryKeys_.end())
        found = dictionaryKeys_.emplace(dict.value, DictionaryKeys::Of(object.body)).first;
    return &found->second;
}

size_t Database::DictionaryFreeKey(ObjectId dict, std::string_view prefix) const {
    const Object* object = Find(dict);
    if (!object || TypeName(*object) != "DICTIONARY")
        return 0;
    if (DictionaryKeys* keys = KeysOf(dict, *object))
        return keys->FirstFree(prefix);
    return DictionaryKeys::Of(object->body).FirstFree(prefix);
}

ObjectId Database::DictionaryLookup(ObjectId dict, std::string_view key) const {
    const Object* object = Find(dict);
    if (!object || TypeName(*object) != "DICTIONARY")
        return {};
    if (const DictionaryKeys* keys = KeysOf(dict, *object))
        return keys->Find(key);
    bool match = false;
    for (const Group& group : object->body) {
        if (group.code == 3) {
            match = EqualNoCase(group.text, key);
        } else if ((group.code == 350 || group.code == 360) && match) {
            return group.id;
        }
    }
    return {};
}

// ---- Storage and indexes ----

uint32_t Database::Intern(std::string_view text) {
    // A few names (types, layers) come again and again: compared before hashing.
    for (uint32_t index : recent_) {
        if (pool_[index] == text)
            return index;
    }
    auto it = poolIndex_.find(text);
    if (it != poolIndex_.end()) {
        recent_[nextRecent_++ % std::size(recent_)] = it->second;
        return it->second;
    }
    uint32_t index = static_cast<uint32_t>(pool_.size());
    pool_.emplace_back(text);
    poolIndex_.emplace(std::string(text), index);
    return index;
}

Object* Database::Slot(ObjectId id) {
    if (id.value == 0 || id.value >= objects_.size())
        return nullptr;
    return &objects_[id.value];
}

ObjectId Database::NewSlot() {
    objects_.emplace_back();
    return ObjectId{static_cast<uint32_t>(objects_.size() - 1)};
}

void Database::Record(ObjectId id) {
    if (recorder_)
        recorder_->BeforeChange(id, objects_[id.value]);
}

void Database::RecordCounters() {
    if (recorder_)
        recorder_->BeforeCountersChange();
}

std::vector<ObjectId> Database::EntitiesNear(double x, double y, double reach) const {
    std::vector<ObjectId> found;
    for (uint32_t slot : picks_.Near(x, y, reach))
        found.push_back(ObjectId{slot});
    records_.SortByCreation(*this, found);
    return found;
}

std::vector<ObjectId> Database::GroupsListing(ObjectId member) const {
    std::vector<ObjectId> found;
    for (uint32_t slot : groups_.GroupsOf(member))
        found.push_back(ObjectId{slot});
    return found;
}

void Database::Index(ObjectId id, Handle before) {
    const Object& object = objects_[id.value];
    changes_.Stamp(id.value);
    // The handle index is brought up to date here alone: most changes keep the handle.
    if (before && before != object.handle && byHandle_.Find(before.value) == id.value)
        byHandle_.Erase(before.value);
    if (object.handle)
        byHandle_.Put(object.handle.value, id.value);
    if (!loading_)
        records_.Changed(*this, id);
    if (!loading_)
        picks_.Changed(*this, id);
    if (object.state == ObjectState::Absent)
        return;
    if (!loading_) {
        groups_.Add(*this, id, object);
        if (Follows(object)) {
            std::vector<ObjectId>& list = followers_[object.owner.value];
            list.insert(std::upper_bound(list.begin(), list.end(), id), id);
        }
    }
    if (object.category == Category::TableEntry) {
        const std::string name = EntryName(object);
        tableEntries_[TableKey(TypeName(object), name)] = id;
        // A file reader meets the spaces' records before their entities.
        if (TypeName(object) == "BLOCK_RECORD") {
            if (EqualNoCase(name, "*Model_Space"))
                modelSpace_ = id;
            if (EqualNoCase(name, "*Paper_Space"))
                paperSpace_ = id;
        }
    } else if (object.category == Category::Table) {
        tables_[UpperAscii(EntryName(object))] = id;
    }
}

void Database::Unindex(ObjectId id) {
    const Object& object = objects_[id.value];
    // A dictionary's keys are read again at the next lookup (DictionaryAdd and
    // DictionaryRemove keep them instead).
    if (!dictionaryKeys_.empty())
        dictionaryKeys_.erase(id.value);
    if (object.state == ObjectState::Absent)
        return;
    if (!loading_)
        groups_.Remove(*this, id, object);
    if (!loading_ && object.category == Category::Entity && object.owner) {
        auto found = followers_.find(object.owner.value);
        if (found != followers_.end()) {
            std::erase(found->second, id);
            if (found->second.empty())
                followers_.erase(found);
        }
    }
    if (object.category == Category::TableEntry) {
        auto it = tableEntries_.find(TableKey(TypeName(object), EntryName(object)));
        if (it != tableEntries_.end() && it->second == id)
            tableEntries_.erase(it);
    } else if (object.category == Category::Table) {
        auto it = tables_.find(UpperAscii(EntryName(object)));
        if (it != tables_.end() && it->second == id)
            tables_.erase(it);
    }
}

void Database::Store(ObjectId id, Object object) {
    Record(id);
    const Handle before = objects_[id.value].handle;
    Unindex(id);
    object.body.Compact();
    objects_[id.value] = std::move(object);
    Index(id, before);
}

void Database::Restore(ObjectId id, const Object& state) {
    if (id.value >= objects_.size())
        objects_.resize(id.value + 1);
    const Handle before = objects_[id.value].handle;
    Unindex(id);
    objects_[id.value] = state;
    Index(id, before);
}

const Object& Database::SlotState(ObjectId id) const {
    static const Object kAbsent;
    return id.value < objects_.size() ? objects_[id.value] : kAbsent;
}

void Database::RestoreCounters(const Counters& counters) {
    counters_ = counters;
}

void Database::DropSlotsFrom(uint32_t count) {
    if (count == 0 || count >= objects_.size())
        return;
    for (uint32_t slot = count; slot < objects_.size(); ++slot) {
        if (objects_[slot].state != ObjectState::Absent || objects_[slot].handle)
            return;
    }
    for (ObjectId id : entityOrder_) {
        if (id.value >= count)
            return;
    }
    objects_.resize(count);
}

void Database::ReserveSlots(size_t count) {
    objects_.reserve(objects_.size() + count);
    AskForLargePages(objects_.data(), objects_.capacity() * sizeof(Object));
    byHandle_.Reserve(byHandle_.Size() + count);
}

void Database::BeginLoading() {
    loading_ = true;
}

void Database::EndLoading() {
    if (!loading_)
        return;
    loading_ = false;
    // The indexes only read the objects, each into a structure of its own: the pick grid,
    // the largest, is built on a second core beside the others.
    const Database& self = *this;
    std::future<PickGrid> picks;
    try {
        picks = std::async(std::launch::async, [&self] { return PickGrid::Build(self); });
    } catch (const std::system_error&) {
        // No thread to be had: built here after the others.
    }
    followers_.clear();
    for (uint32_t slot = 1; slot < objects_.size(); ++slot) {
        const Object& object = objects_[slot];
        if (object.state != ObjectState::Absent && Follows(object))
            followers_[object.owner.value].push_back(ObjectId{slot});
    }
    records_ = RecordIndex::Build(self);
    groups_ = GroupIndex::Build(self);
    picks_ = picks.valid() ? picks.get() : PickGrid::Build(self);
}

bool Database::Follows(const Object& object) const {
    return object.category == Category::Entity && object.owner && object.owner != modelSpace_ &&
           object.owner != paperSpace_;
}

ObjectId Database::ReserveHandle(Handle handle) {
    if (!handle)
        return {};
    if (const uint32_t slot = byHandle_.Find(handle.value))
        return ObjectId{slot};
    ObjectId id = NewSlot();
    objects_[id.value].handle = handle;
    byHandle_.Put(handle.value, id.value);
    if (handle >= counters_.seed) {
        RecordCounters();
        counters_.seed = Handle{handle.value + 1};
    }
    return id;
}

bool Database::SetLinetypeScale(double scale) {
    if (!std::isfinite(scale) || scale <= 0 || scale > 1e15)
        return false;
    if (scale != counters_.linetypeScale) {
        RecordCounters();
        counters_.linetypeScale = scale;
    }
    return true;
}

bool Database::SetHandleSeed(Handle seed) {
    bool above = false;
    byHandle_.ForEach([&](uint64_t handle, uint32_t) { above = above || handle >= seed.value; });
    if (above)
        return false;
    RecordCounters();
    counters_.seed = seed;
    return true;
}

ObjectId Database::EnsureLayer(std::string_view name) {
    ObjectId layer = FindTableEntry("LAYER", name);
    if (layer)
        return layer;
    GroupList body;
    body.AddText(2, name);
    body.AddInt(70, 0);
    body.AddInt(62, 7);
    body.AddText(6, "CONTINUOUS");
    return MakeStandard("LAYER", Category::TableEntry, Table("LAYER"), body);
}

}  // namespace host
