// Mending the links of a drawing read from a file, so that what is written again passes a
// strict reader's audit: every extension dictionary owned by the one object that names it,
// every dictionary entry owned by its one dictionary, no reference to a missing object.
#include "host/files/dxf_repair.h"

#include <algorithm>
#include <optional>

namespace host {
namespace {

std::string Hex(const Database& db, ObjectId id) {
    const Object* object = db.Find(id);
    return object ? "#" + object->handle.ToText() : "#?";
}

bool IsDictionary(const Database& db, const Object& object) {
    const std::string_view type = db.TypeName(object);
    return type == "DICTIONARY" || type == "ACDBDICTIONARYWDFLT";
}

void SetOwner(Database& db, ObjectId id, ObjectId owner) {
    Object owned = *db.Find(id);
    owned.owner = owner;
    db.Restore(id, owned);
}

void LinkExtensionDictionaries(Database& db, const std::vector<std::pair<ObjectId, Handle>>& xdicts,
                               std::vector<std::string>& report) {
    std::vector<ObjectId> claimedBy(db.SlotCount());
    for (const auto& link : xdicts) {
        // Plain names: clang 14 does not let a lambda capture a structured binding.
        const ObjectId object = link.first;
        const Handle handle = link.second;
        const Object* owner = db.Find(object);
        if (!owner)
            continue;
        // Named only for a finding: most links are sound.
        auto who = [&] { return std::string(db.TypeName(*owner)) + " " + Hex(db, object); };
        const ObjectId dict = db.FindHandle(handle);
        const Object* target = db.Find(dict);
        if (!target) {
            report.push_back(who() + ": brak jego słownika rozszerzeń #" + handle.ToText() +
                             "; odwołanie usunięto.");
            continue;
        }
        if (db.TypeName(*target) != "DICTIONARY" || dict == object) {
            report.push_back(who() + ": słownik rozszerzeń #" + handle.ToText() +
                             " nie jest słownikiem; odwołanie usunięto.");
            continue;
        }
        if (claimedBy[dict.value]) {
            report.push_back(who() + ": słownik rozszerzeń #" + handle.ToText() +
                             " należy już do " + Hex(db, claimedBy[dict.value]) +
                             "; odwołanie usunięto.");
            continue;
        }
        claimedBy[dict.value] = object;
        db.SetExtensionDictionary(object, dict);
    }
}

// Each object named in a dictionary belongs to the first dictionary that names it (or the
// one that owns it); another dictionary naming it too loses that entry, and an entry naming
// a missing object goes.
void MendDictionaries(Database& db, std::vector<std::string>& report) {
    struct Entry {
        ObjectId dict;
        ObjectId target;
    };
    std::vector<Entry> entries;
    std::vector<ObjectId> firstListing(db.SlotCount());
    // (dictionary, object) pairs, sorted once all are seen: a hash set of them cost a node
    // each, and a drawing has a dictionary or more per entity.
    std::vector<uint64_t> listed;
    auto Key = [](ObjectId dict, ObjectId target) {
        return uint64_t{dict.value} << 32 | target.value;
    };
    for (uint32_t slot = 1; slot < db.SlotCount(); ++slot) {
        const Object* object = db.Find(ObjectId{slot});
        if (!object || object->category != Category::Object || !IsDictionary(db, *object))
            continue;
        int index = 0;
        for (const Group& group : object->body) {
            if (index++ < object->reactorCount)
                continue;
            if ((group.code == 350 || group.code == 360) && group.id) {
                entries.push_back(Entry{ObjectId{slot}, group.id});
                listed.push_back(Key(ObjectId{slot}, group.id));
                if (group.id.value < firstListing.size() && !firstListing[group.id.value])
                    firstListing[group.id.value] = ObjectId{slot};
            }
        }
    }
    std::sort(listed.begin(), listed.end());
    std::vector<Entry> dropped;
    for (const Entry& entry : entries) {
        const Object* target = db.Find(entry.target);
        if (!target) {
            report.push_back("Słownik " + Hex(db, entry.dict) +
                             ": wpis wskazuje brakujący obiekt #" +
                             db.SlotState(entry.target).handle.ToText() + "; wpis usunięto.");
            continue;
        }
        ObjectId rightful = target->owner;
        if (!std::binary_search(listed.begin(), listed.end(), Key(rightful, entry.target)))
            rightful = firstListing[entry.target.value];
        if (entry.dict == rightful) {
            if (target->owner != rightful)
                SetOwner(db, entry.target, rightful);
            continue;
        }
        report.push_back("Obiekt " + Hex(db, entry.target) + " jest w słownikach " +
                         Hex(db, rightful) + " i " + Hex(db, entry.dict) + "; wpis w " +
                         Hex(db, entry.dict) + " usunięto.");
        dropped.push_back(entry);
    }
    for (const Entry& entry : dropped) {
        const Object* dict = db.Find(entry.dict);
        Object fixed = *dict;
        fixed.body.Clear();
        std::optional<Group> key;
        bool done = false;
        for (const Group& group : dict->body) {
            if (group.code == 3) {
                if (key)
                    fixed.body.Add(*key);
                key = group;
                continue;
            }
            if (!done && key && (group.code == 350 || group.code == 360) &&
                group.id == entry.target) {
                key.reset();
                done = true;
                continue;
            }
            if (key) {
                fixed.body.Add(*key);
                key.reset();
            }
            fixed.body.Add(group);
        }
        if (key)
            fixed.body.Add(*key);
        db.Restore(entry.dict, fixed);
    }
}

// Replaces references to objects that never came (dropped or never in the file) by none; a
// dictionary loses the whole entry.
void DropDanglingReferences(Database& db, const std::vector<Handle>& reserved,
                            std::vector<std::string>& report) {
    bool any = false;
    for (Handle handle : reserved) {
        if (!db.FindHandle(handle))
            any = true;
    }
    if (!any)
        return;
    int count = 0;
    auto gone = [&](ObjectId id) { return id && !db.Find(id); };
    for (uint32_t slot = 1; slot < db.SlotCount(); ++slot) {
        const Object* object = db.Find(ObjectId{slot});
        if (!object)
            continue;
        bool dangling = gone(object->owner) || gone(object->extensionDictionary);
        for (const Group& group : object->body) {
            if (group.kind == ValueKind::EntityName && gone(group.id))
                dangling = true;
        }
        if (!dangling)
            continue;
        Object fixed = *object;
        if (gone(fixed.owner)) {
            fixed.owner = {};
            ++count;
        }
        if (gone(fixed.extensionDictionary))
            fixed.extensionDictionary = {};
        fixed.body.Clear();
        const bool dictionary = IsDictionary(db, *object);
        int index = 0;
        int reactors = 0;
        std::optional<Group> key;
        for (const Group& group : object->body) {
            const bool reactor = index++ < object->reactorCount;
            if (group.kind == ValueKind::EntityName && gone(group.id)) {
                key.reset();
                if (!dictionary)
                    ++count;
                continue;
            }
            if (reactor)
                ++reactors;
            if (dictionary && group.code == 3) {
                if (key)
                    fixed.body.Add(*key);
                key = group;
                continue;
            }
            if (key) {
                fixed.body.Add(*key);
                key.reset();
            }
            fixed.body.Add(group);
        }
        if (key)
            fixed.body.Add(*key);
        fixed.reactorCount = static_cast<uint8_t>(reactors);
        db.Restore(ObjectId{slot}, fixed);
    }
    if (count > 0) {
        report.push_back("Usunięto odwołania do obiektów, których nie ma w pliku: " +
                         std::to_string(count) + ".");
    }
}

}  // namespace

void MendLinks(Database& db, const std::vector<std::pair<ObjectId, Handle>>& xdicts,
               const std::vector<Handle>& reserved, std::vector<std::string>& report) {
    LinkExtensionDictionaries(db, xdicts, report);
    MendDictionaries(db, report);
    DropDanglingReferences(db, reserved, report);
}

}  // namespace host
