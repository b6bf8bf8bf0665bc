// The standard line types' table entries.
#include "host/drawing/standard_linetypes.h"

#include <cmath>

#include "host/drawing/object_rules.h"

namespace host {

const StandardLinetype* FindStandardLinetype(std::string_view name) {
    for (const StandardLinetype& linetype : kStandardLinetypes) {
        if (EqualNoCase(linetype.name, name))
            return &linetype;
    }
    return nullptr;
}

GroupList LinetypeEntryBody(const StandardLinetype& linetype) {
    double length = 0;
    for (int i = 0; i < linetype.elements; ++i)
        length += std::fabs(linetype.pattern[i]);
    GroupList body;
    body.AddInt(70, 0);
    body.AddText(3, linetype.description);
    body.AddInt(72, 65);
    body.AddInt(73, linetype.elements);
    body.AddReal(40, length);
    for (int i = 0; i < linetype.elements; ++i) {
        body.AddReal(49, linetype.pattern[i]);
        body.AddInt(74, 0);
    }
    return body;
}

}  // namespace host
