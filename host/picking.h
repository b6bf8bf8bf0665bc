// Hit-testing of a picked point against the drawing, shared by the pick prompts and the
// command line's SELECT and LIST.
#pragma once

#include "host/sds.h"

namespace host {

// The live entity whose geometry lies nearest to the point within the pick aperture
// (VIEWSIZE * PICKBOX / 500); ties go to the entity made last. False when none is near.
bool PickEntityAt(const sds_point point, sds_name entity);

}  // namespace host
