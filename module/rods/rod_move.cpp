// Carrying a bar's group to another place: the drag that moves or copies it entity by entity
// with the host's commands, and the move option.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "module/entities/sds_base.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_drag.h"

namespace {

constexpr int kIdNewPositionPrompt = 50;
// A host that keeps giving answers that fit nothing must not hold a prompt for ever.
constexpr int kMaxRepeatedAnswers = 1000;
// Running snaps suspended while the lines of a projection are aligned, endpoint kept.
constexpr int kAlignSnapMode = 16385;

// The drag in progress; the host's callback has no room for anything of ours.
rods::DragState g_drag;

bool AddTo(sds_name set, const sds_name entity) {
    sds_name grown = {0, 0};
    if (sds_ssadd(entity, set, grown) != RTNORM) {
        return false;
    }
    set[0] = grown[0];
    set[1] = grown[1];
    return true;
}

int ReadWhole(const char* variable, int fallback) {
    resbuf value{};
    if (sds_getvar(variable, &value) != RTNORM) {
        return fallback;
    }
    return value.restype == RTLONG ? static_cast<int>(value.resval.rlong) : value.resval.rint;
}

void SetWhole(const char* variable, int number) {
    resbuf value{};
    value.restype = RTSHORT;
    value.resval.rint = static_cast<short>(number);
    sds_setvar(variable, &value);
}

bool Differs(const sds_point a, const sds_point b) {
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(a[i] - b[i]) >= rods::kEqualTolerance) {
            return true;
        }
    }
    return false;
}

// Puts the start of every line of the set on the base point's X or Y: the lines of a
// projection are drawn from one axis.
void AlignLines(const sds_name set, const sds_point base, int coordinate) {
    for (const auto& words : SelectionMembers(set)) {
        const sds_name line = {words[0], words[1]};
        sds_point start;
        sds_point end;
        if (EntityTypeName(line) != "LINE" || CSDSLine::GetPoints(line, start, end) != RTNORM) {
            continue;
        }
        sds_point aligned = {start[0], start[1], start[2]};
        aligned[coordinate] = base[coordinate];
        if (!Differs(start, aligned)) {
            continue;
        }
        const int osmode = ReadWhole("OSMODE", 0);
        SetWhole("OSMODE", kAlignSnapMode);
        sds_command(RTSTR, "_MOVE", RTENAME, line, RTSTR, "", RT3DPOINT, start, RT3DPOINT, aligned,
                    RTNONE);
        SetWhole("OSMODE", osmode);
    }
}

}  // namespace

int CObslugaPreta::OrthoDragTransform(sds_point point, sds_matrix matrix) {
    resbuf view{};
    double viewSize = 1000.0;
    if (sds_getvar("VIEWSIZE", &view) == RTNORM && view.restype == RTREAL) {
        viewSize = view.resval.rreal;
    }
    const rods::Point shown{matrix[0][3], matrix[1][3], 0.0};
    const rods::Point move = rods::DragTranslation(g_drag, {point[0], point[1], point[2]}, shown,
                                                   ReadWhole("ORTHOMODE", 0) == 1, viewSize);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            matrix[r][c] = r == c ? 1.0 : 0.0;
        }
    }
    matrix[0][3] = move.x;
    matrix[1][3] = move.y;
    return RTNORM;
}

bool CObslugaPreta::DragRodGroup(const sds_name set, sds_name made, sds_point displacement,
                                 const std::string& command, const std::string& axis,
                                 std::vector<std::array<long, 2>>* sources) {
    made[0] = made[1] = 0;
    if (sources != nullptr) {
        sources->clear();
    }
    displacement[0] = displacement[1] = displacement[2] = 0.0;
    const std::vector<std::array<long, 2>> members = SelectionMembers(set);
    if (members.empty()) {
        return false;
    }
    sds_point base = {0, 0, 0};
    int result = RTERROR;
    for (int i = 0; i < kMaxRepeatedAnswers; ++i) {
        result = sds_getpoint(nullptr, LoadUiString(rods::kIdBasePointPrompt).c_str(), base);
        if (result == RTNORM || result == RTCAN || result == RTERROR) {
            break;
        }
    }
    if (result != RTNORM) {
        return false;
    }
    const bool aligned = axis == "x" || axis == "y";
    if (aligned) {
        AlignLines(set, base, axis == "x" ? 0 : 1);
    }
    g_drag = rods::StartDrag({base[0], base[1], base[2]});
    sds_point returned = {base[0], base[1], base[2]};
    if (sds_draggen(set, LoadUiString(kIdNewPositionPrompt).c_str(), 0, OrthoDragTransform,
                    returned) != RTNORM) {
        return false;
    }
    const bool ortho = ReadWhole("ORTHOMODE", 0) == 1;
    sds_point target = {returned[0], returned[1], returned[2]};
    if (!rods::ReturnedPointIsTarget(g_drag, {returned[0], returned[1], returned[2]}, ortho)) {
        const sds_point previewed = {g_drag.previewed.x, g_drag.previewed.y, g_drag.previewed.z};
        sds_point snapped = {0, 0, 0};
        const bool snappedOk = SnapPoint(previewed, snapped) == RTNORM;
        for (int i = 0; i < 3; ++i) {
            target[i] = snappedOk ? snapped[i] : previewed[i];
        }
    }
    if (sds_ssadd(nullptr, nullptr, made) != RTNORM) {
        made[0] = made[1] = 0;
        return false;
    }
    const bool moving = Differs(target, base);
    if (!moving && !aligned) {
        return true;
    }
    const bool copying = command == "_COPY";
    for (const auto& words : members) {
        const sds_name entity = {words[0], words[1]};
        int done = RTNORM;
        if (moving) {
            const int copyMode = ReadWhole("COPYMODE", 0);
            SetWhole("COPYMODE", 1);
            done = sds_command(RTSTR, command.c_str(), RTENAME, entity, RTSTR, "", RT3DPOINT, base,
                               RT3DPOINT, target, RTNONE);
            SetWhole("COPYMODE", copyMode);
        }
        sds_name result_entity = {entity[0], entity[1]};
        // A refused command makes nothing: the drawing's last entity is then another's. A
        // projection line belongs to the projection wherever it ended, also where it started.
        if (!aligned && (done != RTNORM || (copying && sds_entlast(result_entity) != RTNORM))) {
            continue;
        }
        if (AddTo(made, result_entity) && sources != nullptr) {
            sources->push_back(words);
        }
    }
    // The move made, which the returned point is not when the preview was locked or snapped.
    for (int i = 0; i < 3; ++i) {
        displacement[i] = target[i] - base[i];
    }
    return true;
}

bool CObslugaPreta::MoveRod(const sds_name bar) {
    if (!IsBar(bar, LoadUiString(rods::kIdRecordKey), LoadUiString(rods::kIdBarTag))) {
        return false;
    }
    UndoGroup undo;
    sds_name set = {0, 0};
    CollectRodGroup(bar, set);
    sds_name moved = {0, 0};
    sds_point displacement = {0, 0, 0};
    long count = 0;
    const bool dragged = DragRodGroup(set, moved, displacement, "_MOVE", "") &&
                         sds_sslength(moved, &count) == RTNORM && count > 0;
    EndRodOperation({set, moved});
    undo.Close();
    return dragged;
}
