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

// The kind of value of a group code; Invalid for codes outside every range.
ValueKind KindOfGroup(int code);

// The name of a kind for messages ("text", "point", ...).
const char* KindName(ValueKind kind);

}  // namespace host
