// Angles that drawing files give in degrees while the drawing keeps them in radians, as the
// sds_* calls hand them to applications: converted at the file's boundary and nowhere else.
#pragma once

#include <string>
#include <string_view>

namespace host {

// Whether group `code` of an object of type `type` is such an angle: the rotation and
// oblique angle of texts and attributes, the end angles of arcs, a text style's oblique
// angle. Other kinds keep their groups exactly as the file gives them.
bool DegreesInFile(std::string_view type, int code);

double RadiansFromFile(double degrees);

// The angle as the file writes it, in degrees: the shortest decimal that reads back to the
// same radians, so that an angle read from a file is written back as it was read.
std::string DegreesForFile(double radians);

}  // namespace host
