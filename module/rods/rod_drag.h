// How a dragged bar group follows the cursor, without the host: the translation shown for a
// cursor position (orthogonal mode locks it to one axis), and which point the drag ends on.
#pragma once

#include "module/rods/rod_geometry.h"

namespace rods {

// What one drag remembers between cursor positions.
struct DragState {
    Point base;
    Point previewed;        // where the base point was last shown
    bool vertical = false;  // the orthogonal lock; a drag starts locked horizontally
    double offsetX = 0.0;   // cursor minus shown position at the first cursor position
    double offsetY = 0.0;
    bool offsetXTaken = false;
    bool offsetYTaken = false;
};

// A fresh drag from `base`.
DragState StartDrag(const Point& base);

// The translation (z always 0) that shows the group with its base point under `cursor`;
// `shown` is the translation the host shows before this position. In orthogonal mode the
// lock turns vertical when the cursor comes within 2 % of `viewSize` of the base point's X,
// and horizontal again within 2 % of its Y. Records the previewed point.
Point DragTranslation(DragState& state, const Point& cursor, const Point& shown, bool ortho,
                      double viewSize);

// Whether the point the host returned stands for itself (typed, or away from the last
// preview along the locked axis); otherwise the previewed point is the drag's target.
bool ReturnedPointIsTarget(const DragState& state, const Point& returned, bool ortho);

}  // namespace rods
