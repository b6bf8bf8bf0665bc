// The links of a drawing just read that only the whole file gives: extension dictionaries
// joined to their objects, dictionary entries to their owners, references to objects that
// never came dropped; whatever was damaged is mended and told.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/drawing/database.h"

namespace host {

// `xdicts`: each object and the handle its {ACAD_XDICTIONARY names; `reserved`: handles
// referred to before their objects were read. Findings go to `report`, one line each.
void MendLinks(Database& db, const std::vector<std::pair<ObjectId, Handle>>& xdicts,
               const std::vector<Handle>& reserved, std::vector<std::string>& report);

}  // namespace host
