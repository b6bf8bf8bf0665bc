// Drag rules of bar groups: translation under the cursor, orthogonal lock, target choice.
#include "module/rods/rod_drag.h"

#include <cmath>

namespace rods {

DragState StartDrag(const Point& base) {
    DragState state;
    state.base = base;
    state.previewed = base;
    return state;
}

Point DragTranslation(DragState& state, const Point& cursor, const Point& shown, bool ortho,
                      double viewSize) {
    // The group does not jump when the drag starts with the cursor off the base point: the
    // cursor keeps the distance it had from the shown position at the first call.
    const Point at{state.base.x + shown.x, state.base.y + shown.y, state.base.z};
    if (!state.offsetXTaken) {
        state.offsetX = cursor.x - at.x;
        state.offsetXTaken = true;
    }
    if (!state.offsetYTaken) {
        state.offsetY = cursor.y - at.y;
        state.offsetYTaken = true;
    }
    Point wanted{cursor.x - state.offsetX, cursor.y - state.offsetY, state.base.z};
    if (ortho) {
        const double near = 0.02 * viewSize;
        if (std::fabs(wanted.x - state.base.x) < near) {
            state.vertical = true;
        }
        if (std::fabs(wanted.y - state.base.y) < near) {
            state.vertical = false;
        }
        if (state.vertical) {
            wanted.x = state.base.x;
        } else {
            wanted.y = state.base.y;
        }
    }
    state.previewed = wanted;
    return {wanted.x - state.base.x, wanted.y - state.base.y, 0.0};
}

bool ReturnedPointIsTarget(const DragState& state, const Point& returned, bool ortho) {
    double difference = 0.0;
    if (ortho) {
        difference = state.vertical ? std::fabs(returned.y - state.previewed.y)
                                    : std::fabs(returned.x - state.previewed.x);
    } else {
        const double dx = returned.x - state.previewed.x;
        const double dy = returned.y - state.previewed.y;
        const double dz = returned.z - state.previewed.z;
        difference = std::sqrt(dx * dx + dy * dy + dz * dz);
    }
    return difference >= kEqualTolerance;
}

}  // namespace rods
