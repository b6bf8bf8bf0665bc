// Hit-testing of a picked point against the drawing, shared by the pick prompts and the
// command line's SELECT and LIST.
#pragma once

#include <vector>

#include "host/drawing/group_list.h"
#include "host/sds.h"

namespace host {

// The live entity whose geometry lies nearest to the point within the pick aperture
// (VIEWSIZE * PICKBOX / 500); ties go to the entity made last. False when none is near.
// A point inside a solid fill lies on it.
bool PickEntityAt(const sds_point point, sds_name entity);
// Every live entity whose geometry lies within the pick aperture of the point, nearest first
// (ties: the entity made last first), so that a prompt can take the nearest it accepts.
std::vector<ObjectId> EntitiesAt(const sds_point point);

// The snap modes of a mode text like "END, mid" as a mask; false when a word is not a snap mode.
bool ParseSnapModes(const char* text, unsigned& modes);
// The point snapped for the modes of ParseSnapModes among the entities within the aperture;
// false when nothing snaps.
bool SnapPoint(const sds_point point, unsigned modes, sds_point result);

}  // namespace host
