// What the host knows of each object type: where it belongs in the drawing, the subclass
// markers it is written with, and which groups it must have with which values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/drawing/database.h"

namespace host {

struct TypeRule {
    std::string_view name;  // upper case, as lists return it
    Category category;
    bool structural;  // made by the host and the drawing files only
    // Subclass markers inserted when the maker gave none: the first after the common entity
    // groups, the second right before the first group `secondBefore` (or at the end).
    const char* marker1;
    const char* marker2;
    int secondBefore;
};

// The rule of a type name (upper case), or null for a type the host does not know.
const TypeRule* FindTypeRule(std::string_view upperName);

// Group codes that belong to every entity and come before its subclass marker.
bool IsCommonEntityCode(int code);

// Counts of a body's groups by code, and the first value of the few codes the checks read:
// only codes below 100 are ever asked for. Filled group by group as a body is built, so that
// checking needs no second reading of it.
struct BodyTally {
    uint16_t count[100] = {};
    std::string_view first2;  // text of the first (2)
    double first40 = 0;       // value of the first (40)
    int32_t first90 = 0;      // value of the first (90)
    void Add(const Group& group);
    bool Has(int code) const { return count[code] > 0; }
};

// Checks the type's own groups (without the reactor prefix); false with the reason.
bool ValidateBody(const TypeRule& rule, const GroupList& body, std::string& error);
// The same with the body's tally made already.
bool ValidateBody(const TypeRule& rule, const GroupList& body, const BodyTally& tally,
                  std::string& error);

// An LWPOLYLINE body in the one order that readers of polyline lists rely on: the common
// entity groups, subclass markers, (90) (70) (43) (38) (39), per vertex (10) (40) (41) (42)
// and its (91) id when given, then (210), then anything else in the order given. Missing
// groups get their defaults; given values are kept. False with the reason for a list that
// cannot be put in order (a width, bulge or id before the first vertex, a group twice).
bool CanonicalPolyline(const GroupList& body, GroupList& out, std::string& error);

// Whether a body is in that order already, as files of this program and lists made through
// CanonicalPolyline are (checked without building anything).
bool IsCanonicalPolyline(const GroupList& body);

// The body with the rule's subclass markers put in, unless it holds a (100) group already.
GroupList WithSubclassMarkers(const TypeRule& rule, GroupList body);

// Equality without regard to ASCII case, as CAD compares table and dictionary names.
bool EqualNoCase(std::string_view a, std::string_view b);

// ASCII upper case; other bytes (UTF-8 letters) are kept as they are.
std::string UpperAscii(std::string_view text);

}  // namespace host
