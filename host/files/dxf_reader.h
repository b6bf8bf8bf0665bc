// Reading a DXF file (ASCII, any release from R12 on) into a drawing database built aside,
// so that the drawing that is open stays as it was when a file cannot be read.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "host/drawing/database.h"
#include "host/files/file_bytes.h"

namespace host {

struct DxfReadResult {
    bool ok = false;
    bool readFailed = false;  // the file could not be read to its end
    // Why reading stopped, in the user's words, and the line of the file it stopped at.
    std::string error;
    size_t line = 0;
    std::string version;  // $ACADVER
    size_t objectsRead = 0;
    // Records that could not be kept, by type name (entries of tables the format does not
    // have, records in a section where they do not belong, parts of a dropped parent), and
    // those of kinds the host checks whose contents the drawing refused.
    std::map<std::string, int> skipped;
    int refused = 0;
    // Further lines for the user, one finding each: the drawing's units, damaged links,
    // handles given anew, records dropped for numbers that are not finite, unknown groups.
    std::vector<std::string> warnings;
    int SkippedCount() const;
    // "MTEXT 3, INSERT 1": the skipped kinds for a message.
    std::string SkippedSummary() const;
};

// Reads the bytes of a whole file into `drawing`, which should be Database::Empty(). On
// failure the drawing holds part of the file and is to be thrown away.
DxfReadResult ReadDxf(std::string_view bytes, Database& drawing);
// The same for a file opened and still being read: the rest is read while its first part is
// made into objects. `readFailed` in the result when the file could not be read to its end.
DxfReadResult ReadDxf(FileBytes& file, Database& drawing);

}  // namespace host
