// Which entities hold a text in their records: for every entity, the handle-like texts of the
// XRECORDs filed directly in its extension dictionary, so that "who names this handle" is
// answered without reading the whole drawing; and the whole numbers of those records by entry,
// kind (the record's first group 1) and place, so that "which entities keep records of this
// kind, and with what values" needs no reading of them either.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
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
    // The distinct values that live entities hold in the field, ascending.
    std::vector<int32_t> FieldValues(const Database& drawing, const Field& field) const;
    // An index computed afresh from every object of a drawing, for checks.
    static RecordIndex Build(const Database& drawing);
    // Whether two indexes give the same answers for every text and field.
    bool SameHolders(const RecordIndex& other) const {
        return holders_ == other.holders_ && kinds_ == other.kinds_ && fields_ == other.fields_;
    }
    // Whether a record text is kept here: 1 to 16 hexadecimal digits, as handles are written.
    static bool Indexable(std::string_view text);
    // Sorts entities into the drawing's order of creation.
    void SortByCreation(const Database& drawing, std::vector<ObjectId>& found) const;

  private:
    struct Entry {
        std::vector<std::string> values;                      // the texts it holds, each once
        std::vector<uint32_t> reads;                          // the slots the values were read from
        std::vector<std::string> kinds;                       // KindKey of each record it files
        std::vector<std::pair<std::string, int32_t>> fields;  // FieldKey and value
    };
    using SlotSet = std::unordered_set<uint32_t>;
    void Refresh(const Database& drawing, uint32_t entity);
    void Forget(uint32_t entity);
    void IndexRecord(const Database& drawing, std::string_view entry, const Object& entity,
                     const Object& record, Entry& indexed) const;
    static std::string KindKey(std::string_view entry, std::string_view kind,
                               std::string_view type);
    static std::string FieldKey(std::string_view kindKey, int code, int occurrence);
    // The buckets of `map` filed under the field's entry, kind and type (every type when it
    // names none), with the field's code and place when `withPlace`.
    template <class Map>
    static std::vector<const typename Map::mapped_type*> Matching(const Map& map,
                                                                  const Field& field,
                                                                  bool withPlace);

    std::unordered_map<uint32_t, Entry> entries_;
    std::unordered_map<uint32_t, std::vector<uint32_t>> readers_;  // slot -> entities reading it
    std::unordered_map<std::string, SlotSet> holders_;
    std::unordered_map<std::string, SlotSet> kinds_;                      // KindKey -> entities
    std::unordered_map<std::string, std::map<int32_t, SlotSet>> fields_;  // FieldKey -> values
    // Creation order of entities by slot, extended as the drawing's entity order grows (it
    // only ever grows).
    mutable std::vector<uint32_t> position_;
    mutable size_t placed_ = 0;
};

}  // namespace host
