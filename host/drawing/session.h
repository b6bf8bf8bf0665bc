// The host's state around the current drawing: the drawing and its serial, its undo journal,
// selection sets, highlights, system variables and the last refusal. Internal to the
// drawing core; other parts of the host use the functions declared in drawing_access.h.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "host/drawing/database.h"
#include "host/sds.h"
#include "host/drawing/undo_journal.h"

namespace host {

// A selection set, by its slot in the session; distinct from object ids.
struct SelectionSetId {
    uint32_t value = 0;
    explicit operator bool() const { return value != 0; }
};

struct SystemVariables {
    int16_t orthoMode = 0;
    int16_t osMode = 0;
    int16_t copyMode = 0;
    int16_t pickBox = 3;
    double viewSize = 1000.0;
};

struct Session {
    Database drawing;
    long serial = 1;
    UndoJournal journal;
    std::vector<std::optional<std::vector<ObjectId>>> sets;  // slot 0 unused
    std::optional<SelectionSetId> pickFirst;
    std::unordered_set<uint32_t> highlighted;
    SystemVariables variables;
    std::vector<std::string> menus;
    std::string lastError;
    // The journal's state when the drawing was last opened, saved or made new, and its file.
    std::optional<uint64_t> savedState = 0;
    std::string drawingFile;
};

Session& GetSession();

// Entity names of the current drawing: {slot, drawing serial}.
void ToName(ObjectId id, sds_name name);
// The object a name refers to, or none for null, foreign or out-of-range names.
ObjectId FromName(const sds_name name);
// As FromName, and the object must be live.
ObjectId LiveFromName(const sds_name name);

void ToSetName(SelectionSetId id, sds_name name);
// The members of a set named by an sds_name of the current drawing, or null.
std::vector<ObjectId>* FindSet(const sds_name name);
SelectionSetId NewSet(std::vector<ObjectId> members);

// Records the reason of a refusal and returns RTERROR.
int Refuse(std::string reason);

// Converts a list to groups: DXF codes only (RTDXF0 is group 0), names of the current drawing.
bool ListToGroups(const resbuf* list, GroupList& groups, std::string& error);
// A freshly allocated list of the groups (entity names as names of the current drawing).
resbuf* GroupsToList(const GroupList& groups);

}  // namespace host
