// Dragging a projection line into place: the line is brought to the base point's level
// across its axis and follows the cursor (locked to one axis in orthogonal mode); then the
// user may shift it by a typed distance and repeat it at the panel's spacing.
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

// What the drag callback shares with the drag: the base point, the point last shown, and
// the axis that orthogonal mode holds the movement to.
struct DragState {
    double base[3] = {0, 0, 0};
    double shown[3] = {0, 0, 0};
    bool vertical = false;
};

DragState& Drag() {
    static DragState state;
    return state;
}

int IntVariable(const char* name) {
    resbuf value{};
    if (sds_getvar(name, &value) != RTNORM) {
        return 0;
    }
    return value.restype == RTLONG ? static_cast<int>(value.resval.rlong) : value.resval.rint;
}

double ViewSize() {
    resbuf value{};
    return sds_getvar("VIEWSIZE", &value) == RTNORM && value.restype == RTREAL ? value.resval.rreal
                                                                               : 1000.0;
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

// The translation that the dragged line follows: the cursor's, held to one axis in
// orthogonal mode; the axis turns vertical near the base point's vertical and back near its
// horizontal.
int FollowCursor(sds_point cursor, sds_matrix matrix) {
    DragState& state = Drag();
    double dx = cursor[0] - state.base[0];
    double dy = cursor[1] - state.base[1];
    if (IntVariable("ORTHOMODE") == 1) {
        const double near = ViewSize() * 0.02;
        if (std::fabs(dx) < near) {
            state.vertical = true;
        } else if (std::fabs(dy) < near) {
            state.vertical = false;
        }
        (state.vertical ? dx : dy) = 0.0;
    }
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            matrix[i][j] = i == j ? 1.0 : 0.0;
        }
    }
    matrix[0][3] = dx;
    matrix[1][3] = dy;
    state.shown[0] = state.base[0] + dx;
    state.shown[1] = state.base[1] + dy;
    state.shown[2] = state.base[2];
    return RTNORM;
}

}  // namespace

bool CObslugaPreta::DragProjection(const sds_name set, sds_name outputSet,
                                   const std::string& axis) {
    outputSet[0] = outputSet[1] = 0;
    sds_name line = {0, 0};
    if (sds_ssname(set, 0, line) != RTNORM) {
        return false;
    }
    sds_point base = {0, 0, 0};
    for (int i = 0;; ++i) {
        const int result = sds_getpoint(nullptr, LoadUiString(kIdBasePointPrompt).c_str(), base);
        if (result == RTNORM) {
            break;
        }
        if (result == RTCAN || result == RTERROR || i == kMaxRepeatedAnswers) {
            return false;
        }
    }
    // The line comes to the base point's level across its axis, so that the drag places it.
    sds_point start = {0, 0, 0};
    sds_point end = {0, 0, 0};
    if (CSDSLine::GetPoints(line, start, end) == RTNORM && Differs(start, base)) {
        sds_point level = {start[0], start[1], start[2]};
        level[axis == "x" ? 0 : 1] = base[axis == "x" ? 0 : 1];
        if (Differs(level, start)) {
            MoveEntity(line, start, level);
        }
    }
    DragState& state = Drag();
    state = DragState();
    for (int i = 0; i < 3; ++i) {
        state.base[i] = state.shown[i] = base[i];
    }
    sds_point returned = {0, 0, 0};
    if (sds_draggen(set, LoadUiString(kIdDragPrompt).c_str(), 0, FollowCursor, returned) !=
        RTNORM) {
        return false;
    }
    sds_point target = {returned[0], returned[1], returned[2]};
    const bool ortho = IntVariable("ORTHOMODE") == 1;
    const double apart =
        ortho ? std::fabs(returned[state.vertical ? 1 : 0] - state.shown[state.vertical ? 1 : 0])
              : std::hypot(returned[0] - state.shown[0], returned[1] - state.shown[1]);
    if (apart < kEqual) {
        sds_point snapped = {0, 0, 0};
        target[0] = state.shown[0];
        target[1] = state.shown[1];
        target[2] = state.shown[2];
        if (SnapPoint(target, snapped) == RTNORM) {
            target[0] = snapped[0];
            target[1] = snapped[1];
            target[2] = snapped[2];
        }
    }
    if (Differs(target, base)) {
        MoveEntity(line, base, target);
    }
    // The line belongs to the projection wherever it ended, also where it started.
    if (sds_ssadd(line, nullptr, outputSet) != RTNORM) {
        outputSet[0] = outputSet[1] = 0;
        return true;
    }
    OfferShift(axis, line);
    OfferRepeat(axis, line, outputSet);
    return true;
}

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
