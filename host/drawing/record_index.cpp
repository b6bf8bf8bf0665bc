// The index from record texts and numbers to the entities holding them (see record_index.h).
// Buckets are sorted vectors rather than hash sets: most hold a few entities, and a drawing read
// from a file fills them in one pass, in slot order, without sorting.
#include "host/drawing/record_index.h"

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <tuple>

#include "host/drawing/database.h"
#include "host/drawing/object_rules.h"

namespace host {

namespace {

constexpr uint32_t kUnplaced = std::numeric_limits<uint32_t>::max();

template <class T>
void InsertSorted(std::vector<T>& items, const T& item) {
    auto at = std::lower_bound(items.begin(), items.end(), item);
    if (at == items.end() || *at != item)
        items.insert(at, item);
}

template <class T>
void EraseSorted(std::vector<T>& items, const T& item) {
    auto at = std::lower_bound(items.begin(), items.end(), item);
    if (at != items.end() && *at == item)
        items.erase(at);
}

void RemoveOne(std::vector<uint32_t>& items, uint32_t item) {
    auto it = std::find(items.begin(), items.end(), item);
    if (it != items.end()) {
        *it = items.back();
        items.pop_back();
    }
}

std::string UpperEntry(std::string_view entry) {
    // Dictionary keys are found in any case.
    std::string upper(entry);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

std::string KindKey(std::string_view upperEntry, std::string_view kind, std::string_view type) {
    std::string key(upperEntry);
    key += '\x1f';
    key += kind;
    key += '\x1f';
    key += type;
    return key;
}

// The counts at the head of an entry, and where each part starts.
constexpr size_t kHead = 4;
enum Part { kReads, kValues, kKinds, kFields };
size_t Start(const std::vector<uint32_t>& entry, Part part) {
    size_t at = kHead;
    for (int p = 0; p < part; ++p)
        at += entry[p] * (p == kFields ? 2 : 1);
    return at;
}

}  // namespace

bool RecordIndex::Indexable(std::string_view text) {
    if (text.empty() || text.size() > 16)
        return false;
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    });
}

uint32_t RecordIndex::ValueId(std::string_view text) {
    if (auto found = valueIds_.find(text); found != valueIds_.end())
        return found->second;
    auto [it, added] = valueIds_.try_emplace(std::string(text), 0);
    if (added) {
        if (freeValues_.empty()) {
            it->second = static_cast<uint32_t>(values_.size());
            values_.emplace_back();
        } else {
            it->second = freeValues_.back();
            freeValues_.pop_back();
        }
        values_[it->second].text = text;
    }
    return it->second;
}

uint32_t RecordIndex::KindId(std::string_view entry, std::string_view kind, std::string_view type) {
    // Records of one kind mostly come one after another, and a drawing holds a few kinds:
    // they are looked through before the keyed map.
    auto same = [&](uint32_t id) {
        const KindBucket& bucket = kinds_[id];
        return bucket.kind == kind && bucket.type == type && EqualNoCase(bucket.entry, entry);
    };
    if (lastKind_ < kinds_.size() && same(lastKind_))
        return lastKind_;
    constexpr size_t kFew = 32;
    if (kinds_.size() <= kFew) {
        for (uint32_t id = 0; id < kinds_.size(); ++id) {
            if (same(id)) {
                lastKind_ = id;
                return id;
            }
        }
    }
    lastKind_ = KindIdOf(entry, kind, type);
    return lastKind_;
}

uint32_t RecordIndex::KindIdOf(std::string_view entry, std::string_view kind,
                               std::string_view type) {
    const std::string upper = UpperEntry(entry);
    auto [it, added] = kindIds_.try_emplace(KindKey(upper, kind, type), 0);
    if (added) {
        it->second = static_cast<uint32_t>(kinds_.size());
        kinds_.push_back(KindBucket{upper, std::string(kind), std::string(type), {}, {}});
    }
    return it->second;
}

uint32_t RecordIndex::FieldId(uint32_t kind, int code, int occurrence) {
    // A kind has a few fields: looked for in its own short list.
    std::vector<FieldPlace>& places = kinds_[kind].fields;
    for (const FieldPlace& place : places) {
        if (place.code == code && place.occurrence == occurrence)
            return place.bucket;
    }
    const uint32_t bucket = static_cast<uint32_t>(fields_.size());
    fields_.push_back(FieldBucket{kind, code, occurrence, {}, {}});
    places.push_back(FieldPlace{code, occurrence, bucket});
    return bucket;
}

void RecordIndex::AddReader(uint32_t slot, uint32_t entity) {
    if (slot >= reader_.size())
        reader_.resize(slot + 1, 0);
    if (reader_[slot] == 0) {
        reader_[slot] = entity;
    } else if (reader_[slot] != entity) {
        std::vector<uint32_t>& more = moreReaders_[slot];
        if (std::find(more.begin(), more.end(), entity) == more.end())
            more.push_back(entity);
    }
}

void RecordIndex::RemoveReader(uint32_t slot, uint32_t entity) {
    if (slot >= reader_.size())
        return;
    auto more = moreReaders_.find(slot);
    if (reader_[slot] == entity) {
        reader_[slot] = 0;
        if (more == moreReaders_.end())
            return;
        reader_[slot] = more->second.back();
        more->second.pop_back();
    } else if (more != moreReaders_.end()) {
        RemoveOne(more->second, entity);
    }
    if (more != moreReaders_.end() && more->second.empty())
        moreReaders_.erase(more);
}

void RecordIndex::Forget(uint32_t entity) {
    if (entity >= entryOf_.size() || entryOf_[entity] == 0)
        return;
    const uint32_t place = entryOf_[entity] - 1;
    const Entry& entry = entries_[place];
    for (size_t i = Start(entry, kValues), end = i + entry[kValues]; i < end; ++i) {
        ValueBucket& bucket = values_[entry[i]];
        EraseSorted(bucket.holders, entity);
        if (bucket.holders.empty()) {
            valueIds_.erase(bucket.text);
            bucket = ValueBucket{};
            freeValues_.push_back(entry[i]);
        }
    }
    for (size_t i = Start(entry, kKinds), end = i + entry[kKinds]; i < end; ++i)
        EraseSorted(kinds_[entry[i]].holders, entity);
    for (size_t i = Start(entry, kFields), end = i + 2 * entry[kFields]; i < end; i += 2) {
        FieldBucket& field = fields_[entry[i]];
        const std::pair<int32_t, uint32_t> held{static_cast<int32_t>(entry[i + 1]), entity};
        auto at = std::lower_bound(field.holders.begin(), field.holders.end(), held);
        if (at == field.holders.end() || *at != held)
            continue;
        at = field.holders.erase(at);
        const bool shared = (at != field.holders.end() && at->first == held.first) ||
                            (at != field.holders.begin() && std::prev(at)->first == held.first);
        if (!shared)
            EraseSorted(field.distinct, held.first);
    }
    for (size_t i = Start(entry, kReads), end = i + entry[kReads]; i < end; ++i)
        RemoveReader(entry[i], entity);
    entries_[place] = Entry{};
    freeEntries_.push_back(place);
    entryOf_[entity] = 0;
}

RecordIndex::Entry RecordIndex::Read(const Database& drawing, uint32_t entity) {
    // Erased entities stay indexed (an erasure is undone often); Holders leaves them out.
    const Object* object = drawing.Find(ObjectId{entity});
    if (!object || object->category != Category::Entity || !object->extensionDictionary)
        return {};
    // Slots read are remembered even while absent: a file names a dictionary or record
    // before it reads it, and the entity must learn of it when it arrives. (The lists are
    // kept between calls: an index is built entity by entity.)
    std::vector<uint32_t>& reads = scratch_.reads;
    std::vector<std::string_view>& texts = scratch_.texts;
    std::vector<uint32_t>& kinds = scratch_.kinds;
    std::vector<std::pair<uint32_t, uint32_t>>& fields = scratch_.fields;
    std::vector<std::pair<int, int>>& seen = scratch_.seen;  // code -> groups of it so far
    reads.assign(1, object->extensionDictionary.value);
    texts.clear();
    kinds.clear();
    fields.clear();
    const Object* dictionary = drawing.FindLive(object->extensionDictionary);
    if (dictionary && drawing.TypeName(*dictionary) == "DICTIONARY") {
        std::string_view name;
        for (const Group& listed : dictionary->body) {
            if (listed.code == 3)
                name = listed.text;
            if ((listed.code != 350 && listed.code != 360) || !listed.id)
                continue;
            reads.push_back(listed.id.value);
            const Object* record = drawing.FindLive(listed.id);
            if (!record || drawing.TypeName(*record) != "XRECORD")
                continue;
            // Kinds and fields follow live entities only, so that answering needs no look
            // at each entity; the texts keep erased ones too (see Holders). The kind is the
            // record's first group 1; a record without one has no kind to ask by.
            std::optional<uint32_t> kind;
            if (object->state == ObjectState::Live && !name.empty()) {
                for (const Group& group : record->body) {
                    if (group.code == 1 && group.kind == ValueKind::Text) {
                        kind = KindId(name, group.text, drawing.TypeName(*object));
                        kinds.push_back(*kind);
                        break;
                    }
                }
            }
            seen.clear();
            for (const Group& group : record->body) {
                if ((group.kind == ValueKind::Text || group.kind == ValueKind::Handle) &&
                    Indexable(group.text)) {
                    texts.push_back(group.text);
                } else if (kind &&
                           (group.kind == ValueKind::Int16 || group.kind == ValueKind::Int32)) {
                    auto counted = std::find_if(seen.begin(), seen.end(), [&](const auto& c) {
                        return c.first == group.code;
                    });
                    if (counted == seen.end()) {
                        seen.emplace_back(group.code, 0);
                        counted = seen.end() - 1;
                    }
                    fields.emplace_back(FieldId(*kind, group.code, counted->second++),
                                        static_cast<uint32_t>(group.integer));
                }
            }
        }
    }
    // Each slot, text, kind and field value once, whatever repeats it.
    auto once = [](auto& items) {
        std::sort(items.begin(), items.end());
        items.erase(std::unique(items.begin(), items.end()), items.end());
    };
    once(reads);
    once(texts);
    once(kinds);
    once(fields);
    Entry entry{static_cast<uint32_t>(reads.size()), static_cast<uint32_t>(texts.size()),
                static_cast<uint32_t>(kinds.size()), static_cast<uint32_t>(fields.size())};
    entry.reserve(kHead + reads.size() + texts.size() + kinds.size() + 2 * fields.size());
    entry.insert(entry.end(), reads.begin(), reads.end());
    for (std::string_view text : texts)
        entry.push_back(ValueId(text));
    entry.insert(entry.end(), kinds.begin(), kinds.end());
    for (const auto& [id, value] : fields) {
        entry.push_back(id);
        entry.push_back(value);
    }
    return entry;
}

void RecordIndex::File(uint32_t entity, Entry entry, bool appending) {
    if (entry.empty())
        return;
    // Appending: entities come in ascending slots, so the buckets stay sorted; the field
    // buckets, ordered by value first, are sorted once at the end (Build).
    for (size_t i = Start(entry, kValues), end = i + entry[kValues]; i < end; ++i) {
        std::vector<uint32_t>& holders = values_[entry[i]].holders;
        appending ? holders.push_back(entity) : InsertSorted(holders, entity);
    }
    for (size_t i = Start(entry, kKinds), end = i + entry[kKinds]; i < end; ++i) {
        std::vector<uint32_t>& holders = kinds_[entry[i]].holders;
        appending ? holders.push_back(entity) : InsertSorted(holders, entity);
    }
    for (size_t i = Start(entry, kFields), end = i + 2 * entry[kFields]; i < end; i += 2) {
        FieldBucket& field = fields_[entry[i]];
        const int32_t value = static_cast<int32_t>(entry[i + 1]);
        if (appending) {
            field.holders.emplace_back(value, entity);
            continue;
        }
        InsertSorted(field.holders, std::pair<int32_t, uint32_t>{value, entity});
        InsertSorted(field.distinct, value);
    }
    for (size_t i = Start(entry, kReads), end = i + entry[kReads]; i < end; ++i)
        AddReader(entry[i], entity);
    uint32_t place;
    if (freeEntries_.empty()) {
        place = static_cast<uint32_t>(entries_.size());
        entries_.push_back(std::move(entry));
    } else {
        place = freeEntries_.back();
        freeEntries_.pop_back();
        entries_[place] = std::move(entry);
    }
    if (entity >= entryOf_.size())
        entryOf_.resize(entity + 1, 0);
    entryOf_[entity] = place + 1;
}

void RecordIndex::Refresh(const Database& drawing, uint32_t entity) {
    Forget(entity);
    File(entity, Read(drawing, entity), false);
}

void RecordIndex::Changed(const Database& drawing, ObjectId id) {
    Refresh(drawing, id.value);
    // Refreshing rewrites the readers of this very slot: work on a copy.
    std::vector<uint32_t> entities;
    if (id.value < reader_.size() && reader_[id.value] != 0)
        entities.push_back(reader_[id.value]);
    if (auto more = moreReaders_.find(id.value); more != moreReaders_.end())
        entities.insert(entities.end(), more->second.begin(), more->second.end());
    for (uint32_t entity : entities) {
        if (entity != id.value)
            Refresh(drawing, entity);
    }
}

std::vector<ObjectId> RecordIndex::Holders(const Database& drawing, std::string_view value) const {
    std::vector<ObjectId> found;
    auto id = valueIds_.find(value);
    const std::vector<uint32_t>* holders =
        id != valueIds_.end() ? &values_[id->second].holders : nullptr;
    const std::optional<Handle> handle = Handle::FromText(value);
    const ObjectId named =
        handle && handle->ToText() == value ? drawing.FindHandle(*handle) : ObjectId{};
    if (const Object* object = drawing.FindLive(named);
        object && object->category == Category::Entity &&
        (!holders || !std::binary_search(holders->begin(), holders->end(), named.value))) {
        found.push_back(named);
    }
    if (holders) {
        for (uint32_t slot : *holders) {
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

std::vector<const RecordIndex::KindBucket*> RecordIndex::MatchingKinds(const Field& field) const {
    std::vector<const KindBucket*> found;
    const std::string upper = UpperEntry(field.entry);
    if (!field.type.empty()) {
        auto it = kindIds_.find(KindKey(upper, field.kind, field.type));
        if (it != kindIds_.end())
            found.push_back(&kinds_[it->second]);
        return found;
    }
    for (const KindBucket& bucket : kinds_) {
        if (bucket.entry == upper && bucket.kind == field.kind)
            found.push_back(&bucket);
    }
    return found;
}

std::vector<const RecordIndex::FieldBucket*> RecordIndex::MatchingFields(const Field& field) const {
    std::vector<const FieldBucket*> found;
    for (const KindBucket* kind : MatchingKinds(field)) {
        for (const FieldPlace& place : kind->fields) {
            if (place.code == field.code && place.occurrence == field.occurrence)
                found.push_back(&fields_[place.bucket]);
        }
    }
    return found;
}

std::vector<ObjectId> RecordIndex::KindHolders(const Database& drawing, const Field& field,
                                               const int32_t* value) const {
    std::vector<ObjectId> found;
    if (value == nullptr) {
        for (const KindBucket* kind : MatchingKinds(field)) {
            for (uint32_t slot : kind->holders)
                found.push_back(ObjectId{slot});
        }
    } else {
        for (const FieldBucket* bucket : MatchingFields(field)) {
            auto at = std::lower_bound(bucket->holders.begin(), bucket->holders.end(),
                                       std::pair<int32_t, uint32_t>{*value, 0});
            for (; at != bucket->holders.end() && at->first == *value; ++at)
                found.push_back(ObjectId{at->second});
        }
    }
    SortByCreation(drawing, found);
    return found;
}

size_t RecordIndex::KindCount(const Field& field, const int32_t* value) const {
    size_t count = 0;
    if (value == nullptr) {
        // An entity has one type: the buckets of the types hold different entities.
        for (const KindBucket* kind : MatchingKinds(field))
            count += kind->holders.size();
        return count;
    }
    for (const FieldBucket* bucket : MatchingFields(field)) {
        const auto [from, to] = std::equal_range(
            bucket->holders.begin(), bucket->holders.end(), std::pair<int32_t, uint32_t>{*value, 0},
            [](const auto& a, const auto& b) { return a.first < b.first; });
        count += static_cast<size_t>(to - from);
    }
    return count;
}

std::vector<int32_t> RecordIndex::FieldValues(const Field& field) const {
    const std::vector<const FieldBucket*> buckets = MatchingFields(field);
    if (buckets.size() == 1)
        return buckets.front()->distinct;
    std::vector<int32_t> values;
    for (const FieldBucket* bucket : buckets)
        values.insert(values.end(), bucket->distinct.begin(), bucket->distinct.end());
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

RecordIndex::Numbering RecordIndex::FieldNumbering(const Field& field) const {
    const std::vector<const FieldBucket*> buckets = MatchingFields(field);
    std::vector<int32_t> merged;
    if (buckets.size() != 1)
        merged = FieldValues(field);
    const std::vector<int32_t>& values = buckets.size() == 1 ? buckets.front()->distinct : merged;
    // Distinct whole numbers from 1 up: the i-th is at least i + 1, and once above it stays
    // above, so the first free number is found by halving.
    const auto first = std::lower_bound(values.begin(), values.end(), 1);
    Numbering numbering;
    numbering.used = values.end() - first;
    int64_t low = 0, high = numbering.used;  // the first i whose value is above i + 1
    while (low < high) {
        const int64_t mid = low + (high - low) / 2;
        if (first[mid] > mid + 1)
            high = mid;
        else
            low = mid + 1;
    }
    numbering.firstFree = low + 1;
    return numbering;
}

RecordIndex RecordIndex::Build(const Database& drawing) {
    RecordIndex index;
    index.entryOf_.resize(drawing.SlotCount(), 0);
    index.reader_.resize(drawing.SlotCount(), 0);
    for (uint32_t slot = 1; slot < drawing.SlotCount(); ++slot)
        index.File(slot, index.Read(drawing, slot), true);
    for (FieldBucket& field : index.fields_) {
        std::sort(field.holders.begin(), field.holders.end());
        field.distinct.clear();
        for (const auto& [value, slot] : field.holders) {
            if (field.distinct.empty() || field.distinct.back() != value)
                field.distinct.push_back(value);
        }
    }
    return index;
}

bool RecordIndex::SameHolders(const RecordIndex& other) const {
    auto values = [](const RecordIndex& index) {
        std::map<std::string, std::vector<uint32_t>> named;
        for (const ValueBucket& bucket : index.values_) {
            if (!bucket.text.empty())
                named[bucket.text] = bucket.holders;
        }
        return named;
    };
    if (values(*this) != values(other))
        return false;
    // Bucket numbers depend on the order of filing: compared by what they name.
    using KindName = std::tuple<std::string, std::string, std::string>;
    auto kinds = [](const RecordIndex& index) {
        std::map<KindName, std::vector<uint32_t>> named;
        for (const KindBucket& bucket : index.kinds_) {
            if (!bucket.holders.empty())
                named[{bucket.entry, bucket.kind, bucket.type}] = bucket.holders;
        }
        return named;
    };
    auto fields = [](const RecordIndex& index) {
        std::map<std::tuple<KindName, int, int>,
                 std::pair<std::vector<std::pair<int32_t, uint32_t>>, std::vector<int32_t>>>
            named;
        for (const FieldBucket& bucket : index.fields_) {
            const KindBucket& kind = index.kinds_[bucket.kind];
            if (!bucket.holders.empty() || !bucket.distinct.empty()) {
                named[{{kind.entry, kind.kind, kind.type}, bucket.code, bucket.occurrence}] = {
                    bucket.holders, bucket.distinct};
            }
        }
        return named;
    };
    return kinds(*this) == kinds(other) && fields(*this) == fields(other);
}

}  // namespace host
