// The plot's pieces of one entity of a kind drawn on its own (lines, polylines, circles, arcs,
// ellipses, splines, hatches, texts, MTEXT, points, solids), in the entity's own plane.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/drawing/group_list.h"
#include "host/files/svg_geometry.h"

namespace host::svg {

struct Shape {
    std::vector<Item> items;
    // The entity's plane on the drawing: what carries its items into drawing coordinates.
    Affine plane;
};

// The shape of an entity of type `type` with body `body`; `followers` are the bodies of the
// VERTEX entities that follow a POLYLINE. False for a kind not drawn this way (and for a body
// that lacks what its kind needs). Items come without colour.
bool ShapeOf(std::string_view type, const GroupList& body,
             const std::vector<const GroupList*>& followers, Shape& out);

// A text as shown: "%%c", "%%d", "%%p" as the diameter, degree and plus-minus signs, "%%%"
// as "%", and "%%u" and "%%o" switching under- and overlining, which split the text into runs.
std::vector<TextRun> ShownRuns(std::string_view text);

}  // namespace host::svg
