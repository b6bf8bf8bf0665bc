// Formatting of result-buffer lists; the value kind of a group comes from its DXF code
// (or from the RT code of a plain value), never from guessing at the union's contents.
#include "host/console/entity_listing.h"

#include <cmath>
#include <cstdio>
#include <set>
#include <utility>
#include <vector>

namespace host {
namespace {

enum class Kind { Text, Handle, Point, Real, Int16, Int32, Name, Binary, Unknown };

bool In(int code, int low, int high) {
    return code >= low && code <= high;
}

Kind KindOf(int code) {
    switch (code) {
        case RTSTR:
        case RTDXF0:
            return Kind::Text;
        case RTREAL:
        case RTANG:
        case RTORINT:
            return Kind::Real;
        case RTPOINT:
        case RT3DPOINT:
            return Kind::Point;
        case RTSHORT:
            return Kind::Int16;
        case RTLONG:
            return Kind::Int32;
        case RTENAME:
        case RTPICKS:
            return Kind::Name;
        default:
            break;
    }
    if (code == -1 || code == -2 || In(code, 330, 369)) {
        return Kind::Name;
    }
    if (code == 5 || code == 105 || In(code, 320, 329) || In(code, 390, 399)) {
        return Kind::Handle;
    }
    if (In(code, 310, 319) || code == 1004) {
        return Kind::Binary;
    }
    if (In(code, 0, 9) || In(code, 100, 102) || In(code, 300, 309) || In(code, 410, 419) ||
        In(code, 1000, 1009)) {
        return Kind::Text;
    }
    if (In(code, 10, 17) || code == 210 || In(code, 1010, 1013)) {
        return Kind::Point;
    }
    if (In(code, 38, 59) || In(code, 110, 149) || In(code, 1040, 1042)) {
        return Kind::Real;
    }
    if (In(code, 60, 79) || In(code, 170, 179) || In(code, 270, 299) || In(code, 1060, 1070)) {
        return Kind::Int16;
    }
    if (In(code, 90, 99) || code == 1071) {
        return Kind::Int32;
    }
    return Kind::Unknown;
}

std::string Quoted(const char* text) {
    std::string out = "\"";
    for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
        if (*p == '"' || *p == '\\') {
            out += '\\';
        }
        out += *p;
    }
    return out + "\"";
}

void FormatTreeInto(const sds_name object, const std::string& indent, std::set<std::string>& seen,
                    std::string& out) {
    struct resbuf* list = sds_entget(object);
    if (list == nullptr) {
        out += indent + "nil\n";
        return;
    }
    std::vector<std::pair<long, long>> owned;
    for (const struct resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
        out += indent + FormatGroup(rb) + "\n";
        if (rb->restype == 360 || rb->restype == 350) {
            owned.emplace_back(rb->resval.rlname[0], rb->resval.rlname[1]);
        }
    }
    sds_relrb(list);
    for (const auto& [a, b] : owned) {
        sds_name child = {a, b};
        std::string handle = HandleOf(child);
        // Each object once: dictionaries may point at each other.
        if (handle.empty() || !seen.insert(handle).second) {
            continue;
        }
        FormatTreeInto(child, indent + "  ", seen, out);
    }
}

}  // namespace

std::string FormatObjectTree(const sds_name object) {
    std::set<std::string> seen;
    seen.insert(HandleOf(object));
    std::string out;
    FormatTreeInto(object, "", seen, out);
    return out;
}

std::string FormatReal(double value) {
    if (!std::isfinite(value)) {
        return value != value ? "nan" : value > 0 ? "inf" : "-inf";
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", value);
    std::string text = buffer;
    while (text.size() > 1 && text.back() == '0' && text[text.size() - 2] != '.') {
        text.pop_back();
    }
    return text == "-0.0" ? "0.0" : text;
}

std::string HandleOf(const sds_name name) {
    struct resbuf* list = sds_entget(name);
    std::string handle;
    for (const struct resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
        if (rb->restype == 5 && rb->resval.rstring != nullptr) {
            handle = rb->resval.rstring;
            break;
        }
    }
    sds_relrb(list);
    return handle;
}

std::string FormatGroup(const struct resbuf* group) {
    if (group == nullptr) {
        return "nil";
    }
    int code = group->restype;
    const union resval& v = group->resval;
    std::string head = "(" + std::to_string(code);
    switch (KindOf(code)) {
        case Kind::Text:
        case Kind::Handle:
            return head + " . " + Quoted(v.rstring) + ")";
        case Kind::Point:
            return head + " " + FormatReal(v.rpoint[0]) + " " + FormatReal(v.rpoint[1]) + " " +
                   FormatReal(v.rpoint[2]) + ")";
        case Kind::Real:
            return head + " . " + FormatReal(v.rreal) + ")";
        case Kind::Int16:
            return head + " . " + std::to_string(v.rint) + ")";
        case Kind::Int32:
            return head + " . " + std::to_string(v.rlong) + ")";
        case Kind::Name: {
            if (code == RTPICKS) {
                return head + " . <Selection set>)";
            }
            std::string handle = HandleOf(v.rlname);
            return head + " . <Entity name: " + (handle.empty() ? "-" : handle) + ">)";
        }
        case Kind::Binary: {
            std::string hex;
            char byte[4];
            for (short i = 0; v.rbinary.buf != nullptr && i < v.rbinary.clen; ++i) {
                std::snprintf(byte, sizeof byte, "%02X",
                              static_cast<unsigned char>(v.rbinary.buf[i]));
                hex += byte;
            }
            return head + " . <" + hex + ">)";
        }
        case Kind::Unknown:
            break;
    }
    return head + " . ?)";
}

std::string FormatList(const struct resbuf* list) {
    std::string out;
    for (const struct resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
        out += FormatGroup(rb);
        out += '\n';
    }
    return out;
}

}  // namespace host
