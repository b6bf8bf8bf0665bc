// Turning and mirroring entities in the drawing's plane (ROTATE, MIRROR): which groups of each
// kind are positions, directions, angles and bulges, and how a text stays readable in a
// mirror image.
#pragma once

#include <string>
#include <string_view>

#include "host/drawing/group_list.h"

namespace host {

// A rotation or a reflection of the plane followed by a shift:
// (x, y) -> (xx x + xy y + dx, yx x + yy y + dy), the linear part orthogonal; z stays.
struct PlaneMotion {
    double xx = 1, xy = 0, yx = 0, yy = 1;
    double dx = 0, dy = 0;

    // Counter-clockwise by `degrees` about (cx, cy); quarter turns are exact.
    static PlaneMotion Rotation(double cx, double cy, double degrees);
    // The mirror image in the line through (ax, ay) and (bx, by), two distinct points.
    static PlaneMotion Mirror(double ax, double ay, double bx, double by);

    bool Reflects() const { return xx * yy - xy * yx < 0; }
    void Move(double& x, double& y) const;  // a position
    void Turn(double& x, double& y) const;  // a direction or an offset
    // Where a direction at `radians` points afterwards, in [0, 2 pi).
    double TurnRadians(double radians) const;
    // The same in degrees, in [0, 360); a result that rounding alone keeps from a whole
    // degree is that degree.
    double TurnDegrees(double degrees) const;
};

// The body of an entity of `type` (upper case) carried by the motion, its first `reactors`
// groups kept as they are. False, with the reason, for a kind that cannot be carried soundly
// (dimensions, multileaders, viewports, images, entities drawn in another plane, hatches with
// clockwise edges).
bool MovedBody(std::string_view type, const GroupList& body, int reactors,
               const PlaneMotion& motion, GroupList& out, std::string& error);

}  // namespace host
