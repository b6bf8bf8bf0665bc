// What the reshaping scenarios share: test-only commands that run each option of the edit
// command on a bar picked at a point, as the edit command's bar selection will hand it over,
// and short readers of the bars and texts that come out.
#pragma once

#include <string>
#include <vector>

#include "tests/rods_dims/dims_kit.h"

namespace reshape_kit {

using namespace dims_kit;

// TDIV (divide), TDIA (diameter and steel): one bar picked with the option's prompt, then the
// operation. TLEN: the length sub-prompt. TREP: the polyline prompt.
inline std::string RunReshape(const std::vector<std::string>& lines, bool fresh = true) {
    host::RegisterVerb("TDIV", [](const std::vector<std::string>&) {
        CObslugaPreta rod(ModulePanel());
        sds_name bar = {0, 0};
        if (PickForTest(LoadUiString(57), false, bar)) {
            rod.DivideRod(bar);
        }
        return true;
    });
    host::RegisterVerb("TDIA", [](const std::vector<std::string>&) {
        CObslugaPreta rod(ModulePanel());
        sds_name bar = {0, 0};
        if (PickForTest(LoadUiString(68), false, bar)) {
            rod.ChangeDiameterSteel(bar);
        }
        return true;
    });
    host::RegisterVerb("TLEN", [](const std::vector<std::string>&) {
        CObslugaPreta rod(ModulePanel());
        rod.EditRodLength();
        return true;
    });
    host::RegisterVerb("TREP", [](const std::vector<std::string>&) {
        CObslugaPreta rod(ModulePanel());
        rod.ReplacePolyline();
        return true;
    });
    return RunDims(lines, fresh);
}

inline std::vector<Bar> Bars() {
    return RodBars();
}

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
