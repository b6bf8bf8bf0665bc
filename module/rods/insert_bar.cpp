// The insert-bar command: picking the vertices (with the offset option), hooks, making the
// polyline with its record, and the numbering that keeps bar numbers free of gaps.
#include <cmath>
#include <cstring>
#include <map>
#include <vector>

#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_geometry.h"
#include "module/rods/rod_numbering.h"
#include "module/ui/toolbar_dlg.h"

namespace {

// A host that keeps answering with an error must not hold the command for ever.
constexpr int kMaxRepeatedErrors = 1000;

bool WithinDrawingRange(const sds_point p) {
    for (int i = 0; i < 3; ++i) {
        if (!std::isfinite(p[i]) || std::fabs(p[i]) > rods::kLargestCoordinate) {
            return false;
        }
    }
    return true;
}

bool IsOffsetKeyword(const char* typed) {
    return std::strcmp(typed, "O") == 0 || std::strcmp(typed, "o") == 0 ||
           LoadUiString(rods::kIdOffsetKeyword) == typed;
}

}  // namespace

void CObslugaPreta::DeleteTemporaries() {
    for (size_t i = 0; i + 1 < temporaries.size(); i += 2) {
        const sds_name name = {static_cast<long>(temporaries[i]),
                               static_cast<long>(temporaries[i + 1])};
        sds_entdel(name);
    }
    temporaries.clear();
}

void CObslugaPreta::InsertBar() {
    vertices.clear();
    temporaries.clear();
    const bool smooth = panel != nullptr && panel->IsSmoothSelected();
    const double bend = BendDiameter();
    UndoGroup undo;

    const std::string prompt = LoadUiString(rods::kIdPointPrompt);
    sds_point working = {0.0, 0.0, 0.0};
    int errors = 0;
    while (true) {
        if (errors > kMaxRepeatedErrors) {
            break;
        }
        if (sds_initget(SDS_RSG_OTHER, "") != RTNORM) {
            ++errors;
            continue;
        }
        sds_point last = {0.0, 0.0, 0.0};
        if (!vertices.empty()) {
            vertices.back().GetPoint(last);
        }
        // The point prompt may scribble on its result when it does not answer with a point;
        // the working point stays the last vertex (or the origin) for the offset option.
        sds_point answer = {last[0], last[1], last[2]};
        const int result = sds_getpoint(vertices.empty() ? nullptr : last, prompt.c_str(), answer);
        if (result == RTERROR) {
            ++errors;
            continue;
        }
        errors = 0;
        if (result == RTKWORD) {
            char typed[512] = {0};
            if (sds_getinput(typed) != RTNORM || !IsOffsetKeyword(typed)) {
                continue;
            }
            working[0] = last[0];
            working[1] = last[1];
            working[2] = last[2];
            PromptOffsetPoint(vertices.empty() ? nullptr : last, working);
            working[0] += offsetX;
            working[1] += offsetY;
            if (!WithinDrawingRange(working)) {
                sds_printf("%s", LoadUiString(rods::kIdPointOutOfRange).c_str());
                continue;
            }
        } else if (result == RTNORM) {
            working[0] = answer[0];
            working[1] = answer[1];
            working[2] = answer[2];
        } else {
            // Enter, Esc, or anything the host may invent: the input of vertices is over.
            break;
        }
        // A second pick on the last vertex (a double click) would make a segment of no
        // length: its direction is undefined, so a hook on it would point anywhere and the
        // real corner beside it could not be rounded. Such a pick is taken as no pick.
        if (!vertices.empty() &&
            rods::SamePoint2d(rods::At(vertices.back()), {working[0], working[1], working[2]})) {
            continue;
        }
        vertices.emplace_back(working);
        if (vertices.size() >= 2) {
            if (line.Create(last, working, "0", rods::kContinuous, rods::kByLayer, 1.0) == RTNORM) {
                RememberTemporary();
            }
        }
    }

    if (!vertices.empty()) {
        const int hooks = smooth ? ChooseHookSides() : rods::kNoHooks;
        FinishBar(bend, smooth, hooks);
    }
    undo.Close();
}

void CObslugaPreta::FinishBar(double bendDiameter, bool smooth, int hooks) {
    // A polyline needs two vertices. Making nothing keeps the bar record off whatever entity
    // the drawing made last, and leaves the numbering as it was.
    if (vertices.size() < 2) {
        DeleteTemporaries();
        sds_printf("%s", LoadUiString(rods::kIdTooFewPoints).c_str());
        return;
    }
    const int gap = FindFirstNumberGap();
    if (gap > 0) {
        RenumberFrom(gap);
    }
    DeleteTemporaries();
    const int rounded = panel != nullptr ? panel->IsRoundedCorners() : 0;
    if (rounded == 1) {
        RoundCorners(bendDiameter, smooth, hooks);
    }
    const double diameterMm = panel != nullptr ? panel->GetDiameter() : 0.0;
    const std::string layerName = EnsureBarLayer(diameterMm);
    sds_name bar = {0, 0};
    if (polyline.Create(vertices, false, layerName, rods::kContinuous, rods::kByLayer) != RTNORM ||
        sds_entlast(bar) != RTNORM) {
        sds_printf("%s", LoadUiString(rods::kIdBarRefused).c_str());
        return;
    }
    CRodXDataParameters record;
    record.type = LoadUiString(rods::kIdBarTag);
    // The new polyline has no record yet, so it is not among the counted bars.
    record.ordinal = CountRods(0) + 1;
    record.diameter = diameterMm / 10.0;
    record.hooks = hooks;
    record.number = CountRods(1) + 1;
    record.steel = panel != nullptr ? panel->GetSteelIndex() : 0;
    record.rounded = rounded;
    record.flag = 0;
    sds_name dictionary = {0, 0};
    if (xdata.EnsureExtensionDictionary(bar, dictionary) == RTNORM) {
        xdata.WriteRodRecord(dictionary, LoadUiString(rods::kIdRecordKey), record);
    }
}

int CObslugaPreta::FindFirstNumberGap() {
    // A free number below the count of used ones has a used number above it: a gap. Numbers
    // below 1 are no marks and leave no gap (AUDIT reports them).
    const rods::Numbering numbering = BarNumbering();
    return numbering.firstFree <= numbering.used ? numbering.firstFree : -1;
}

void CObslugaPreta::GiveNumber(const sds_name bar, int number) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    CRodXDataParameters record;
    xdata.ReadRodRecord(bar, key, record);
    record.number = number;
    sds_name dictionary = {0, 0};
    if (xdata.ResetExtensionDictionary(bar, dictionary) == RTNORM) {
        xdata.WriteRodRecord(dictionary, key, record);
    }
    std::vector<CSDSPointExt> barVertices;
    if (LoadRodVertices(bar, barVertices) == 1) {
        RedrawDescription(bar, barVertices, number);
        UpdateLeaderTexts(bar, true, false, barVertices, nullptr);
    }
}

std::map<int, int> CObslugaPreta::RenumberFrom(int n) {
    const std::vector<rods::BarEntry> bars = ListBars();
    std::vector<int> numbers;
    for (const rods::BarEntry& bar : bars) {
        numbers.push_back(bar.record.number);
    }
    const std::vector<int> renumbered = rods::RenumberedFrom(numbers, n);
    // Old number -> new number: one for every number above the gap.
    std::map<int, int> oldToNew;
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (renumbered[i] != numbers[i]) {
            oldToNew[numbers[i]] = renumbered[i];
        }
    }
    // Each bar above the gap is renumbered together with the later bars that share its old
    // number, before the next old number is taken up, so that redrawn descriptions are made
    // in that order.
    std::vector<bool> done(bars.size(), false);
    for (size_t i = 0; i < bars.size(); ++i) {
        if (done[i] || numbers[i] <= n) {
            continue;
        }
        for (size_t j = i; j < bars.size(); ++j) {
            if (!done[j] && numbers[j] == numbers[i]) {
                GiveNumber(bars[j].name, renumbered[j]);
                done[j] = true;
            }
        }
    }
    RenumberViews(oldToNew, n);
    return oldToNew;
}

int CObslugaPreta::CountRods(int mode) {
    resbuf* grips = nullptr;
    resbuf* picked = nullptr;
    sds_ssgetfirst(&grips, &picked);
    const int result = mode == 0 ? BarCount() : BarNumbering().used;
    if (picked != nullptr && picked->restype == RTPICKS) {
        sds_sssetfirst(nullptr, picked->resval.rlname);
        // The host gave us a set of our own and takes a copy back: ours must be freed, or
        // every insert would hold two more of the host's few selection sets.
        sds_ssfree(picked->resval.rlname);
    }
    if (grips != nullptr) {
        sds_relrb(grips);
    }
    if (picked != nullptr) {
        sds_relrb(picked);
    }
    return result;
}
