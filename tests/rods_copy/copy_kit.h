// What the scenarios of copying, moving, ejecting and deleting bars through EDPR share: five
// bars with their texts to work on, and readers of where a bar's pieces lie.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "tests/rods_dims/dims_kit.h"

namespace copy_kit {

using namespace dims_kit;

inline const std::vector<std::string> kPanel = {"PANEL letter 5", "PANEL letterdim 4",
                                                "PANEL spacing 15", "PANEL count 1"};

// Bars 1..n (200 long at y = 0, 100, ...); each bar of `described` gets its description
// beside it, of `dimensioned` its dimension text, of `leadered` a full leader.
inline std::vector<std::string> Bars(int n, const std::vector<int>& described = {},
                                     const std::vector<int>& dimensioned = {},
                                     const std::vector<int>& leadered = {}) {
    std::vector<std::string> lines = DrawBars(n);
    lines.insert(lines.end(), kPanel.begin(), kPanel.end());
    auto y = [](int number) { return std::to_string(100 * (number - 1)); };
    for (int b : described) {
        lines.insert(lines.end(), {"EDPR", "Opis", "", "10," + y(b), "^C", "^C"});
    }
    for (int b : dimensioned) {
        lines.insert(lines.end(), {"EDPR", kDimsOption, "10," + y(b), "^C"});
    }
    for (int b : leadered) {
        const int top = 100 * (b - 1) + 40;
        lines.insert(lines.end(),
                     {"EDPR", "Opis", "N", "10," + y(b), "180," + y(b),
                      "190," + std::to_string(top), "260," + std::to_string(top), "^C", "^C"});
    }
    return lines;
}

// Where the point groups (10 to 18) of an entity lie, in list order.
inline std::vector<std::array<double, 3>> PointsOf(const std::string& handle) {
    std::vector<std::array<double, 3>> points;
    sds_name entity;
    if (sds_handent(handle.c_str(), entity) != RTNORM) {
        return points;
    }
    rblist::Owned list(sds_entget(entity));
    for (const resbuf* node = list.get(); node != nullptr; node = node->rbnext) {
        if (node->restype >= 10 && node->restype <= 18) {
            points.push_back(
                {node->resval.rpoint[0], node->resval.rpoint[1], node->resval.rpoint[2]});
        }
    }
    return points;
}

// Every live entity's points, by handle.
inline std::map<std::string, std::vector<std::array<double, 3>>> AllPoints() {
    std::map<std::string, std::vector<std::array<double, 3>>> all;
    for (const std::string& handle : testkit::LiveHandles()) {
        all[handle] = PointsOf(handle);
    }
    return all;
}

// Handles of the live entities whose link names `owner`, in the order of making.
inline std::vector<std::string> OwnedBy(const std::string& owner,
                                        const std::vector<std::string>& tags) {
    std::vector<std::string> handles;
    for (const Piece& p : Tagged(tags)) {
        if (p.link.owner == owner) {
            handles.push_back(p.handle);
        }
    }
    return handles;
}

inline const std::vector<std::string> kAllLinkTags = {"Opis",       "Opis-Nr",    "Wymiary",
                                                      "OpisOdn",    "OpisOdn-Nr", "OpisOdn-Dl",
                                                      "OpisOdn-Fi", "OpisOdn-LP"};

// The text of the bar's description number, "" when it has none.
inline std::string NumberTextOf(const std::string& owner, const char* tag) {
    for (const Piece& p : Tagged({tag})) {
        if (p.link.owner == owner && p.type == "TEXT") {
            return p.text;
        }
    }
    return "";
}

}  // namespace copy_kit
