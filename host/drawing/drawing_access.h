// What the rest of the host (command line, files, tests) may ask of the drawing core beyond
// the sds_* functions: the reason of the last refusal, highlight state, recorded menus and
// the undo groups' depth, what changed since a version of the drawing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/drawing/group_list.h"
#include "host/sds.h"

namespace host {

// Why the last refused sds_* call was refused ("" when none was).
const std::string& LastError();
// Whether sds_redraw left the entity highlighted.
bool IsHighlighted(const sds_name entity);
// The partial menus "_menuload" was asked to load, in order.
const std::vector<std::string>& LoadedMenus();
// How many "_UNDO _BEGIN" groups are open.
int OpenUndoGroups();
// The point snapped by the running object snaps (OSMODE), for the input functions; false
// when no running snap is on, they are suspended (bit 16384) or nothing snaps.
bool SnapWithRunningModes(const sds_point point, sds_point result);
// Makes the standard line type of that name (DASHED, CENTER, HIDDEN; CONTINUOUS is always
// there) in the current drawing when it has no line type so named; false for another name.
bool EnsureStandardLinetype(const std::string& name);

// What changed in the current drawing since a version a viewer shows: the drawing (its serial)
// and version now, and the objects changed after that version, each once, in the order of
// their last change. `changed` is empty (nullopt) when the viewer must take the whole drawing:
// the drawing was replaced since, or its change log no longer reaches back that far.
struct DrawingChanges {
    long drawing = 0;
    uint64_t version = 0;
    std::optional<std::vector<ObjectId>> changed;
};
DrawingChanges ChangesSince(long drawing, uint64_t version);

}  // namespace host
