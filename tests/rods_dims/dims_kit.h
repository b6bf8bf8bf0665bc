// What the scenarios of dimension texts and descriptions share: readers of the pieces that
// EDPR's options draw.
#pragma once

#include <string>
#include <vector>

#include "module/entities/resbuf_util.h"
#include "module/resources/strings.h"
#include "tests/scenarios_wpr/wpr_kit.h"

namespace dims_kit {

using namespace wpr_kit;

// EDPR's option that toggles a bar's dimension texts; Enter at the option prompt repeats it.
inline const char* const kDimsOption = "Teksty_wymiarów(wstaw/usuń)";

inline const std::vector<std::string> kLeaderTags = {"OpisOdn", "OpisOdn-Nr", "OpisOdn-Dl",
                                                     "OpisOdn-Fi", "OpisOdn-LP"};

// The lines of `a`, then of `b`, then of `c`.
inline std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b,
                                     const std::vector<std::string>& c = {}) {
    a.insert(a.end(), b.begin(), b.end());
    a.insert(a.end(), c.begin(), c.end());
    return a;
}

// The member handles of every group, group by group.
inline std::vector<std::vector<std::string>> GroupMembers() {
    std::vector<std::vector<std::string>> groups;
    sds_name all = {0, 0};
    if (CSDSGroup::AllGroups(all) != RTNORM) {
        return groups;
    }
    long length = 0;
    sds_sslength(all, &length);
    for (long i = 0; i < length; ++i) {
        sds_name group = {0, 0};
        sds_ssname(all, i, group);
        rblist::Owned list(sds_entget(group));
        std::vector<std::string> members;
        for (const resbuf* node = rblist::Find(list.get(), 340); node != nullptr;
             node = rblist::Find(node->rbnext, 340)) {
            members.push_back(EntityHandle(node->resval.rlname));
        }
        groups.push_back(members);
    }
    sds_ssfree(all);
    return groups;
}

// Colour of a layer of the drawing, -1 when there is no such layer.
inline int LayerColour(const char* name) {
    rblist::Owned layer(sds_tblsearch("LAYER", name, 0));
    const resbuf* colour = layer == nullptr ? nullptr : rblist::Find(layer.get(), 62);
    return colour == nullptr ? -1 : colour->resval.rint;
}

// Entities, records, named objects and the module's layers: what an undo must give back.
inline std::string SnapshotWithLayers() {
    return testkit::DumpDrawing() + "\n--\n" + testkit::DumpNamedObjects() + "\n--\n" +
           std::to_string(LayerColour("Wymiary prętów")) + " " +
           std::to_string(LayerColour("Opisy prętów"));
}

// Handle of the bar made index-th, 0 first.
inline std::string HandleOfBar(size_t index) {
    const std::vector<Bar> bars = RodBars();
    return index < bars.size() ? EntityHandle(bars[index].name) : std::string();
}

}  // namespace dims_kit
