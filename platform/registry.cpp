// The registry calls over the settings file. Every call reads the file afresh, so what is on
// disk is the one truth; every change rewrites it atomically.
#include "platform/registry.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/console.h"
#include "platform/settings_file.h"

namespace platform {
namespace {

std::string g_settingsFile;

// The damage last reported, so that a file read again by every registry call is reported
// once (again only when its damage differs, or after a write has mended it).
std::string g_reportedDamage;

std::string LineList(const std::vector<int>& lines) {
    constexpr size_t kShown = 10;
    std::string list;
    for (size_t i = 0; i < lines.size() && i < kShown; ++i) {
        list += (i > 0 ? ", " : "") + std::to_string(lines[i]);
    }
    return lines.size() > kShown ? list + "…" : list;
}

void ReportDamage(const std::string& path, const std::vector<int>& lines) {
    std::string damage = path + "\n" + LineList(lines);
    if (damage == g_reportedDamage) {
        return;
    }
    g_reportedDamage = damage;
    WriteOutput("Plik ustawień " + path +
                (lines.size() == 1 ? " ma nieczytelny wiersz " : " ma nieczytelne wiersze ") +
                LineList(lines) + "; pozostałe ustawienia odczytano.\n");
}

// Reads the store; reports and refuses an unreadable or corrupt file; reports the lines of a
// damaged one and gives what could be read.
RegResult LoadForRead(settings::Store& store) {
    std::vector<int> damaged;
    std::string path = GetSettingsFile();
    switch (settings::Load(path, store, damaged)) {
        case settings::LoadResult::Ok:
        case settings::LoadResult::Missing:
            return RegResult::Ok;
        case settings::LoadResult::Damaged:
            ReportDamage(path, damaged);
            return RegResult::Ok;
        case settings::LoadResult::Unreadable:
            WriteOutput("Nie można odczytać pliku ustawień " + path + ".\n");
            return RegResult::CannotOpen;
        case settings::LoadResult::Corrupt:
            WriteOutput("Plik ustawień " + path + " jest uszkodzony (wiersz " + LineList(damaged) +
                        "); ustawienia nie zostały odczytane.\n");
            return RegResult::CannotOpen;
    }
    return RegResult::CannotOpen;
}

// A name beside the settings file for keeping a damaged one, not taken by an earlier copy.
std::string FreeBackupName(const std::string& path) {
    std::string name = path + ".bad";
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(name, ec) && n < 1000; ++n) {
        name = path + ".bad" + std::to_string(n);
    }
    return name;
}

// Reads the store for a change. A damaged file gives what could be read of it, a corrupt one
// an empty store; either way the old file is kept under a free name beside the new one, so
// that nothing that was in it is gone. An unreadable file refuses the change.
RegResult LoadForWrite(settings::Store& store, std::string& keepOldAs) {
    std::vector<int> damaged;
    std::string path = GetSettingsFile();
    keepOldAs.clear();
    switch (settings::Load(path, store, damaged)) {
        case settings::LoadResult::Ok:
        case settings::LoadResult::Missing:
            return RegResult::Ok;
        case settings::LoadResult::Damaged:
            ReportDamage(path, damaged);
            keepOldAs = FreeBackupName(path);
            return RegResult::Ok;
        case settings::LoadResult::Unreadable:
            WriteOutput("Nie można odczytać pliku ustawień " + path +
                        "; ustawienia nie zostały zapisane.\n");
            return RegResult::WriteFailed;
        case settings::LoadResult::Corrupt:
            store.keys.clear();
            keepOldAs = FreeBackupName(path);
            return RegResult::Ok;
    }
    return RegResult::WriteFailed;
}

RegResult Save(const settings::Store& store, const std::string& keepOldAs) {
    std::string error;
    std::string path = GetSettingsFile();
    if (!settings::WriteAtomically(path, store, keepOldAs, error)) {
        WriteOutput("Ustawienia nie zostały zapisane: " + error + ".\n");
        return RegResult::WriteFailed;
    }
    if (!keepOldAs.empty()) {
        g_reportedDamage.clear();
        WriteOutput("Uszkodzony plik ustawień zachowano jako " + keepOldAs + ".\n");
    }
    return RegResult::Ok;
}

// One change of a writable key: load the store, apply the change, and save it when the
// change succeeded.
template <class Change>
RegResult ChangeStore(const RegKey& key, Change change) {
    if (!key.open || !key.writable) {
        return RegResult::AccessDenied;
    }
    settings::Store store;
    std::string keepOldAs;
    RegResult r = LoadForWrite(store, keepOldAs);
    if (r == RegResult::Ok) {
        r = change(store);
    }
    return r == RegResult::Ok ? Save(store, keepOldAs) : r;
}

bool IsStringType(unsigned type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

}  // namespace

void SetSettingsFile(std::string_view path) {
    g_settingsFile = std::string(path);
}

std::string GetSettingsFile() {
    return g_settingsFile.empty() ? DefaultSettingsFile() : g_settingsFile;
}

std::string DefaultSettingsFile() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        return std::string(xdg) + "/armavo/settings";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.config/armavo/settings";
    }
    return "armavo-settings";
}

RegResult RegOpenKey(std::string_view path, RegAccess access, RegKey& key) {
    key = RegKey{};
    settings::Store store;
    RegResult r = LoadForRead(store);
    if (r != RegResult::Ok) {
        return r;
    }
    if (store.FindKey(path) == nullptr) {
        return RegResult::NotFound;
    }
    key = RegKey{std::string(path), true, access == RegAccess::ReadWrite};
    return RegResult::Ok;
}

RegResult RegCreateKey(std::string_view path, RegKey& key) {
    key = RegKey{std::string(path), true, true};
    return RegResult::Ok;
}

RegResult RegCloseKey(RegKey& key) {
    bool wasOpen = key.open;
    key = RegKey{};
    return wasOpen ? RegResult::Ok : RegResult::AccessDenied;
}

RegResult RegQueryValue(const RegKey& key, std::string_view name, unsigned* type, char* buffer,
                        std::size_t* size) {
    if (!key.open || size == nullptr) {
        return RegResult::AccessDenied;
    }
    settings::Store store;
    RegResult r = LoadForRead(store);
    if (r != RegResult::Ok) {
        return r;
    }
    settings::Key* k = store.FindKey(key.path);
    settings::Value* v = k != nullptr ? settings::FindValue(*k, name) : nullptr;
    if (v == nullptr) {
        return RegResult::NotFound;
    }
    if (type != nullptr) {
        *type = v->type;
    }
    std::size_t capacity = *size;
    *size = v->bytes.size();
    if (buffer == nullptr) {
        return RegResult::Ok;  // the caller asked only for the length
    }
    if (v->bytes.size() > capacity) {
        return RegResult::MoreData;
    }
    if (!v->bytes.empty()) {
        std::memcpy(buffer, v->bytes.data(), v->bytes.size());
    }
    if (IsStringType(v->type) && v->bytes.find('\0') == std::string::npos) {
        return RegResult::NotTerminated;
    }
    return RegResult::Ok;
}

RegResult RegSetValueRaw(const RegKey& key, std::string_view name, unsigned type,
                         std::string_view bytes) {
    return ChangeStore(key, [&](settings::Store& store) {
        settings::Key& k = store.AddKey(key.path);
        if (settings::Value* v = settings::FindValue(k, name)) {
            v->type = type;
            v->bytes = std::string(bytes);
        } else {
            k.values.push_back(settings::Value{std::string(name), type, std::string(bytes)});
        }
        return RegResult::Ok;
    });
}

RegResult RegSetValue(const RegKey& key, std::string_view name, std::string_view text) {
    std::string bytes(text);
    bytes.push_back('\0');
    return RegSetValueRaw(key, name, REG_SZ, bytes);
}

RegResult RegDeleteValue(const RegKey& key, std::string_view name) {
    return ChangeStore(key, [&](settings::Store& store) {
        settings::Key* k = store.FindKey(key.path);
        settings::Value* v = k != nullptr ? settings::FindValue(*k, name) : nullptr;
        if (v == nullptr) {
            return RegResult::NotFound;
        }
        k->values.erase(k->values.begin() + (v - k->values.data()));
        return RegResult::Ok;
    });
}

RegResult RegGetString(const RegKey& key, std::string_view name, std::string& text) {
    unsigned type = REG_NONE;
    std::size_t size = 0;
    RegResult r = RegQueryValue(key, name, &type, nullptr, &size);
    if (r != RegResult::Ok) {
        return r;
    }
    if (type != REG_SZ) {
        return RegResult::NotFound;
    }
    std::string bytes(size, '\0');
    r = RegQueryValue(key, name, &type, bytes.data(), &size);
    if (r != RegResult::Ok) {
        return r;
    }
    text = bytes.substr(0, bytes.find('\0'));
    return RegResult::Ok;
}

}  // namespace platform
