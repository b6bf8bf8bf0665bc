// After a projection line has been dragged into place: the user may shift it by a typed
// distance and repeat it at the panel's spacing.
#include <cmath>
#include <string>

#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/ui/toolbar_dlg.h"
#include "module/views/section_layout.h"
#include "module/views/view_common.h"

using namespace views;

namespace {

constexpr double kEqual = 0.001;
constexpr int kSnapsSuspended = 16385;  // END with running snaps suspended

int IntVariable(const char* name) {
    resbuf value{};
    if (sds_getvar(name, &value) != RTNORM) {
        return 0;
    }
    return value.restype == RTLONG ? static_cast<int>(value.resval.rlong) : value.resval.rint;
}

void SetOsmode(int mode) {
    resbuf value{};
    value.restype = RTSHORT;
    value.resval.rint = static_cast<short>(mode);
    sds_setvar("OSMODE", &value);
}

// Moves one entity from `from` to `to` with the host's own command, no running snap
// catching the points on the way.
void MoveEntity(const sds_name entity, const sds_point from, const sds_point to) {
    const int osmode = IntVariable("OSMODE");
    SetOsmode(kSnapsSuspended);
    sds_command(RTSTR, "_MOVE", RTENAME, entity, RTSTR, "", RT3DPOINT, from, RT3DPOINT, to, RTNONE);
    SetOsmode(osmode);
}

bool Differs(const sds_point a, const sds_point b) {
    return std::fabs(a[0] - b[0]) >= kEqual || std::fabs(a[1] - b[1]) >= kEqual ||
           std::fabs(a[2] - b[2]) >= kEqual;
}

}  // namespace

// Asks the yes/no question `questionId` (its answer is the next default) and, on yes, the point
// showing the side `sideId` asks for; false when the answer is no or the user gives up.
bool CObslugaPreta::AskYesThenSide(int questionId, int sideId, sds_point side) {
    std::string answer;
    if (AskKeyword(LoadUiString(questionId), LoadUiString(kIdYesNoKeywords), lastDragAnswer,
                   answer) != RTNORM) {
        return false;
    }
    lastDragAnswer = answer;
    return answer == LoadUiString(kIdYes) &&
           sds_getpoint(nullptr, LoadUiString(sideId).c_str(), side) == RTNORM;
}

void CObslugaPreta::OfferShift(const std::string& axis, const sds_name line) {
    if (axis != "x" && axis != "y") {
        return;
    }
    sds_point start = {0, 0, 0};
    sds_point end = {0, 0, 0};
    if (CSDSLine::GetPoints(line, start, end) != RTNORM) {
        return;
    }
    sds_point side = {0, 0, 0};
    if (!AskYesThenSide(kIdShiftPrompt, kIdShiftSide, side)) {
        return;
    }
    sds_real distance = 0.0;
    if (sds_getreal(LoadUiString(kIdShiftDistance).c_str(), &distance) != RTNORM) {
        return;
    }
    const int k = axis == "x" ? 0 : 1;
    sds_point target = {start[0], start[1], start[2]};
    target[k] += start[k] < side[k] ? distance : -distance;
    if (Differs(target, start)) {
        MoveEntity(line, start, target);
    }
}

void CObslugaPreta::OfferRepeat(const std::string& axis, const sds_name line, sds_name outputSet) {
    const int count = panel != nullptr ? panel->GetCount() : 0;
    if ((axis != "x" && axis != "y") || count < 1) {
        return;
    }
    sds_point start = {0, 0, 0};
    sds_point end = {0, 0, 0};
    if (CSDSLine::GetPoints(line, start, end) != RTNORM) {
        return;
    }
    const std::string layerName = CSDSBaseClass::GetLayer(line);
    resbuf* list = sds_entget(line);
    int colour = rods::kByLayer;
    for (const resbuf* node = list; node != nullptr; node = node->rbnext) {
        if (node->restype == 62) {
            colour = node->resval.rint;
        }
    }
    sds_relrb(list);
    sds_point side = {0, 0, 0};
    if (!AskYesThenSide(kIdRepeatPrompt, kIdRepeatSide, side)) {
        return;
    }
    const double spacing = panel != nullptr ? panel->GetSpacing() : 0.0;
    // Copies at no distance would lie on one another.
    if (!(spacing > 0.0)) {
        Tell(kIdNoSpacing);
        return;
    }
    if (count > kMaxDiscs) {
        Tell(kIdTooManyDiscs);
        return;
    }
    const int k = axis == "x" ? 0 : 1;
    const double step = side[k] > start[k] ? spacing : -spacing;
    for (int i = 1; i <= count; ++i) {
        sds_point from = {start[0], start[1], start[2]};
        sds_point to = {end[0], end[1], end[2]};
        from[k] += step * i;
        to[k] += step * i;
        sds_name copy = {0, 0};
        sds_name grown = {0, 0};
        if (this->line.Create(from, to, layerName, rods::kContinuous, colour, 1.0) != RTNORM ||
            sds_entlast(copy) != RTNORM || sds_ssadd(copy, outputSet, grown) != RTNORM) {
            break;
        }
        outputSet[0] = grown[0];
        outputSet[1] = grown[1];
    }
}
