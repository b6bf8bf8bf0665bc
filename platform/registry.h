// The current user's registry, kept in the settings file: keys named by paths, values of a
// type and bytes. Opening a key that is missing, or that sits in an unreadable or corrupt
// file, fails; in a file with damaged lines every other value is read (the damage is told
// once). Writes replace the file atomically.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Result codes of the registry calls.
enum class RegResult {
    Ok,
    NotFound,       // no such key or value
    CannotOpen,     // the settings file cannot be read or is corrupt (a message was written)
    AccessDenied,   // writing through a key opened for reading, or a closed key
    MoreData,       // the value is longer than the caller's buffer (nothing was copied)
    NotTerminated,  // a string value that has no terminating zero inside the buffer
    WriteFailed,    // the settings file could not be written (the old one is unchanged)
};

// Value types (the classic numbers).
enum RegType : unsigned {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_MULTI_SZ = 7,
};

enum class RegAccess { Read, ReadWrite };

// An open key; copyable value, closed by RegCloseKey or simply dropped.
struct RegKey {
    std::string path;
    bool open = false;
    bool writable = false;
};

// Where the settings live: main sets it from --settings. The default is
// $XDG_CONFIG_HOME/armavo/settings, else ~/.config/armavo/settings, else ./armavo-settings.
void SetSettingsFile(std::string_view path);
std::string GetSettingsFile();
std::string DefaultSettingsFile();

// Key paths are compared case-insensitively; "\" separates their parts and a trailing "\"
// is ignored. All keys belong to the current user.
RegResult RegOpenKey(std::string_view path, RegAccess access, RegKey& key);
// Opens the key for reading and writing, creating it when missing (it is stored with the
// first value written). A damaged or corrupt file is no obstacle: the first write replaces
// it with what could be read of it and the change, keeping the old file beside it with
// ".bad" appended (".bad2", ".bad3"... when that name is taken).
RegResult RegCreateKey(std::string_view path, RegKey& key);
RegResult RegCloseKey(RegKey& key);

// Copies the value's bytes into the buffer. `size` is in/out: the buffer's size, then the
// value's length. A string value (REG_SZ, REG_EXPAND_SZ) must hold its terminating zero
// inside the buffer, else NotTerminated (the bytes are still copied). `type` may be null.
RegResult RegQueryValue(const RegKey& key, std::string_view name, unsigned* type, char* buffer,
                        std::size_t* size);
// Stores a REG_SZ value: the text and its terminating zero. Written to the file at once.
RegResult RegSetValue(const RegKey& key, std::string_view name, std::string_view text);
// Stores a value of any type as the given bytes.
RegResult RegSetValueRaw(const RegKey& key, std::string_view name, unsigned type,
                         std::string_view bytes);
RegResult RegDeleteValue(const RegKey& key, std::string_view name);

// Convenience: a REG_SZ value as text (without its terminating zero); NotFound also for a
// value of another type.
RegResult RegGetString(const RegKey& key, std::string_view name, std::string& text);

}  // namespace platform
