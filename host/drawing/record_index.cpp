// The index from record texts to the entities holding them (see record_index.h).
#include "host/drawing/record_index.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "host/drawing/database.h"

namespace host {

namespace {

constexpr uint32_t kUnplaced = std::numeric_limits<uint32_t>::max();

void RemoveOne(std::vector<uint32_t>& items, uint32_t item) {
    auto it = std::find(items.begin(), items.end(), item);
    if (it != items.end()) {
        *it = items.back();
        items.pop_back();
    }
}

}  // namespace

bool RecordIndex::Indexable(std::string_view text) {
    if (text.empty() || text.size() > 16)
        return false;
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    });
}

void RecordIndex::Forget(uint32_t entity) {
    auto found = entries_.find(entity);
    if (found == entries_.end())
        return;
    for (const std::string& value : found->second.values) {
        auto bucket = holders_.find(value);
        if (bucket == holders_.end())
            continue;
        bucket->second.erase(entity);
        if (bucket->second.empty())
            holders_.erase(bucket);
    }
    for (const std::string& key : found->second.kinds) {
        auto bucket = kinds_.find(key);
        if (bucket == kinds_.end())
            continue;
        bucket->second.erase(entity);
        if (bucket->second.empty())
            kinds_.erase(bucket);
    }
    for (const auto& [key, value] : found->second.fields) {
        auto field = fields_.find(key);
        if (field == fields_.end())
            continue;
        auto bucket = field->second.find(value);
        if (bucket != field->second.end()) {
            bucket->second.erase(entity);
            if (bucket->second.empty())
                field->second.erase(bucket);
        }
        if (field->second.empty())
            fields_.erase(field);
    }
    for (uint32_t slot : found->second.reads) {
        auto readers = readers_.find(slot);
        if (readers == readers_.end())
            continue;
        RemoveOne(readers->second, entity);
        if (readers->second.empty())
            readers_.erase(readers);
    }
    entries_.erase(found);
}

void RecordIndex::Refresh(const Database& drawing, uint32_t entity) {
    Forget(entity);
    // Erased entities stay indexed (an erasure is undone often); Holders leaves them out.
    const Object* object = drawing.Find(ObjectId{entity});
    if (!object || object->category != Category::Entity || !object->extensionDictionary)
        return;
    Entry entry;
    // Slots read are remembered even while absent: a file names a dictionary or record
    // before it reads it, and the entity must learn of it when it arrives.
    entry.reads.push_back(object->extensionDictionary.value);
    const Object* dictionary = drawing.FindLive(object->extensionDictionary);
    if (dictionary && drawing.TypeName(*dictionary) == "DICTIONARY") {
        std::string_view name;
        for (const Group& listed : dictionary->body) {
            if (listed.code == 3)
                name = listed.text;
            if ((listed.code != 350 && listed.code != 360) || !listed.id)
                continue;
            entry.reads.push_back(listed.id.value);
            const Object* record = drawing.FindLive(listed.id);
            if (!record || drawing.TypeName(*record) != "XRECORD")
                continue;
            // Kinds and fields follow live entities only, so that answering needs no look
            // at each entity; the texts keep erased ones too (see Holders).
            if (object->state == ObjectState::Live)
                IndexRecord(drawing, name, *object, *record, entry);
            for (const Group& group : record->body) {
                if ((group.kind != ValueKind::Text && group.kind != ValueKind::Handle) ||
                    !Indexable(group.text)) {
                    continue;
                }
                if (std::find(entry.values.begin(), entry.values.end(), group.text) ==
                    entry.values.end()) {
                    entry.values.emplace_back(group.text);
                }
            }
        }
    }
    for (const std::string& value : entry.values)
        holders_[value].insert(entity);
    for (const std::string& key : entry.kinds)
        kinds_[key].insert(entity);
    for (const auto& [key, value] : entry.fields)
        fields_[key][value].insert(entity);
    for (uint32_t slot : entry.reads) {
        std::vector<uint32_t>& readers = readers_[slot];
        if (std::find(readers.begin(), readers.end(), entity) == readers.end())
            readers.push_back(entity);
    }
    entries_.emplace(entity, std::move(entry));
}

void RecordIndex::Changed(const Database& drawing, ObjectId id) {
    Refresh(drawing, id.value);
    auto readers = readers_.find(id.value);
    if (readers == readers_.end())
        return;
    // Refreshing rewrites the readers of this very slot: work on a copy.
    const std::vector<uint32_t> entities = readers->second;
    for (uint32_t entity : entities) {
        if (entity != id.value)
            Refresh(drawing, entity);
    }
}

std::vector<ObjectId> RecordIndex::Holders(const Database& drawing, std::string_view value) const {
    std::vector<ObjectId> found;
    auto bucket = holders_.find(std::string(value));
    const std::optional<Handle> handle = Handle::FromText(value);
    const ObjectId named =
        handle && handle->ToText() == value ? drawing.FindHandle(*handle) : ObjectId{};
    if (const Object* object = drawing.FindLive(named);
        object && object->category == Category::Entity &&
        (bucket == holders_.end() || !bucket->second.contains(named.value))) {
        found.push_back(named);
    }
    if (bucket == holders_.end() && found.empty())
        return found;
    if (bucket != holders_.end()) {
        for (uint32_t slot : bucket->second) {
            const Object* object = drawing.FindLive(ObjectId{slot});
            if (object && object->category == Category::Entity)
                found.push_back(ObjectId{slot});
        }
    }
    SortByCreation(drawing, found);
    return found;
}

void RecordIndex::SortByCreation(const Database& drawing, std::vector<ObjectId>& found) const {
    const std::vector<ObjectId>& order = drawing.EntityOrder();
    if (position_.size() < drawing.SlotCount())
        position_.resize(drawing.SlotCount(), kUnplaced);
    for (; placed_ < order.size(); ++placed_) {
        const uint32_t slot = order[placed_].value;
        if (slot >= position_.size())
            position_.resize(slot + 1, kUnplaced);
        if (position_[slot] == kUnplaced)
            position_[slot] = static_cast<uint32_t>(placed_);
    }
    std::sort(found.begin(), found.end(), [this](ObjectId a, ObjectId b) {
        const uint32_t pa = a.value < position_.size() ? position_[a.value] : kUnplaced;
        const uint32_t pb = b.value < position_.size() ? position_[b.value] : kUnplaced;
        return pa != pb ? pa < pb : a.value < b.value;
    });
}

std::string RecordIndex::KindKey(std::string_view entry, std::string_view kind,
                                 std::string_view type) {
    // Dictionary keys are found in any case.
    std::string key;
    for (char c : entry)
        key += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    key += '\x1f';
    key += kind;
    key += '\x1f';
    key += type;
    return key;
}

std::string RecordIndex::FieldKey(std::string_view kindKey, int code, int occurrence) {
    std::string key(kindKey);
    key += '\x1f' + std::to_string(code) + '\x1f' + std::to_string(occurrence);
    return key;
}

void RecordIndex::IndexRecord(const Database& drawing, std::string_view name, const Object& entity,
                              const Object& record, Entry& indexed) const {
    // The kind is the record's first group 1; a record without one has no kind to ask by.
    std::string_view kind;
    bool kinded = false;
    for (const Group& group : record.body) {
        if (group.code == 1 && group.kind == ValueKind::Text) {
            kind = group.text;
            kinded = true;
            break;
        }
    }
    if (!kinded || name.empty())
        return;
    const std::string kindKey = KindKey(name, kind, drawing.TypeName(entity));
    if (std::find(indexed.kinds.begin(), indexed.kinds.end(), kindKey) == indexed.kinds.end())
        indexed.kinds.push_back(kindKey);
    std::map<int, int> seen;  // code -> groups of it so far
    for (const Group& group : record.body) {
        if (group.kind != ValueKind::Int16 && group.kind != ValueKind::Int32)
            continue;
        const int occurrence = seen[group.code]++;
        indexed.fields.emplace_back(FieldKey(kindKey, group.code, occurrence), group.integer);
    }
}

template <class Map>
std::vector<const typename Map::mapped_type*> RecordIndex::Matching(const Map& map,
                                                                    const Field& field,
                                                                    bool withPlace) {
    std::vector<const typename Map::mapped_type*> found;
    auto keyOf = [&](std::string_view type) {
        const std::string kindKey = KindKey(field.entry, field.kind, type);
        return withPlace ? FieldKey(kindKey, field.code, field.occurrence) : kindKey;
    };
    if (!field.type.empty()) {
        auto it = map.find(keyOf(field.type));
        if (it != map.end())
            found.push_back(&it->second);
        return found;
    }
    // Any type: the keys with the entry and kind, whatever type follows them.
    const std::string prefix = KindKey(field.entry, field.kind, "");
    const std::string place = withPlace ? FieldKey("", field.code, field.occurrence) : "";
    for (const auto& [key, value] : map) {
        if (key.size() < prefix.size() + place.size() ||
            key.compare(0, prefix.size(), prefix) != 0 ||
            key.compare(key.size() - place.size(), place.size(), place) != 0) {
            continue;
        }
        const std::string_view type(key.data() + prefix.size(),
                                    key.size() - prefix.size() - place.size());
        if (type.find('\x1f') == std::string_view::npos)
            found.push_back(&value);
    }
    return found;
}

std::vector<ObjectId> RecordIndex::KindHolders(const Database& drawing, const Field& field,
                                               const int32_t* value) const {
    std::vector<ObjectId> found;
    auto take = [&found](const SlotSet& holders) {
        for (uint32_t slot : holders)
            found.push_back(ObjectId{slot});
    };
    if (value == nullptr) {
        for (const SlotSet* holders : Matching(kinds_, field, false))
            take(*holders);
    } else {
        for (const auto* values : Matching(fields_, field, true)) {
            auto bucket = values->find(*value);
            if (bucket != values->end())
                take(bucket->second);
        }
    }
    SortByCreation(drawing, found);
    return found;
}

std::vector<int32_t> RecordIndex::FieldValues(const Database&, const Field& field) const {
    std::vector<int32_t> values;
    for (const auto* held : Matching(fields_, field, true)) {
        // Only live entities are filed here, and an emptied value is dropped: every key
        // is held.
        for (const auto& [value, holders] : *held)
            values.push_back(value);
    }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

RecordIndex RecordIndex::Build(const Database& drawing) {
    RecordIndex index;
    for (uint32_t slot = 1; slot < drawing.SlotCount(); ++slot)
        index.Refresh(drawing, slot);
    return index;
}

}  // namespace host
