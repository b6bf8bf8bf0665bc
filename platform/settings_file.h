// The settings file behind the registry: its in-memory form, reading and atomic writing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::settings {

struct Value {
    std::string name;
    unsigned type = 0;
    std::string bytes;
};

struct Key {
    std::string path;
    std::vector<Value> values;
};

struct Store {
    std::vector<Key> keys;
    Key* FindKey(std::string_view path);
    Key& AddKey(std::string_view path);
};

Value* FindValue(Key& key, std::string_view name);

// Damaged: some lines could not be understood; every other value was read. Corrupt: the file
// is not a settings file of this version, or nothing in it could be understood.
enum class LoadResult { Ok, Damaged, Missing, Unreadable, Corrupt };

// Reads the file; a missing file is an empty store. `damagedLines` gets the numbers of the
// lines left out (for Corrupt, the line that gave it away).
LoadResult Load(const std::string& path, Store& store, std::vector<int>& damagedLines);
// The file's text for a store, and the parse of such a text: false for Corrupt (the store is
// then empty).
std::string Serialize(const Store& store);
bool Parse(std::string_view textIn, Store& store, std::vector<int>& damagedLines);
// Writes the store to a temporary file beside `path`, then renames it over `path`; with
// `keepOldAs` non-empty the old file is first renamed to that name. False (old file
// untouched, temporary file removed) on any failure, with `error` set.
bool WriteAtomically(const std::string& path, const Store& store, const std::string& keepOldAs,
                     std::string& error);

}  // namespace platform::settings
