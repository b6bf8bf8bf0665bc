// Replacing an ordinary polyline by a bar: its vertices are taken as if they had been picked
// in the insert command, and the bar is finished with the panel's current parameters.
#include <cstdio>
#include <string>
#include <vector>

#include "module/entities/pick.h"
#include "module/entities/sds_base.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_geometry.h"
#include "module/ui/toolbar_dlg.h"

namespace {

constexpr int kIdPickPolyline = 162;
constexpr int kIdNotPolyline = 1004;
// A host that keeps giving answers that fit nothing must not hold the prompt for ever.
constexpr int kMaxRepeatedAnswers = 1000;

bool IsClosed(const sds_name entity) {
    resbuf* list = sds_entget(entity);
    bool closed = false;
    for (const resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
        if (rb->restype == 70) {
            closed = (rb->resval.rint & 1) != 0;
            break;
        }
    }
    sds_relrb(list);
    return closed;
}

}  // namespace

void CObslugaPreta::ReplacePolyline() {
    const bool smooth = panel != nullptr && panel->IsSmoothSelected();
    const double bend = BendDiameter();
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string barTag = LoadUiString(rods::kIdBarTag);
    char prompt[512];
    std::snprintf(prompt, sizeof prompt, "%s", LoadUiString(kIdPickPolyline).c_str());
    sds_name picked = {0, 0};
    bool found = false;
    for (int i = 0; i < kMaxRepeatedAnswers && !found; ++i) {
        sds_point at = {0, 0, 0};
        const int result = PickAccepted(
            prompt,
            [&](sds_name entity) {
                // A bar replaced by a new one would leave its texts naming a bar that is gone.
                return EntityTypeName(entity) == "LWPOLYLINE" && !IsBar(entity, key, barTag);
            },
            LoadUiString(kIdNotPolyline), picked, at);
        if (result == RTCAN || result == RTERROR) {
            return;
        }
        found = result == RTNORM;
    }
    if (!found) {
        return;
    }
    vertices.clear();
    temporaries.clear();
    std::vector<CSDSPointExt> read;
    CSDSPolyLine::GetVertices(picked, read);
    if (read.empty()) {
        return;
    }
    if (IsClosed(picked) && read.size() >= 2) {
        // The closing segment is part of the shape: the bar, always open, repeats the start.
        CSDSPointExt closing = read.front();
        closing.bulge = 0.0;
        read.push_back(closing);
    }
    UndoGroup undo;
    for (const CSDSPointExt& v : read) {
        // A repeated vertex would make a segment of no length, with no direction of its own.
        if (!vertices.empty() && rods::SamePoint2d(rods::At(vertices.back()), rods::At(v))) {
            continue;
        }
        vertices.push_back(v);
        if (vertices.size() >= 2) {
            sds_point from;
            sds_point to;
            vertices[vertices.size() - 2].GetPoint(from);
            vertices.back().GetPoint(to);
            if (line.Create(from, to, "0", rods::kContinuous, rods::kByLayer, 1.0) == RTNORM) {
                sds_name made = {0, 0};
                if (sds_entlast(made) == RTNORM) {
                    temporaries.push_back(static_cast<std::uint32_t>(made[0]));
                    temporaries.push_back(static_cast<std::uint32_t>(made[1]));
                }
            }
        }
    }
    const int hooks = smooth ? ChooseHookSides() : rods::kNoHooks;
    const int barsBefore = BarCount();
    FinishBar(bend, smooth, hooks);
    sds_name made = {0, 0};
    const bool madeBar =
        BarCount() == barsBefore + 1 && sds_entlast(made) == RTNORM && IsBar(made, key, barTag);
    // The polyline goes only when a bar has taken its place.
    if (madeBar) {
        sds_entdel(picked);
        sds_redraw(made, 1);
    }
    undo.Close();
    sds_sssetfirst(nullptr, nullptr);
    sds_redraw(nullptr, 4);
}
