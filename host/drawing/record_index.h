// Which entities hold a text in their records: for every entity, the handle-like texts of the
// XRECORDs filed directly in its extension dictionary, so that "who names this handle" is
// answered without reading the whole drawing; and the whole numbers of those records by entry,
// kind (the record's first group 1) and place, so that "which entities keep records of this
// kind, how many, and with what values" needs no reading of them either.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/drawing/group_list.h"

namespace host {

class Database;
class Object;

// Kept by the database itself: told of every change of a slot, it recomputes the entities
// whose texts may depend on that slot (the entity, its extension dictionary, the records the
// dictionary lists), so it follows makes, edits, erasures, undo, redo and file reads alike.
class RecordIndex {
  public:
    // Brings up to date whatever depends on the slot, after the slot changed.
    void Changed(const Database& drawing, ObjectId id);
    // Live entities whose records hold exactly `value`, with the live entity whose handle is
    // written `value` (what the records refer to), in order of creation.
    std::vector<ObjectId> Holders(const Database& drawing, std::string_view value) const;
    // One whole-number field of the records filed under `entry` (any case) whose first group 1
    // is `kind`, on entities of `type` (empty: any): the `occurrence`-th group (0: the first)
    // of the 16- or 32-bit code `code`.
    struct Field {
        std::string type;
        std::string entry;
        std::string kind;
        int code = 0;
        int occurrence = 0;
    };
    // Live entities, in order of creation, filing such a record; with `value`, only those
    // whose field holds it (the code and occurrence are then those of the field).
    std::vector<ObjectId> KindHolders(const Database& drawing, const Field& field,
                                      const int32_t* value) const;
    // How many entities KindHolders gives, counted without listing them.
    size_t KindCount(const Field& field, const int32_t* value) const;
    // The distinct values that live entities hold in the field, ascending.
    std::vector<int32_t> FieldValues(const Field& field) const;
    // Of the values from 1 up that live entities hold in the field: how many distinct ones,
    // and the least whole number from 1 up that none holds (used + 1 when 1 .. used all are).
    struct Numbering {
        int64_t used = 0;
        int64_t firstFree = 1;
    };
    Numbering FieldNumbering(const Field& field) const;
    // An index computed afresh from every object of a drawing, in one pass: for checks, and
    // for a drawing read whole from a file.
    static RecordIndex Build(const Database& drawing);
    // Whether two indexes give the same answers for every text and field.
    bool SameHolders(const RecordIndex& other) const;
    // Whether a record text is kept here: 1 to 16 hexadecimal digits, as handles are written.
    static bool Indexable(std::string_view text);
    // Sorts entities into the drawing's order of creation.
    void SortByCreation(const Database& drawing, std::vector<ObjectId>& found) const;

  private:
    // What one entity files, kept so that its buckets can be left when it changes, in one
    // block of words: the counts of reads, values, kinds and fields, then the slots read, the
    // value buckets, the kind buckets and (field bucket, value) pairs.
    using Entry = std::vector<uint32_t>;
    // The live or erased entities whose records hold one text.
    struct ValueBucket {
        std::string text;               // empty for a bucket free for reuse
        std::vector<uint32_t> holders;  // ascending slots
    };
    // Where a field of a kind is filed: its code and place, and its bucket.
    struct FieldPlace {
        int code = 0;
        int occurrence = 0;
        uint32_t bucket = 0;
    };
    // The live entities filing records of one entry (upper case), kind and entity type.
    struct KindBucket {
        std::string entry;
        std::string kind;
        std::string type;
        std::vector<uint32_t> holders;  // ascending slots
        std::vector<FieldPlace> fields;
    };
    // The values one field of a kind takes.
    struct FieldBucket {
        uint32_t kind = 0;
        int code = 0;
        int occurrence = 0;
        std::vector<std::pair<int32_t, uint32_t>> holders;  // (value, slot), ascending
        std::vector<int32_t> distinct;                      // the values, ascending, once
    };
    // Reads the entity's records into an entry (interning texts, kinds and fields); empty
    // when the entity files nothing.
    Entry Read(const Database& drawing, uint32_t entity);
    void Refresh(const Database& drawing, uint32_t entity);
    void File(uint32_t entity, Entry entry, bool appending);
    void Forget(uint32_t entity);
    uint32_t ValueId(std::string_view text);
    uint32_t KindId(std::string_view entry, std::string_view kind, std::string_view type);
    uint32_t KindIdOf(std::string_view entry, std::string_view kind, std::string_view type);
    uint32_t FieldId(uint32_t kind, int code, int occurrence);
    void AddReader(uint32_t slot, uint32_t entity);
    void RemoveReader(uint32_t slot, uint32_t entity);
    // The kind buckets, and the field buckets, that a field names (every type when it names
    // none).
    std::vector<const KindBucket*> MatchingKinds(const Field& field) const;
    std::vector<const FieldBucket*> MatchingFields(const Field& field) const;

    std::vector<uint32_t> entryOf_;  // slot -> place in entries_ + 1; 0: none
    std::vector<Entry> entries_;
    std::vector<uint32_t> freeEntries_;
    // The entities that read a slot (its extension dictionary, or a dictionary listing it):
    // the first by slot, any further ones aside (a slot is almost always read by one).
    std::vector<uint32_t> reader_;
    std::unordered_map<uint32_t, std::vector<uint32_t>> moreReaders_;
    // Looked up by string_view: texts are read from the records as views.
    struct TextHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, uint32_t, TextHash, std::equal_to<>> valueIds_;
    std::vector<ValueBucket> values_;
    std::vector<uint32_t> freeValues_;
    std::unordered_map<std::string, uint32_t> kindIds_;  // entry \x1f kind \x1f type -> bucket
    std::vector<KindBucket> kinds_;
    std::vector<FieldBucket> fields_;
    // What Read works in, kept between calls.
    struct Scratch {
        std::vector<uint32_t> reads;
        std::vector<std::string_view> texts;
        std::vector<uint32_t> kinds;
        std::vector<std::pair<uint32_t, uint32_t>> fields;
        std::vector<std::pair<int, int>> seen;
    } scratch_;
    uint32_t lastKind_ = UINT32_MAX;  // the kind bucket Read filed last
    // Creation order of entities by slot, extended as the drawing's entity order grows (it
    // only ever grows).
    mutable std::vector<uint32_t> position_;
    mutable size_t placed_ = 0;
};

}  // namespace host
