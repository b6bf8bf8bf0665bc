// The index from record texts to the entities holding them (see record_index.h).
#include "host/record_index.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "host/database.h"

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
        for (const Group& listed : dictionary->body) {
            if ((listed.code != 350 && listed.code != 360) || !listed.id)
                continue;
            entry.reads.push_back(listed.id.value);
            const Object* record = drawing.FindLive(listed.id);
            if (!record || drawing.TypeName(*record) != "XRECORD")
                continue;
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
    if (bucket != holders_.end()) {
        for (uint32_t slot : bucket->second) {
            const Object* object = drawing.FindLive(ObjectId{slot});
            if (object && object->category == Category::Entity)
                found.push_back(ObjectId{slot});
        }
    }
    std::sort(found.begin(), found.end(), [this](ObjectId a, ObjectId b) {
        const uint32_t pa = a.value < position_.size() ? position_[a.value] : kUnplaced;
        const uint32_t pb = b.value < position_.size() ? position_[b.value] : kUnplaced;
        return pa != pb ? pa < pb : a.value < b.value;
    });
    return found;
}

RecordIndex RecordIndex::Build(const Database& drawing) {
    RecordIndex index;
    for (uint32_t slot = 1; slot < drawing.SlotCount(); ++slot)
        index.Refresh(drawing, slot);
    return index;
}

}  // namespace host
