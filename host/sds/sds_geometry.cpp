// Object snaps and the two measuring functions of the C interface.
#include <cmath>
#include <numbers>
#include <string>

#include "host/drawing/picking.h"
#include "host/drawing/session.h"

using namespace host;

extern "C" {

int sds_osnap(const sds_point point, const char* mode, sds_point result) {
    if (point == nullptr || result == nullptr || mode == nullptr) {
        return Refuse("sds_osnap: no point or mode");
    }
    unsigned modes = 0;
    if (!ParseSnapModes(mode, modes))
        return Refuse("sds_osnap: unknown mode \"" + std::string(mode) + "\"");
    if (modes == 0) {
        // No snap asked for: the point as given.
        for (int i = 0; i < 3; ++i)
            result[i] = point[i];
        return RTNORM;
    }
    return SnapPoint(point, modes, result) ? RTNORM : Refuse("sds_osnap: nothing to snap to");
}

sds_real sds_angle(const sds_point from, const sds_point to) {
    if (from == nullptr || to == nullptr)
        return 0.0;
    double angle = std::atan2(to[1] - from[1], to[0] - from[0]);
    return angle < 0 ? angle + 2 * std::numbers::pi : angle;
}

sds_real sds_distance(const sds_point from, const sds_point to) {
    if (from == nullptr || to == nullptr)
        return 0.0;
    return std::sqrt((to[0] - from[0]) * (to[0] - from[0]) + (to[1] - from[1]) * (to[1] - from[1]) +
                     (to[2] - from[2]) * (to[2] - from[2]));
}

}  // extern "C"
