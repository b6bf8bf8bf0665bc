// Describing a bar from the edit command: the description sub-prompt, switching the
// description beside a bar on and off, and descriptions on leaders, drawn for a bar or for a
// projection line of one, each leader kept together as one anonymous group.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "module/model/steel.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_description.h"
#include "module/rods/rod_text_layout.h"
#include "module/ui/toolbar_dlg.h"

namespace {

constexpr int kIdDescriptionOption = 5;
constexpr int kIdHorizontalProjectionTag = 47;
constexpr int kIdVerticalProjectionTag = 48;
constexpr int kIdPickToDescribe = 55;
constexpr int kIdDescriptionKeywords = 69;
constexpr int kIdLeaderStartPrompt = 71;
constexpr int kIdLeaderSecondPrompt = 72;
constexpr int kIdLeaderDirectionPrompt = 73;
constexpr int kIdNumberOnlyKeyword = 129;

// Leaders are drawn in this colour whatever their layer's colour is.
constexpr int kLeaderColour = 4;
// A host that keeps giving answers that fit nothing must not hold a prompt for ever.
constexpr int kMaxRepeatedAnswers = 1000;

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find(' ', at);
        const size_t stop = end == std::string::npos ? text.size() : end;
        if (stop > at) {
            words.push_back(text.substr(at, stop - at));
        }
        at = stop + 1;
    }
    return words;
}

void ToSds(const rods::Point& p, sds_point out) {
    out[0] = p.x;
    out[1] = p.y;
    out[2] = p.z;
}

rods::Point ToPoint(const sds_point p) {
    return {p[0], p[1], p[2]};
}

void Copy(const sds_point from, sds_point to) {
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

void EndOperation() {
    sds_sssetfirst(nullptr, nullptr);
    sds_redraw(nullptr, 4);
}

// Asks a point until one comes; RTNORM, or the code with which the user gave up.
int AskPoint(const sds_point base, const std::string& prompt, int initFlags, sds_point point) {
    for (int i = 0; i < kMaxRepeatedAnswers; ++i) {
        if (initFlags != 0) {
            sds_initget(initFlags, "");
        }
        const int result = sds_getpoint(base, prompt.c_str(), point);
        if (result == RTNORM || result == RTCAN || result == RTERROR) {
            return result;
        }
    }
    return RTERROR;
}

}  // namespace

void CObslugaPreta::DescribeRod(const RodPicker& pick) {
    const std::string keywordList = LoadUiString(kIdDescriptionKeywords);
    const std::vector<std::string> keywords = Words(keywordList);
    const std::string toggle = keywords.size() > 0 ? keywords[0] : std::string();
    const std::string onLeader = keywords.size() > 1 ? keywords[1] : std::string();
    const std::string numberOnly = LoadUiString(kIdNumberOnlyKeyword);
    const std::string pickPrompt = LoadUiString(kIdPickToDescribe);
    std::string chosen;
    while (AskSubOption("\n" + LoadUiString(kIdDescriptionOption), keywordList, LastDescriptionMode,
                        false, chosen)) {
        sds_name picked = {0, 0};
        if (chosen == toggle) {
            LastDescriptionMode = chosen;
            // A bar that takes no description is no answer: the bar is asked again.
            while (pick(pickPrompt, false, picked) && ToggleRodDescription(picked) == 0) {
            }
            continue;
        }
        const int leaderKind = chosen == onLeader ? 0 : 1;
        if (chosen == onLeader || chosen == numberOnly) {
            LastDescriptionMode = chosen;
        }
        while (pick(pickPrompt, true, picked) && DrawLeaderDescription(picked, leaderKind) == 0) {
        }
    }
}

int CObslugaPreta::ToggleRodDescription(const sds_name bar) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    if (!IsBar(bar, key, LoadUiString(rods::kIdBarTag))) {
        EndOperation();
        return 0;
    }
    UndoGroup undo;
    int result = 0;
    if (DeleteDescription(bar) > 0) {
        result = -1;
    } else {
        CRodXDataParameters record;
        xdata.ReadRodRecord(bar, key, record);
        std::vector<CSDSPointExt> barVertices;
        sds_point anchor = {0, 0, 0};
        if (LoadRodVertices(bar, barVertices) == 1 &&
            DescriptionAnchor(bar, barVertices, anchor) >= 0) {
            const int count = panel != nullptr ? panel->GetCount() : 1;
            result = DrawDescription(bar, anchor, barVertices, record.number, count,
                                     record.diameter * 10.0);
        }
    }
    undo.Close();
    EndOperation();
    return result;
}

bool CObslugaPreta::FindDivisionSegment(sds_point point, const sds_name bar, int& segment,
                                        int includeHooks) {
    std::vector<CSDSPointExt> barVertices;
    if (LoadRodVertices(bar, barVertices) != 1) {
        return false;
    }
    CRodXDataParameters record;
    xdata.ReadRodRecord(bar, LoadUiString(rods::kIdRecordKey), record);
    const int n = static_cast<int>(barVertices.size());
    const rods::SegmentRange range =
        includeHooks != 0 ? rods::SegmentRange{0, n - 2} : rods::BarSegments(n, record.hooks);
    const double tolerance = PickTolerance();
    for (int i = std::max(range.first, 0); i <= range.last && i + 1 < n; ++i) {
        rods::Point nearest;
        if (std::fabs(barVertices[i].bulge) < rods::kEqualTolerance &&
            rods::IsNearSegment(rods::At(barVertices[i]), rods::At(barVertices[i + 1]),
                                ToPoint(point), tolerance, nearest)) {
            ToSds(nearest, point);
            segment = i;
            return true;
        }
    }
    return false;
}

int CObslugaPreta::LeaderStartPoint(const sds_name target, bool isBar, sds_point start) {
    const std::string prompt = LoadUiString(kIdLeaderStartPrompt);
    for (int i = 0; i < kMaxRepeatedAnswers; ++i) {
        sds_point picked = {0, 0, 0};
        const int result = sds_getpoint(nullptr, prompt.c_str(), picked);
        if (result == RTCAN || result == RTERROR || result == RTNONE) {
            // Enter is a way out too: no point will ever come from it.
            return result;
        }
        if (result != RTNORM) {
            continue;
        }
        sds_point snapped = {0, 0, 0};
        if (SnapPoint(picked, snapped) == RTNORM) {
            Copy(snapped, picked);
        }
        if (isBar) {
            int segment = -1;
            if (FindDivisionSegment(picked, target, segment, 0)) {
                Copy(picked, start);
                return RTNORM;
            }
            continue;
        }
        sds_point a;
        sds_point b;
        sds_point nearest;
        if (CSDSLine::GetPoints(target, a, b) == RTNORM && IsNearSegment(a, b, picked, nearest)) {
            Copy(nearest, start);
            return RTNORM;
        }
    }
    return RTERROR;
}

int CObslugaPreta::DrawLeaderDescription(const sds_name target, int numberOnly) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const bool isBar = IsBar(target, key, LoadUiString(rods::kIdBarTag));
    if (!isBar && !IsProjectionLine(target, key, LoadUiString(kIdHorizontalProjectionTag),
                                    LoadUiString(kIdVerticalProjectionTag))) {
        return 0;
    }
    sds_point start = {0, 0, 0};
    if (LeaderStartPoint(target, isBar, start) != RTNORM) {
        EndOperation();
        return -1;
    }
    UndoGroup undo;
    sds_point second = {0, 0, 0};
    sds_point direction = {0, 0, 0};
    bool given =
        AskPoint(start, LoadUiString(kIdLeaderSecondPrompt), SDS_RSG_OTHER, second) == RTNORM;
    if (given) {
        sds_name temporary = {0, 0};
        const bool shown =
            line.Create(start, second, "0", rods::kContinuous, rods::kByLayer, 1.0) == RTNORM &&
            sds_entlast(temporary) == RTNORM;
        given = AskPoint(second, LoadUiString(kIdLeaderDirectionPrompt), 0, direction) == RTNORM;
        if (shown) {
            sds_entdel(temporary);
        }
    }
    const int result = given ? MakeLeader(target, isBar, start, second, direction, numberOnly) : -1;
    EndOperation();
    undo.Close();
    return result;
}

int CObslugaPreta::MakeLeader(const sds_name target, bool isBar, const sds_point start,
                              const sds_point second, const sds_point direction, int numberOnly) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    CRodXDataParameters record;
    xdata.ReadRodRecord(target, key, record);
    LeaderValues values;
    // A projection line shows no length of its own: its description leaves it out.
    std::vector<CSDSPointExt> barVertices;
    if (isBar && LoadRodVertices(target, barVertices) == 1) {
        values.length = rods::BarLength(barVertices);
    }
    values.number = record.number;
    values.count = panel != nullptr ? panel->GetCount() : 1;
    values.smooth = IsSmoothSteel(record.steel);
    values.diameterMm = record.diameter * 10.0;
    values.spacing = panel != nullptr ? panel->GetSpacing() : 0.0;
    return DrawLeaderPieces(EntityHandle(target), start, second, direction, numberOnly, values);
}

int CObslugaPreta::DrawLeaderPieces(const std::string& owner, const sds_point start,
                                    const sds_point second, const sds_point direction,
                                    int numberOnly, const LeaderValues& values) {
    const double h = panel != nullptr ? panel->GetDescriptionFontSize() : 0.0;
    const std::string layerName = LoadUiString(rods::kIdDescriptionLayer);
    layer.Create(layerName, kLeaderColour);
    textStyle.Create(rods::kSymbolStyle, 10.0, 1.0, 0.0, 0, 0.2, rods::kSymbolFont, "");
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string numberText = rods::NumberText(values.number);
    const std::string countText = rods::CountText(values.count);
    const std::string signText = rods::SignText(values.smooth);
    const std::string mainText =
        rods::LeaderMainText(values.diameterMm, values.spacing, values.length);
    const rods::LeaderLayout lay = rods::LayoutLeader(ToPoint(second), ToPoint(direction), h,
                                                      mainText, countText, numberOnly != 0);

    std::vector<std::array<long, 2>> made;
    bool sound = true;
    // Each piece gets its record right after it is made, so that no piece is left unowned.
    auto keep = [&](int status, int tagId) {
        sds_name entity = {0, 0};
        sds_name dictionary = {0, 0};
        if (!sound || status != RTNORM || sds_entlast(entity) != RTNORM) {
            sound = false;
            return;
        }
        made.push_back({entity[0], entity[1]});
        sound = xdata.EnsureExtensionDictionary(entity, dictionary) == RTNORM &&
                xdata.WriteDescriptionLink(dictionary, key, LoadUiString(tagId), owner, start) ==
                    RTNORM;
    };
    const std::vector<CSDSPointExt> leaderVertices = {
        CSDSPointExt(start), CSDSPointExt(second),
        CSDSPointExt(lay.shelfEnd.x, lay.shelfEnd.y, lay.shelfEnd.z)};
    keep(polyline.Create(leaderVertices, false, layerName, rods::kContinuous, kLeaderColour),
         rods::kIdLeaderTag);
    sds_point centre;
    ToSds(lay.circleCentre, centre);
    if (sound) {
        keep(circle.Create(centre, h, layerName, rods::kContinuous, kLeaderColour, 1.0),
             rods::kIdLeaderTag);
    }
    if (sound) {
        keep(text.Create(numberText, centre, h, 0.0, rods::kTextStyle, 0, rods::kAlignCentre,
                         centre, rods::kAlignMiddle, layerName, kLeaderColour),
             rods::kIdLeaderNumberTag);
    }
    if (numberOnly == 0) {
        sds_point at;
        sds_point countAt;
        ToSds(lay.main, at);
        ToSds(lay.count, countAt);
        const struct {
            const std::string& content;
            double* point;
            int horizontal;
            int tagId;
        } pieces[] = {
            {mainText, at, rods::kAlignLeft, rods::kIdLeaderMainTag},
            {signText, at, rods::kAlignRight, rods::kIdLeaderSignTag},
            {countText, countAt, rods::kAlignRight, rods::kIdLeaderCountTag},
        };
        for (const auto& piece : pieces) {
            if (sound) {
                keep(text.Create(piece.content, piece.point, h, 0.0, rods::kTextStyle, 0,
                                 piece.horizontal, piece.point, rods::kAlignBaseline, layerName,
                                 kLeaderColour),
                     piece.tagId);
            }
        }
    }
    sds_name members = {0, 0};
    if (sound && sds_ssadd(nullptr, nullptr, members) == RTNORM) {
        for (const auto& words : made) {
            const sds_name entity = {words[0], words[1]};
            sds_name grown = {0, 0};
            if (sds_ssadd(entity, members, grown) == RTNORM) {
                members[0] = grown[0];
                members[1] = grown[1];
            }
        }
        sound = group.Create(members, "", 1, 1) == RTNORM;
        sds_ssfree(members);
    } else {
        sound = false;
    }
    if (!sound) {
        // Half a leader is no description: whatever was made of it goes again.
        for (const auto& words : made) {
            const sds_name entity = {words[0], words[1]};
            sds_entdel(entity);
        }
        return 0;
    }
    return 1;
}
