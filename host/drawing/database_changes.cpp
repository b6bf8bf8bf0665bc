// The validated paths that change the drawing: making, modifying, erasing, dictionary
// edits, moving and deep copying, and the check of the database's invariants.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unordered_set>

#include "host/drawing/database.h"
#include "host/drawing/object_rules.h"
#include "host/drawing/point_roles.h"

namespace host {

namespace {

bool Fail(std::string& error, std::string reason) {
    error = std::move(reason);
    return false;
}

bool Finite(const Group& group) {
    if (group.kind == ValueKind::Real)
        return std::isfinite(group.real);
    if (group.kind == ValueKind::Point) {
        return std::isfinite(group.point[0]) && std::isfinite(group.point[1]) &&
               std::isfinite(group.point[2]);
    }
    return true;
}

[[noreturn]] void Broken(const char* what, uint32_t slot) {
    std::fprintf(stderr, "drawing database invariant broken: %s (slot %u)\n", what, slot);
    std::abort();
}

}  // namespace

bool Database::Referable(ObjectId id) const {
    if (Find(id))
        return true;
    // A slot a file reader reserved for a handle it has not reached yet.
    return id.value != 0 && id.value < objects_.size() && objects_[id.value].handle;
}

ObjectId Database::LastEntity() const {
    for (auto it = entityOrder_.rbegin(); it != entityOrder_.rend(); ++it) {
        if (FindTopLevel(*it))
            return *it;
    }
    return {};
}

bool Database::Normalise(const GroupList& list, Object& out, ObjectId self,
                         const MakeOptions& options, std::string& error) {
    const Object* previous = Find(self);
    Group typeGroup;
    if (!list.Find(0, typeGroup))
        return Fail(error, "list without entity type (group 0)");
    const std::string type = UpperAscii(typeGroup.text);
    const TypeRule* rule = FindTypeRule(type);
    Category category;
    if (rule) {
        if (rule->structural && !options.structural) {
            return Fail(error, type + " is kept by the host itself");
        }
        category = rule->category;
    } else if (options.category) {
        category = *options.category;
    } else {
        return Fail(error, "unknown entity type \"" + std::string(typeGroup.text) + "\"");
    }
    if (previous && TypeName(*previous) != type) {
        return Fail(error, "the type of an object cannot change");
    }
    const bool entity = category == Category::Entity;

    GroupList reactors;
    // Built in a buffer kept between calls and copied out at its exact size.
    static thread_local GroupList scratch;
    scratch.Clear();
    GroupList& body = scratch;
    BodyTally tally;
    int reactorCount = 0;
    std::optional<ObjectId> owner, xdict;
    std::optional<int16_t> space;
    std::optional<std::string_view> layout, layer;
    enum class Block { None, Reactors, XDict } block = Block::None;
    bool bodyStarted = false;
    bool hasMarker = false;  // the body holds a subclass marker (100) already
    int types = 0;
    size_t runStart = 0, runEnd = 0;  // the body's groups still to copy, as bytes of the list
    for (auto it = list.begin(), end = list.end(); it != end; ++it) {
        const Group& group = *it;
        if (!Finite(group)) {
            return Fail(error, "group " + std::to_string(group.code) + " is not a finite number");
        }
        if (group.kind == ValueKind::EntityName && group.code != -1 && group.id &&
            !Referable(group.id)) {
            return Fail(error, "group " + std::to_string(group.code) + " names no object");
        }
        const bool closing = group.code == 102 && group.text == "}";
        if (block == Block::Reactors) {
            if (closing) {
                block = Block::None;
            } else if (group.code == 330 && group.id && reactorCount < 255) {
                reactors.Add(group);
                ++reactorCount;
            } else {
                return Fail(error, "malformed {ACAD_REACTORS group");
            }
            continue;
        }
        if (block == Block::XDict) {
            if (closing && xdict) {
                block = Block::None;
            } else if (group.code == 360 && !xdict && group.id) {
                xdict = group.id;
            } else {
                return Fail(error, "malformed {ACAD_XDICTIONARY group");
            }
            continue;
        }
        switch (group.code) {
            case -1:
            case 5:
                continue;  // the object's own name and handle are the host's
            case 0:
                if (++types > 1)
                    return Fail(error, "list with two entity types");
                continue;
            case 102:
                if (!bodyStarted && group.text == "{ACAD_REACTORS" && reactorCount == 0) {
                    block = Block::Reactors;
                    continue;
                }
                if (!bodyStarted && group.text == "{ACAD_XDICTIONARY" && !xdict) {
                    block = Block::XDict;
                    continue;
                }
                break;
            case 330:
                if (!bodyStarted && !owner) {
                    owner = group.id;
                    continue;
                }
                break;
            case 8:
                if (!entity)
                    break;
                if (group.text.empty())
                    return Fail(error, "empty layer name");
                layer = group.text;
                continue;
            case 67:
                if (!entity)
                    break;
                space = static_cast<int16_t>(group.integer);
                continue;
            case 410:
                if (!entity)
                    break;
                layout = group.text;
                continue;
            case 100:
                if (entity && group.text == "AcDbEntity")
                    continue;
                break;
            default:
                break;
        }
        if (group.code < 0)
            return Fail(error, "unexpected group " + std::to_string(group.code));
        // The group's bytes as they are, copied in runs: nothing to decode and pack again.
        if (it.Offset() != runEnd) {
            body.AppendRange(list, runStart, runEnd);
            runStart = it.Offset();
        }
        runEnd = it.NextOffset();
        tally.Add(group);
        hasMarker = hasMarker || group.code == 100;
        bodyStarted = true;
    }
    body.AppendRange(list, runStart, runEnd);
    if (block != Block::None)
        return Fail(error, "unclosed 102 bracket");
    if (rule && !ValidateBody(*rule, body, tally, error))
        return false;
    if (type == "LWPOLYLINE" && !IsCanonicalPolyline(body)) {
        // Every polyline is kept in canonical order, however it was made or read.
        GroupList canonical;
        if (!CanonicalPolyline(body, canonical, error))
            return false;
        body = std::move(canonical);
    }

    out = Object{};
    out.state = ObjectState::Live;
    out.category = category;
    out.type = Intern(type);
    if (previous) {
        out.handle = previous->handle;
        out.owner = previous->owner;
        out.extensionDictionary = previous->extensionDictionary;
        out.space = previous->space;
        out.layer = previous->layer;
        out.layout = previous->layout;
    } else {
        out.layer = layerZero_;
        out.layout = modelLayout_;
        if (entity)
            out.owner = modelSpace_;
        if (category == Category::TableEntry)
            out.owner = Table(type);
    }
    if (owner)
        out.owner = *owner;
    if (xdict) {
        const Object* dict = Find(*xdict);
        if (!dict || TypeName(*dict) != "DICTIONARY") {
            return Fail(error, "extension dictionary is not a DICTIONARY");
        }
        out.extensionDictionary = *xdict;
    }
    if (space)
        out.space = *space;
    if (layout)
        out.layout = Intern(*layout);
    if (layer)
        out.layer = Intern(*layer);
    out.reactorCount = static_cast<uint8_t>(reactorCount);
    if (rule && !hasMarker)
        body = WithSubclassMarkers(*rule, std::move(body));
    if (reactorCount == 0) {
        out.body = body;
    } else {
        out.body = std::move(reactors);
        out.body.Append(body);
    }

    if (category == Category::TableEntry || category == Category::Table) {
        std::string name = EntryName(out);
        ObjectId same = category == Category::Table ? Table(name) : FindTableEntry(type, name);
        if (same && same != self)
            return Fail(error, type + " \"" + name + "\" exists already");
    }
    return true;
}

void Database::Adopt(ObjectId owner, ObjectId child) {
    const Object* object = Find(child);
    if (!object || object->owner || child == owner)
        return;
    Object adopted = *object;
    adopted.owner = owner;
    Store(child, std::move(adopted));
}

// An extension dictionary belongs to its entity and dictionary entries to their dictionary
// once they are linked, whoever made them ownerless first.
void Database::AdoptReferences(ObjectId id) {
    const Object& object = objects_[id.value];
    if (object.extensionDictionary)
        Adopt(id, object.extensionDictionary);
    if (TypeName(objects_[id.value]) != "DICTIONARY")
        return;
    // Adopting stores other slots only, so the dictionary's body stays where it is.
    for (const Group& group : objects_[id.value].body) {
        if ((group.code == 350 || group.code == 360) && group.id)
            Adopt(id, group.id);
    }
}

ObjectId Database::Make(const GroupList& list, const MakeOptions& options, std::string* error) {
    std::string reason;
    Object object;
    if (!Normalise(list, object, ObjectId{}, options, reason)) {
        if (error)
            *error = reason;
        return {};
    }
    ObjectId reserved;
    if (options.handle) {
        if (const uint32_t slot = byHandle_.Find(options.handle.value)) {
            reserved = ObjectId{slot};
            if (Find(reserved)) {
                if (error)
                    *error = "handle " + options.handle.ToText() + " is in use";
                return {};
            }
        }
    }
    RecordCounters();
    // A given handle at or above the seed moves the seed first, so that a layer made for the
    // entity below cannot be given the entity's own handle.
    if (options.handle && options.handle >= counters_.seed)
        counters_.seed = Handle{options.handle.value + 1};
    if (object.category == Category::Entity && options.makeLayer)
        EnsureLayer(LayerName(object));
    ObjectId id = reserved ? reserved : NewSlot();
    if (options.handle) {
        object.handle = options.handle;
    } else {
        object.handle = counters_.seed;
        counters_.seed.value++;
    }
    const bool entity = object.category == Category::Entity;
    Store(id, std::move(object));
    if (entity)
        entityOrder_.push_back(id);
    AdoptReferences(id);
    return id;
}

bool Database::Modify(ObjectId id, const GroupList& list, std::string* error) {
    std::string reason;
    const Object* current = FindLive(id);
    if (!current) {
        if (error)
            *error = "the object is deleted or unknown";
        return false;
    }
    MakeOptions options;
    options.category = current->category;
    Object object;
    if (!Normalise(list, object, id, options, reason)) {
        if (error)
            *error = reason;
        return false;
    }
    if (object.category == Category::Entity)
        EnsureLayer(LayerName(object));
    Store(id, std::move(object));
    AdoptReferences(id);
    return true;
}

bool Database::SetExtensionDictionary(ObjectId object, ObjectId dictionary) {
    Object* target = Slot(object);
    Object* dict = Slot(dictionary);
    if (!target || !dict || target->state == ObjectState::Absent ||
        dict->state == ObjectState::Absent || TypeName(*dict) != "DICTIONARY" ||
        object == dictionary) {
        return false;
    }
    // Linked in place, without copying either body, yet unindexed and indexed again as a
    // stored object is: the record index learns here that the object reads the dictionary.
    Record(object);
    Unindex(object);
    target->extensionDictionary = dictionary;
    Index(object, target->handle);
    if (dict->owner != object) {
        Record(dictionary);
        Unindex(dictionary);
        dict->owner = object;
        Index(dictionary, dict->handle);
    }
    return true;
}

bool Database::SetErased(ObjectId id, bool erased) {
    const Object* current = Find(id);
    if (!current || current->category == Category::Table ||
        current->category == Category::TableEntry) {
        return false;
    }
    if (erased != (current->state == ObjectState::Live))
        return false;
    Object changed = *current;
    changed.state = erased ? ObjectState::Erased : ObjectState::Live;
    Store(id, std::move(changed));
    return true;
}

bool Database::DictionaryAdd(ObjectId dict, std::string_view key, ObjectId object,
                             std::string* error) {
    const Object* target = FindLive(dict);
    std::string reason;
    if (!target || TypeName(*target) != "DICTIONARY") {
        reason = "not a dictionary";
    } else if (key.empty()) {
        reason = "empty dictionary key";
    } else if (!Find(object) || object == dict) {
        reason = "the entry names no object";
    } else if (DictionaryLookup(dict, key)) {
        reason = "dictionary key \"" + std::string(key) + "\" exists already";
    }
    if (!reason.empty()) {
        if (error)
            *error = reason;
        return false;
    }
    // Appended in place, its key index kept: a drawing's group dictionary holds an entry per
    // group, and copying it for every new group cost as much as the rest of a command.
    auto keys = dictionaryKeys_.extract(dict.value);
    Record(dict);
    Unindex(dict);
    Object& stored = objects_[dict.value];
    stored.body.AddText(3, key);
    stored.body.AddId(350, object);
    Index(dict, stored.handle);
    if (!keys.empty()) {
        keys.mapped().Add(key, object);
        dictionaryKeys_.insert(std::move(keys));
    }
    Object child = objects_[object.value];
    if (child.owner != dict) {
        child.owner = dict;
        Store(object, std::move(child));
    }
    return true;
}

bool Database::DictionaryRemove(ObjectId dict, std::string_view key) {
    const Object* target = FindLive(dict);
    if (!target || TypeName(*target) != "DICTIONARY")
        return false;
    ObjectId removed = DictionaryLookup(dict, key);
    if (!removed)
        return false;
    // The entry's key and object groups are cut out of the body's bytes where they are: the
    // body is read up to the entry only, and nothing else is copied (the schedule's rows are
    // entries of the named object dictionary, thousands of them, rewritten at every OPR).
    const GroupList& body = target->body;
    std::vector<std::pair<size_t, size_t>> cuts;
    bool skip = false;
    for (auto it = body.begin(); it != body.end(); ++it) {
        const bool key3 = it->code == 3 && EqualNoCase(it->text, key);
        const bool object = skip && (it->code == 350 || it->code == 360);
        if (!key3 && !object)
            continue;
        cuts.emplace_back(it.Offset(), it.NextOffset());
        if (object)
            break;
        skip = true;
    }
    auto keys = dictionaryKeys_.extract(dict.value);
    Record(dict);
    Unindex(dict);
    GroupList& stored = objects_[dict.value].body;
    for (auto cut = cuts.rbegin(); cut != cuts.rend(); ++cut)
        stored.EraseRange(cut->first, cut->second);
    Index(dict, objects_[dict.value].handle);
    if (!keys.empty()) {
        keys.mapped().Remove(key);
        dictionaryKeys_.insert(std::move(keys));
    }
    // The entry's object stays in the drawing, no longer owned by the dictionary.
    const Object* child = Find(removed);
    if (child && child->owner == dict) {
        Object freed = *child;
        freed.owner = {};
        Store(removed, std::move(freed));
    }
    return true;
}

bool Database::Translate(ObjectId entity, const double delta[3]) {
    const Object* current = FindLive(entity);
    if (!current || current->category != Category::Entity)
        return false;
    for (int i = 0; i < 3; ++i) {
        if (!std::isfinite(delta[i]))
            return false;
    }
    TranslateOne(entity, delta);
    for (ObjectId follower : Followers(entity))
        TranslateOne(follower, delta);
    return true;
}

void Database::TranslateOne(ObjectId entity, const double delta[3]) {
    const Object& current = objects_[entity.value];
    Object moved = current;
    moved.body.Clear();
    PointRoles roles(TypeName(current));
    int index = 0;
    for (const Group& group : current.body) {
        Group shifted = group;
        if (index++ >= current.reactorCount) {
            const PointRole role = roles.Next(group);
            switch (role) {
                case PointRole::Position:
                    for (int i = 0; i < 3; ++i)
                        shifted.point[i] += delta[i];
                    break;
                case PointRole::Elevation:
                    shifted.point[2] += delta[2];
                    break;
                case PointRole::RealX:
                case PointRole::RealY:
                case PointRole::RealZ:
                    shifted.real +=
                        delta[static_cast<int>(role) - static_cast<int>(PointRole::RealX)];
                    break;
                case PointRole::Direction:
                case PointRole::Other:
                    break;
            }
        }
        moved.body.Add(shifted);
    }
    Store(entity, std::move(moved));
}

ObjectId Database::Transform(ObjectId entity, const PlaneMotion& motion, bool copy,
                             std::string* error) {
    std::string reason = "the object is deleted or no entity";
    auto refuse = [&]() {
        if (error)
            *error = reason;
        return ObjectId{};
    };
    const Object* original = FindLive(entity);
    if (!original || original->category != Category::Entity)
        return refuse();
    // The entity and what follows it: a copy has the live followers only, as DeepCopy makes
    // it; a move carries them all, as Translate does.
    auto partsOf = [&](ObjectId id) {
        std::vector<ObjectId> parts{id};
        for (ObjectId follower : Followers(id)) {
            if (!copy || FindLive(follower))
                parts.push_back(follower);
        }
        return parts;
    };
    auto movedBodies = [&](const std::vector<ObjectId>& parts, std::vector<GroupList>& bodies) {
        bodies.assign(parts.size(), GroupList{});
        for (size_t i = 0; i < parts.size(); ++i) {
            const Object& part = objects_[parts[i].value];
            if (!MovedBody(TypeName(part), part.body, part.reactorCount, motion, bodies[i],
                           reason)) {
                return false;
            }
        }
        return true;
    };
    std::vector<GroupList> bodies;
    if (!movedBodies(partsOf(entity), bodies))
        return refuse();
    const ObjectId target = copy ? DeepCopy(entity) : entity;
    const std::vector<ObjectId> parts = partsOf(target);
    if (copy && !movedBodies(parts, bodies))
        return refuse();  // not reached: the copy's bodies are the original's
    for (size_t i = 0; i < parts.size(); ++i) {
        Object moved = objects_[parts[i].value];
        moved.body = std::move(bodies[i]);
        Store(parts[i], std::move(moved));
    }
    return target;
}

ObjectId Database::CopyTree(ObjectId source, ObjectId newOwner, int depth) {
    const Object* found = Find(source);
    if (!found || depth > 64)
        return {};
    // A snapshot: making the children's slots may move every object in memory.
    const Object original = *found;
    const bool dictionary = TypeName(original) == "DICTIONARY";
    Object copy = original;
    ObjectId id = NewSlot();
    RecordCounters();
    copy.handle = counters_.seed;
    counters_.seed.value++;
    copy.owner = newOwner;
    copy.extensionDictionary = {};
    copy.reactorCount = 0;
    copy.body.Clear();
    size_t index = 0;
    for (const Group& group : original.body) {
        if (index++ < original.reactorCount)
            continue;
        Group entry = group;
        if (dictionary && (group.code == 350 || group.code == 360)) {
            const Object* child = Find(group.id);
            if (child && child->owner == source) {
                ObjectId copied = CopyTree(group.id, id, depth + 1);
                if (copied)
                    entry.id = copied;
            }
        }
        copy.body.Add(entry);
    }
    Store(id, std::move(copy));
    return id;
}

ObjectId Database::DeepCopy(ObjectId entity) {
    const Object* original = FindLive(entity);
    if (!original || original->category != Category::Entity)
        return {};
    const std::vector<ObjectId> followers = Followers(entity);
    const ObjectId copy = CopyEntity(entity, original->owner);
    for (ObjectId follower : followers) {
        if (FindLive(follower))
            CopyEntity(follower, copy);
    }
    return copy;
}

ObjectId Database::CopyEntity(ObjectId entity, ObjectId owner) {
    const Object* original = Find(entity);
    Object copy = *original;
    copy.owner = owner;
    const ObjectId dictionary = copy.extensionDictionary;
    // The copy is no member of the groups that watch the original.
    {
        GroupList body;
        size_t index = 0;
        for (const Group& group : original->body) {
            if (index++ >= original->reactorCount)
                body.Add(group);
        }
        copy.body = std::move(body);
    }
    copy.reactorCount = 0;
    copy.extensionDictionary = {};
    ObjectId id = NewSlot();
    RecordCounters();
    copy.handle = counters_.seed;
    counters_.seed.value++;
    Store(id, std::move(copy));
    entityOrder_.push_back(id);
    if (dictionary) {
        ObjectId copied = CopyTree(dictionary, id, 0);
        if (copied) {
            Object with = objects_[id.value];
            with.extensionDictionary = copied;
            Store(id, std::move(with));
        }
    }
    return id;
}

void Database::CheckInvariants() const {
    size_t withHandle = 0;
    for (uint32_t i = 1; i < objects_.size(); ++i) {
        const Object& object = objects_[i];
        if (object.handle) {
            ++withHandle;
            if (byHandle_.Find(object.handle.value) != i)
                Broken("handle not indexed", i);
            if (object.handle >= counters_.seed)
                Broken("handle not below the seed", i);
        }
        if (object.state == ObjectState::Absent)
            continue;
        if (object.type >= pool_.size() || object.layer >= pool_.size() ||
            object.layout >= pool_.size()) {
            Broken("text outside the pool", i);
        }
        if (object.owner && !Referable(object.owner))
            Broken("owner names no object", i);
        if (object.extensionDictionary && !Find(object.extensionDictionary)) {
            Broken("extension dictionary missing", i);
        }
        for (const Group& group : object.body) {
            if (group.kind == ValueKind::EntityName && group.id && !Referable(group.id)) {
                Broken("reference names no object", i);
            }
        }
        if (object.category == Category::TableEntry &&
            FindTableEntry(TypeName(object), EntryName(object)) != ObjectId{i}) {
            Broken("table entry not indexed", i);
        }
    }
    if (withHandle != byHandle_.Size())
        Broken("stale handle index entries", 0);
    if (!records_.SameHolders(RecordIndex::Build(*this)))
        Broken("record index differs from the records", 0);
    if (!picks_.SameCells(PickGrid::Build(*this)))
        Broken("pick grid differs from the entities' geometry", 0);
    if (!groups_.SameGroups(GroupIndex::Build(*this)))
        Broken("group index differs from the groups' members", 0);
    for (const auto& [key, id] : tableEntries_) {
        const Object* entry = Find(id);
        if (!entry || entry->category != Category::TableEntry)
            Broken("stale table entry", id.value);
    }
    for (const auto& [slot, keys] : dictionaryKeys_) {
        const Object* dictionary = Find(ObjectId{slot});
        if (!dictionary || TypeName(*dictionary) != "DICTIONARY" || !keys.Matches(dictionary->body))
            Broken("dictionary keys differ from the dictionary", slot);
    }
    std::unordered_set<uint32_t> ordered;
    for (ObjectId id : entityOrder_) {
        if (id.value >= objects_.size() || !ordered.insert(id.value).second) {
            Broken("entity order holds a slot twice", id.value);
        }
        const Object& object = objects_[id.value];
        if (object.state != ObjectState::Absent && object.category != Category::Entity) {
            Broken("entity order holds a non-entity", id.value);
        }
    }
}

}  // namespace host
