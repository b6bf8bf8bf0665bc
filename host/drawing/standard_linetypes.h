// The line types a new drawing has besides CONTINUOUS, with the patterns CAD programs ship in
// their standard definitions: dash lengths in drawing units (scaled by LTSCALE when drawn),
// positive for a dash, negative for a gap.
#pragma once

#include <string_view>

#include "host/drawing/group_list.h"

namespace host {

struct StandardLinetype {
    const char* name;
    const char* description;
    double pattern[4];
    int elements;
};

inline constexpr StandardLinetype kStandardLinetypes[] = {
    {"DASHED", "Dashed __ __ __ __ __ __ __ __ __ __ __ __ __ _", {0.5, -0.25}, 2},
    {"CENTER", "Center ____ _ ____ _ ____ _ ____ _ ____ _ ____", {1.25, -0.25, 0.25, -0.25}, 4},
    {"HIDDEN", "Hidden __ __ __ __ __ __ __ __ __ __ __ __ __ __", {0.25, -0.125}, 2},
};

// The standard line type of that name (any case), or null.
const StandardLinetype* FindStandardLinetype(std::string_view name);

// The groups of its LTYPE entry after the name: flags, description, alignment, the number of
// elements, the pattern's length, then each element's length and kind.
GroupList LinetypeEntryBody(const StandardLinetype& linetype);

}  // namespace host
