// Hit-testing of a picked point and of selection windows against the drawing, shared by the
// pick prompts and the command line's object selection.
#pragma once

#include <array>
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

// The live model-space entities that a window with corners a and b takes, in the order they
// were made: those that lie wholly inside it, and with `crossing` those that cross its edge
// too. Block contents and followers are not taken themselves: a block reference is judged by
// what it shows of its block.
std::vector<std::array<long, 2>> EntitiesInWindow(const sds_point a, const sds_point b,
                                                  bool crossing);

// The snap modes of a mode text like "END, mid" as a mask; false when a word is not a snap mode.
bool ParseSnapModes(const char* text, unsigned& modes);
// The point snapped for the modes of ParseSnapModes among the entities within the aperture;
// false when nothing snaps.
bool SnapPoint(const sds_point point, unsigned modes, sds_point result);

}  // namespace host
