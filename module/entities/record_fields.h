// Record layouts as data: one table of (group, field) per kind serves both writing and
// reading, so that the two cannot drift apart.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "host/sds.h"

namespace record_fields {

struct PointField {
    double* xyz;
};
using Target = std::variant<std::string*, int*, double*, PointField>;

struct Field {
    short group;
    Target target;
};
using Layout = std::vector<Field>;

// An XRECORD list of the layout's groups, from the fields' values; null when the host
// refused a node. Whole numbers go into 16-bit groups as their low 16 bits.
resbuf* BuildXRecord(const Layout& layout);
// Fills the fields from a record's list: the k-th node whose group the layout uses fills the
// k-th field, converted to the field's type; fields past the last such node keep their value.
void FillFromList(const resbuf* entryList, const Layout& layout);

}  // namespace record_fields
