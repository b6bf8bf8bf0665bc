// The keys of a large dictionary (a drawing's group dictionary holds an entry per group), so
// that finding an entry, checking a new key and naming the first free numbered key need no
// reading of the whole dictionary.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/drawing/group_list.h"

namespace host {

class DictionaryKeys {
  public:
    // The keys of a dictionary's body: (3 key) followed by (350 object) or (360 object); the
    // first of keys equal without regard to ASCII case is the one found, as a reading of the
    // body finds it.
    static DictionaryKeys Of(const GroupList& body);
    // The object of a key (any case), or none.
    ObjectId Find(std::string_view key) const;
    // An entry added at the end, or taken out.
    void Add(std::string_view key, ObjectId object);
    void Remove(std::string_view key);
    // The least n from 0 up for which no key is the prefix (any case) followed by n written in
    // decimals.
    size_t FirstFree(std::string_view prefix);
    // Whether the keys are those of the body, and every number below a prefix's kept lower
    // bound is taken.
    bool Matches(const GroupList& body) const;

  private:
    std::unordered_map<std::string, ObjectId> byKey_;  // upper case
    // Per prefix asked (upper case), a number below which every numbered key is taken.
    std::vector<std::pair<std::string, size_t>> taken_;
};

}  // namespace host
