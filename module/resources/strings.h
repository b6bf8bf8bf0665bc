// The module's string table: every text the user sees, in Polish, looked up by its id so that
// prompts, messages and labels stay in one place.
#pragma once

#include <span>
#include <string>

struct UiStringEntry {
    int id;
    const char* text;  // UTF-8
};

// The text of entry `id`, or an empty text when the table has no such entry.
std::string LoadUiString(int id);

// The whole table in ascending id order (for checks and for listing).
std::span<const UiStringEntry> UiStringTable();
