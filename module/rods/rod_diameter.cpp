// Changing a bar's diameter and steel: the rounding that was made for the old bar is taken
// out, hooks are refitted (or dropped for ribbed steel, or asked for smooth steel), and the
// bar with the bars of its number is drawn again with the panel's values.
#include <cmath>
#include <vector>

#include "module/model/steel.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_geometry.h"
#include "module/ui/toolbar_dlg.h"

namespace {

// Moves a hook's tip along its stroke so that the stroke gets `length`.
void RefitHook(CSDSPointExt& tip, const CSDSPointExt& base, double length) {
    const double a = std::atan2(base.y - tip.y, base.x - tip.x);
    tip.x = base.x - length * std::cos(a);
    tip.y = base.y - length * std::sin(a);
    tip.z = 0.0;
}

// Puts back the sharp corners of the arcs whose radius is `radius`: each such arc from P to Q
// gives way to the corner where its tangents at P and Q meet. Arcs of another radius were not
// made by rounding and stay, as does an arc of half a turn, whose tangents never meet.
void TakeOutRounding(std::vector<CSDSPointExt>& v, double radius) {
    size_t i = 0;
    while (i + 1 < v.size()) {
        const double b = v[i].bulge;
        const double c = std::hypot(v[i + 1].x - v[i].x, v[i + 1].y - v[i].y);
        const double r = c / 4.0 * (1.0 / std::fabs(b) + std::fabs(b));
        if (std::fabs(b) < rods::kEqualTolerance || c < rods::kEqualTolerance ||
            std::fabs(r - radius) >= rods::kEqualTolerance ||
            std::fabs(std::fabs(b) - 1.0) < rods::kEqualTolerance) {
            ++i;
            continue;
        }
        const double theta = 4.0 * std::atan(std::fabs(b));
        const double dx = (v[i + 1].x - v[i].x) / c;
        const double dy = (v[i + 1].y - v[i].y) / c;
        // The arc bulges to the right of P→Q when it turns counter-clockwise, and so does
        // the corner, at half the chord times tan(θ/2) from the chord's middle.
        const double side = b > 0.0 ? 1.0 : -1.0;
        const double reach = c / 2.0 * std::tan(theta / 2.0);
        CSDSPointExt corner = v[i];
        corner.x = (v[i].x + v[i + 1].x) / 2.0 + side * dy * reach;
        corner.y = (v[i].y + v[i + 1].y) / 2.0 - side * dx * reach;
        // The segment after the arc keeps its own shape.
        corner.bulge = v[i + 1].bulge;
        v[i] = corner;
        v.erase(v.begin() + static_cast<long>(i) + 1);
        ++i;
    }
}

// Rounding a corner where the bar runs straight on doubles its vertex; taking the rounding
// out takes the doubled vertex away too, so that no segment of no length is left.
void TakeOutDoubledVertices(std::vector<CSDSPointExt>& v) {
    for (size_t i = 0; i + 1 < v.size();) {
        if (rods::SamePoint2d(rods::At(v[i]), rods::At(v[i + 1])) && v.size() > 2) {
            v.erase(v.begin() + static_cast<long>(i));
        } else {
            ++i;
        }
    }
}

}  // namespace

int CObslugaPreta::RefitRodShape(const sds_name bar, std::vector<CSDSPointExt>& barVertices,
                                 double diameterMm, bool smooth) {
    LoadRodVertices(bar, barVertices);
    CRodXDataParameters record;
    xdata.ReadRodRecord(bar, LoadUiString(rods::kIdRecordKey), record);
    const double length = rods::HookLength(diameterMm);
    int hooks = record.hooks;
    const bool first = hooks == rods::kFirstHook || hooks == rods::kBothHooks;
    const bool last = hooks == rods::kSecondHook || hooks == rods::kBothHooks;
    const size_t needed = 2 + (first ? 1 : 0) + (last ? 1 : 0);
    if (hooks <= 0 || hooks > rods::kBothHooks || barVertices.size() < needed) {
        hooks = rods::kNoHooks;
    } else if (!smooth) {
        if (last) {
            barVertices.pop_back();
        }
        if (first) {
            barVertices.erase(barVertices.begin());
        }
        hooks = rods::kNoHooks;
    } else {
        if (first) {
            RefitHook(barVertices[0], barVertices[1], length);
        }
        if (last) {
            const size_t n = barVertices.size();
            RefitHook(barVertices[n - 1], barVertices[n - 2], length);
        }
    }
    if (record.rounded == 1) {
        const double oldRadius =
            rods::BendDiameter(record.diameter * 10.0, IsSmoothSteel(record.steel)) / 2.0;
        TakeOutRounding(barVertices, oldRadius);
        TakeOutDoubledVertices(barVertices);
    }
    return hooks;
}

void CObslugaPreta::ChangeDiameterSteel(const sds_name bar) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    if (panel == nullptr || !IsBar(bar, key, LoadUiString(rods::kIdBarTag))) {
        return;
    }
    HighlightRodGroup(bar);
    UndoGroup undo;
    CRodXDataParameters record;
    xdata.ReadRodRecord(bar, key, record);
    const bool smooth = panel->IsSmoothSelected();
    const double diameterMm = panel->GetDiameter();
    // The bars of the same number lie where the bar lay: offsets count from its old start.
    std::vector<CSDSPointExt> shape;
    sds_point origin = {0, 0, 0};
    if (LoadRodVertices(bar, shape) == 1) {
        shape.front().GetPoint(origin);
    }
    int hooks = RefitRodShape(bar, shape, diameterMm, smooth);
    vertices = shape;
    temporaries.clear();
    if (smooth && hooks == rods::kNoHooks) {
        hooks = ChooseHookSides();
        DeleteTemporaries();
    }
    const int rounded = panel->IsRoundedCorners();
    if (rounded == 1) {
        // Rounded with the bend of the new steel, so that a later change recognises the
        // arcs it made by their radius.
        RoundCorners(rods::BendDiameter(diameterMm, smooth), smooth, hooks);
    }
    CRodXDataParameters changed = record;
    changed.diameter = diameterMm / 10.0;
    changed.steel = panel->GetSteelIndex();
    changed.rounded = rounded;
    changed.hooks = hooks;
    // A copy: replacing bars loads their vertices into the member list.
    const std::vector<CSDSPointExt> result = vertices;
    ReshapeBarAndSameNumber(bar, result, origin, changed, [&](CRodXDataParameters& own) {
        own.diameter = changed.diameter;
        own.steel = changed.steel;
        own.rounded = changed.rounded;
        own.hooks = changed.hooks;
    });
    undo.Close();
    sds_sssetfirst(nullptr, nullptr);
    sds_redraw(nullptr, 4);
}
