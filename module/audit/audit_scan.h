// AUDIT's reading of the drawing through the host, for the checks of audit_checks.h.
#pragma once

#include <vector>

#include "module/audit/audit_checks.h"
#include "module/rods/obsluga_preta.h"

namespace audit {

// What the drawing holds of the module's data.
DrawingSeen Scan(CObslugaPreta& rod);
// The findings AUDIT would list on the current drawing.
std::vector<Finding> FindingsOfDrawing();

}  // namespace audit
