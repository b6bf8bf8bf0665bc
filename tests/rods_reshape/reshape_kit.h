// What the reshaping scenarios through EDPR's options share: short readers of the bars and
// texts that come out.
#pragma once

#include <string>
#include <vector>

#include "tests/rods_dims/dims_kit.h"

namespace reshape_kit {

using namespace dims_kit;

// "x,y x,y ..." of a vertex list, with bulges as "(b)" after the vertex that carries one.
inline std::string Shape(const std::vector<CSDSPointExt>& vertices) {
    std::string out;
    char buffer[96];
    for (const CSDSPointExt& v : vertices) {
        std::snprintf(buffer, sizeof buffer, "%s%g,%g", out.empty() ? "" : " ",
                      std::round(v.x * 1000.0) / 1000.0, std::round(v.y * 1000.0) / 1000.0);
        out += buffer;
        if (std::fabs(v.bulge) >= 1e-9) {
            std::snprintf(buffer, sizeof buffer, "(%.4f)", v.bulge);
            out += buffer;
        }
    }
    return out;
}

// Texts carrying one of the tags, "tag:text" in drawing order.
inline std::vector<std::string> TextsOf(const std::vector<std::string>& tags) {
    std::vector<std::string> out;
    for (const Piece& p : Tagged(tags)) {
        if (p.type == "TEXT") {
            out.push_back(p.link.type + ":" + p.text);
        }
    }
    return out;
}

// Owners named by the pieces with the tags, in drawing order.
inline std::vector<std::string> OwnersOf(const std::vector<std::string>& tags) {
    std::vector<std::string> out;
    for (const Piece& p : Tagged(tags)) {
        out.push_back(p.link.owner);
    }
    return out;
}

}  // namespace reshape_kit
