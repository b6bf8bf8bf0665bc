// Which entities hold a text in their records: for every entity, the handle-like texts of the
// XRECORDs filed directly in its extension dictionary, so that "who names this handle" is
// answered without reading the whole drawing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/group_list.h"

namespace host {

class Database;

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
    // An index computed afresh from every object of a drawing, for checks.
    static RecordIndex Build(const Database& drawing);
    // Whether two indexes give the same answers for every text.
    bool SameHolders(const RecordIndex& other) const { return holders_ == other.holders_; }
    // Whether a record text is kept here: 1 to 16 hexadecimal digits, as handles are written.
    static bool Indexable(std::string_view text);

  private:
    struct Entry {
        std::vector<std::string> values;  // the texts it holds, each once
        std::vector<uint32_t> reads;      // the slots the values were read from
    };
    void Refresh(const Database& drawing, uint32_t entity);
    void Forget(uint32_t entity);

    std::unordered_map<uint32_t, Entry> entries_;
    std::unordered_map<uint32_t, std::vector<uint32_t>> readers_;  // slot -> entities reading it
    std::unordered_map<std::string, std::unordered_set<uint32_t>> holders_;
    // Creation order of entities by slot, extended as the drawing's entity order grows (it
    // only ever grows).
    mutable std::vector<uint32_t> position_;
    mutable size_t placed_ = 0;
};

}  // namespace host
