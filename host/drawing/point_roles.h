// Which point groups of an entity are positions (that a move carries along) and which are
// directions, sizes or scales (that a move leaves alone), for every type a drawing may hold.
#pragma once

#include <string_view>

#include "host/drawing/group_list.h"

namespace host {

enum class PointRole : unsigned char {
    Position,   // moves with the entity
    Direction,  // a vector, size or scale: stays
    Elevation,  // only its z is a position (HATCH and POLYLINE elevation points)
    Other,      // not a point, or a real that is no coordinate
    RealX,      // a real that is the x, y or z of a position (MULTILEADER plane origin)
    RealY,
    RealZ,
};

// Walks an entity's body group by group; Next gives the role of each group in turn.
class PointRoles {
  public:
    explicit PointRoles(std::string_view type);
    PointRole Next(const Group& group);

  private:
    enum class Kind : unsigned char { Plain, Hatch, Polyline, Multileader, Listed };
    Kind kind_ = Kind::Plain;
    const int* directions_ = nullptr;  // Listed: codes that are directions, 0-terminated
    bool firstPoint_ = true;
    bool polylinePath_ = false;
    int edge_ = 0;
    int contextDepth_ = 0;
};

}  // namespace host
