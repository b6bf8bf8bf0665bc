// "Wybierz obiekty: " with windows: a pick takes the object under it; a pick on empty space,
// or W or C first, asks for the window's corners and takes what the window takes.
#include "host/console/object_selection.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "host/console/input_sources.h"
#include "host/console/prompts.h"
#include "host/drawing/picking.h"
#include "host/sds.h"

namespace host {
namespace {

constexpr const char* kSelectPrompt = "Wybierz obiekty: ";
constexpr const char* kFirstCorner = "Pierwszy narożnik: ";
constexpr const char* kOtherCorner = "Przeciwległy narożnik: ";
constexpr const char* kWindowKeywords = "W C Okno Przecięcie";

void Take(std::vector<ObjectName>& chosen, const long id[2]) {
    const ObjectName n{{id[0], id[1]}};
    if (std::find(chosen.begin(), chosen.end(), n) == chosen.end()) {
        chosen.push_back(n);
    }
}

}  // namespace

std::vector<ObjectName> PickFirstSelection() {
    std::vector<ObjectName> chosen;
    struct resbuf* grips = nullptr;
    struct resbuf* picks = nullptr;
    if (sds_ssgetfirst(&grips, &picks) == RTNORM && picks != nullptr && picks->restype == RTPICKS) {
        long length = 0;
        sds_sslength(picks->resval.rlname, &length);
        for (long i = 0; i < length; ++i) {
            ObjectName n{};
            if (sds_ssname(picks->resval.rlname, i, n.id) == RTNORM) {
                chosen.push_back(n);
            }
        }
    }
    sds_relrb(grips);
    sds_relrb(picks);
    return chosen;
}

bool PromptForObjects(std::vector<ObjectName>& chosen) {
    for (;;) {
        double first[3];
        sds_initget(0, kWindowKeywords);
        int rc = GetPickPoint(kSelectPrompt, nullptr, first);
        if (rc == RTNONE) {
            return true;
        }
        if (rc == RTCAN) {
            return false;
        }
        // Which window: asked for by its keyword, else told by the direction of the drag.
        int kind = 0;  // 'W', 'C', or 0 for the direction's
        if (rc == RTKWORD) {
            char keyword[512] = "";
            sds_getinput(keyword);
            kind = keyword[0] == 'W' || keyword[0] == 'O' ? 'W' : 'C';
            rc = GetPickPoint(kFirstCorner, nullptr, first);
            if (rc == RTCAN) {
                return false;
            }
            if (rc != RTNORM) {
                continue;
            }
        } else {
            sds_name hit;
            if (PickEntityAt(first, hit)) {
                Take(chosen, hit);
                continue;
            }
        }
        double second[3];
        rc = GetPickPoint(kOtherCorner, first, second);
        if (rc == RTCAN) {
            return false;
        }
        if (rc != RTNORM) {
            continue;
        }
        const bool crossing = kind == 'C' || (kind == 0 && second[0] < first[0]);
        const auto taken = EntitiesInWindow(first, second, crossing);
        for (const auto& id : taken) {
            Take(chosen, id.data());
        }
        PrintLine("Znaleziono obiektów: " + std::to_string(taken.size()));
    }
}

bool SelectObjects(std::vector<ObjectName>& chosen) {
    chosen = PickFirstSelection();
    if (!chosen.empty()) {
        sds_sssetfirst(nullptr, nullptr);
        return true;
    }
    return PromptForObjects(chosen);
}

}  // namespace host
