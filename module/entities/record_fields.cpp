// Writing and reading record fields through their layout tables.
#include "module/entities/record_fields.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <set>

#include "module/entities/resbuf_util.h"

namespace record_fields {

namespace {

enum class Kind { Text, Short, Real, Point, Other };

// The value kind of a node by its group code, for the groups records use.
Kind KindOf(int group) {
    if ((group >= 0 && group <= 9) || (group >= 300 && group <= 309)) {
        return Kind::Text;
    }
    if (group >= 10 && group <= 17) {
        return Kind::Point;
    }
    if (group >= 60 && group <= 79) {
        return Kind::Short;
    }
    if ((group >= 38 && group <= 59) || (group >= 110 && group <= 149)) {
        return Kind::Real;
    }
    return Kind::Other;
}

int ToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

int ParseInt(const std::string& text) {
    return ToInt(std::strtod(text.c_str(), nullptr));
}

std::string FormatReal(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

// A node whose value kind differs from the field's type still fills it where a conversion
// makes sense (number <-> text, whole <-> real); a point and a scalar do not convert, and
// the field then keeps its value.
void Fill(const resbuf* node, const Target& target) {
    const Kind kind = KindOf(node->restype);
    const resval& value = node->resval;
    if (auto* text = std::get_if<std::string*>(&target)) {
        if (kind == Kind::Text) {
            **text = rblist::Text(node);
        } else if (kind == Kind::Short) {
            **text = std::to_string(value.rint);
        } else if (kind == Kind::Real) {
            **text = FormatReal(value.rreal);
        }
    } else if (auto* whole = std::get_if<int*>(&target)) {
        if (kind == Kind::Short) {
            **whole = value.rint;
        } else if (kind == Kind::Real) {
            **whole = ToInt(value.rreal);
        } else if (kind == Kind::Text) {
            **whole = ParseInt(rblist::Text(node));
        }
    } else if (auto* real = std::get_if<double*>(&target)) {
        if (kind == Kind::Real) {
            **real = value.rreal;
        } else if (kind == Kind::Short) {
            **real = value.rint;
        } else if (kind == Kind::Text) {
            **real = std::strtod(rblist::Text(node).c_str(), nullptr);
        }
    } else if (auto* point = std::get_if<PointField>(&target)) {
        if (kind == Kind::Point) {
            rblist::CopyPoint(value.rpoint, point->xyz);
        }
    }
}

// Sets a fresh node of the field's group from the field.
bool Store(resbuf* node, const Field& field) {
    if (auto* text = std::get_if<std::string*>(&field.target)) {
        return rblist::SetText(node, **text);
    }
    if (auto* whole = std::get_if<int*>(&field.target)) {
        // The 16-bit group keeps the low 16 bits; the conversion wraps, as C++20 defines.
        node->resval.rint = static_cast<short>(**whole);
    } else if (auto* real = std::get_if<double*>(&field.target)) {
        node->resval.rreal = **real;
    } else if (auto* point = std::get_if<PointField>(&field.target)) {
        rblist::CopyPoint(point->xyz, node->resval.rpoint);
    }
    return true;
}

}  // namespace

resbuf* BuildXRecord(const Layout& layout) {
    resbuf* head = sds_buildlist(RTDXF0, "XRECORD", 100, "AcDbXrecord", RTNONE);
    if (head == nullptr) {
        return nullptr;
    }
    resbuf* tail = rblist::Last(head);
    for (const Field& field : layout) {
        resbuf* node = nullptr;
        if (std::holds_alternative<std::string*>(field.target)) {
            // Texts come from the host's own allocation, so that sds_relrb frees them.
            node =
                sds_buildlist(field.group, std::get<std::string*>(field.target)->c_str(), RTNONE);
            if (node != nullptr) {
                node->rbnext = nullptr;
                tail->rbnext = node;
            }
        } else {
            node = rblist::Append(tail, field.group);
            if (node != nullptr) {
                Store(node, field);
            }
        }
        if (node == nullptr) {
            sds_relrb(head);
            return nullptr;
        }
        tail = node;
    }
    return head;
}

void FillFromList(const resbuf* entryList, const Layout& layout) {
    std::set<int> admitted;
    for (const Field& field : layout) {
        admitted.insert(field.group);
    }
    std::size_t next = 0;
    for (const resbuf* node = entryList; node != nullptr && next < layout.size();
         node = node->rbnext) {
        if (node->restype < 0 || admitted.count(node->restype) == 0) {
            continue;
        }
        Fill(node, layout[next].target);
        ++next;
    }
}

}  // namespace record_fields
