// The one table of DXF group-code ranges and the kind of value each carries; result-buffer
// building, list validation, the drawing's compact storage and the drawing files all use it.
#pragma once

namespace host {

enum class ValueKind : unsigned char {
    Invalid,     // not a group code the host keeps
    Text,        // UTF-8 text
    Handle,      // a handle written as hexadecimal text
    Point,       // three doubles
    Real,        // one double
    Int16,       // 16-bit signed integer
    Int32,       // 32-bit signed integer
    EntityName,  // a reference to another object of the same drawing
    Binary,      // a chunk of bytes (proxy graphics and the like)
};

// The kind of every code from kLowestGroup to kHighestGroup, laid out from the ranges once:
// every group of every object is decoded through it.
constexpr int kLowestGroup = -2;
constexpr int kHighestGroup = 1071;
struct GroupKindTable {
    ValueKind kinds[kHighestGroup - kLowestGroup + 1];
};
extern const GroupKindTable kGroupKinds;

// The kind of value of a group code; Invalid for codes outside every range.
inline ValueKind KindOfGroup(int code) {
    if (code < kLowestGroup || code > kHighestGroup)
        return ValueKind::Invalid;
    return kGroupKinds.kinds[code - kLowestGroup];
}

// The name of a kind for messages ("text", "point", ...).
const char* KindName(ValueKind kind);

}  // namespace host
