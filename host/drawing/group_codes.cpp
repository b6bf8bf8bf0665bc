// The group-code table: ranges from the DXF reference, searched in order.
#include "host/drawing/group_codes.h"

namespace host {
namespace {

struct Range {
    int first;
    int last;
    ValueKind kind;
};

// Handles come before the text ranges that enclose them (5 inside 0-9).
constexpr Range kRanges[] = {
    {-2, -1, ValueKind::EntityName},
    {5, 5, ValueKind::Handle},
    {105, 105, ValueKind::Handle},
    {0, 9, ValueKind::Text},
    {100, 102, ValueKind::Text},
    {300, 309, ValueKind::Text},
    {410, 419, ValueKind::Text},
    {1000, 1009, ValueKind::Text},
    {320, 329, ValueKind::Handle},
    {390, 399, ValueKind::Handle},
    {10, 17, ValueKind::Point},
    {210, 210, ValueKind::Point},
    {1010, 1013, ValueKind::Point},
    {38, 59, ValueKind::Real},
    {110, 149, ValueKind::Real},
    {211, 239, ValueKind::Real},
    {1014, 1059, ValueKind::Real},
    {60, 79, ValueKind::Int16},
    {170, 179, ValueKind::Int16},
    {270, 289, ValueKind::Int16},
    {290, 299, ValueKind::Int16},
    {1060, 1070, ValueKind::Int16},
    {90, 99, ValueKind::Int32},
    {1071, 1071, ValueKind::Int32},
    {330, 369, ValueKind::EntityName},
    // Further DXF ranges that drawings of other programs carry on common entities.
    {310, 319, ValueKind::Binary},
    {370, 389, ValueKind::Int16},
    {400, 409, ValueKind::Int16},
    {420, 429, ValueKind::Int32},
    {430, 439, ValueKind::Text},
    {440, 459, ValueKind::Int32},
    {460, 469, ValueKind::Real},
    {470, 479, ValueKind::Text},
    {480, 481, ValueKind::Handle},
    {999, 999, ValueKind::Text},
    // 64-bit integers do not fit a result buffer's integers: they are kept as their digits.
    {160, 169, ValueKind::Binary},
};

constexpr GroupKindTable MakeKindTable() {
    GroupKindTable table{};
    for (int code = kLowestGroup; code <= kHighestGroup; ++code) {
        for (const Range& range : kRanges) {
            if (code >= range.first && code <= range.last) {
                table.kinds[code - kLowestGroup] = range.kind;
                break;
            }
        }
    }
    return table;
}

}  // namespace

// Constant-initialised: ready before any other object of the program is made.
constinit const GroupKindTable kGroupKinds = MakeKindTable();

const char* KindName(ValueKind kind) {
    switch (kind) {
        case ValueKind::Text:
            return "text";
        case ValueKind::Handle:
            return "handle";
        case ValueKind::Point:
            return "point";
        case ValueKind::Real:
            return "real";
        case ValueKind::Int16:
            return "16-bit integer";
        case ValueKind::Int32:
            return "32-bit integer";
        case ValueKind::EntityName:
            return "entity name";
        case ValueKind::Binary:
            return "binary chunk";
        case ValueKind::Invalid:
            break;
    }
    return "invalid";
}

}  // namespace host
