// Dividing a bar at a point of one of its straight segments: the division point prompt, the
// hooks asked for each part that is to end in hooks at both ends, the numbering of the
// second part, and the bars of the same number divided alike.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_geometry.h"
#include "module/rods/rod_numbering.h"

namespace {

constexpr int kIdFirstPartStartHook = 28;
constexpr int kIdSecondPartStartHook = 29;
constexpr int kIdFirstPartEndHook = 30;
constexpr int kIdSecondPartEndHook = 31;
constexpr int kIdDivisionPointPrompt = 58;
// A host that keeps giving answers that fit nothing must not hold a prompt for ever.
constexpr int kMaxRepeatedAnswers = 1000;

void EndOperation() {
    sds_sssetfirst(nullptr, nullptr);
    sds_redraw(nullptr, 4);
}

bool IsOffsetKeyword(const char* typed) {
    return std::strcmp(typed, "O") == 0 || std::strcmp(typed, "o") == 0 ||
           LoadUiString(rods::kIdOffsetKeyword) == typed;
}

}  // namespace

void CObslugaPreta::DivideRod(const sds_name bar) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    if (!IsBar(bar, key, LoadUiString(rods::kIdBarTag))) {
        return;
    }
    HighlightRodGroup(bar);
    const std::string prompt = LoadUiString(kIdDivisionPointPrompt);
    for (int i = 0; i < kMaxRepeatedAnswers; ++i) {
        sds_initget(SDS_RSG_OTHER, "");
        sds_point point = {0, 0, 0};
        const int result = sds_getpoint(nullptr, prompt.c_str(), point);
        if (result == RTCAN) {
            EndOperation();
            return;
        }
        if (result == RTKWORD) {
            char typed[512] = {0};
            if (sds_getinput(typed) != RTNORM || !IsOffsetKeyword(typed)) {
                continue;
            }
            offsetX = 0.0;
            offsetY = 0.0;
            PromptOffsetPoint(nullptr, point);
            point[0] += offsetX;
            point[1] += offsetY;
        } else if (result != RTNORM) {
            continue;
        }
        int segment = -1;
        if (!FindDivisionSegment(point, bar, segment, 0)) {
            continue;
        }
        std::vector<CSDSPointExt> v;
        CRodXDataParameters record;
        LoadRodVertices(bar, v);
        xdata.ReadRodRecord(bar, key, record);
        const rods::SegmentRange range =
            rods::BarSegments(static_cast<int>(v.size()), record.hooks);
        const rods::Point at{point[0], point[1], 0.0};
        // At either end of the bar (its hooks aside) there is nothing to cut off.
        if (range.first < 0 || range.last + 1 >= static_cast<int>(v.size()) ||
            rods::SamePoint2d(at, rods::At(v[range.first])) ||
            rods::SamePoint2d(at, rods::At(v[range.last + 1]))) {
            continue;
        }
        EndOperation();
        SplitRod(point, bar, segment);
        return;
    }
    EndOperation();
}

bool CObslugaPreta::SplitRod(const sds_point point, const sds_name bar, int k) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    std::vector<CSDSPointExt> v;
    if (LoadRodVertices(bar, v) != 1 || k < 0 || k + 1 >= static_cast<int>(v.size())) {
        return false;
    }
    UndoGroup undo;
    CRodXDataParameters record;
    xdata.ReadRodRecord(bar, key, record);
    const rods::Point cut{point[0], point[1], 0.0};
    CSDSPointExt division(point[0], point[1], 0.0);
    division.bulge = 0.0;
    // A cut on a vertex ends the part there: no segment of no length is made.
    std::vector<CSDSPointExt> first(v.begin(), v.begin() + k + 1);
    if (!rods::SamePoint2d(cut, rods::At(first.back()))) {
        first.push_back(division);
    }
    first.back().bulge = 0.0;
    std::vector<CSDSPointExt> second(v.begin() + k + 1, v.end());
    if (!rods::SamePoint2d(cut, rods::At(second.front()))) {
        second.insert(second.begin(), division);
    }
    if (first.size() < 2 || second.size() < 2) {
        undo.Close();
        return false;
    }
    const bool hadFirst = record.hooks == rods::kFirstHook || record.hooks == rods::kBothHooks;
    const bool hadLast = record.hooks == rods::kSecondHook || record.hooks == rods::kBothHooks;
    int firstHooks = hadFirst ? rods::kFirstHook : rods::kNoHooks;
    int secondHooks = hadLast ? rods::kSecondHook : rods::kNoHooks;
    if (record.hooks > 0 && record.hooks <= rods::kBothHooks) {
        const double length = rods::HookLength(record.diameter * 10.0);
        temporaries.clear();
        // A hook is asked at the given end of a part; Esc leaves that end without one.
        auto ask = [&](std::vector<CSDSPointExt>& part, bool atStart, int promptId) {
            sds_point side = {0, 0, 0};
            if (sds_getpoint(nullptr, LoadUiString(promptId).c_str(), side) != RTNORM) {
                return false;
            }
            const size_t n = part.size();
            const CSDSPointExt& end = atStart ? part[0] : part[n - 1];
            const CSDSPointExt& next = atStart ? part[1] : part[n - 2];
            const rods::Point tip =
                rods::HookTip(rods::At(end), rods::At(next), {side[0], side[1], 0.0}, length);
            CSDSPointExt hook(tip.x, tip.y, 0.0);
            sds_point from;
            sds_point to = {tip.x, tip.y, 0.0};
            end.GetPoint(from);
            if (line.Create(from, to, "0", rods::kContinuous, rods::kByLayer, 1.0) == RTNORM) {
                sds_name made = {0, 0};
                if (sds_entlast(made) == RTNORM) {
                    temporaries.push_back(static_cast<std::uint32_t>(made[0]));
                    temporaries.push_back(static_cast<std::uint32_t>(made[1]));
                }
            }
            if (atStart) {
                part.insert(part.begin(), hook);
            } else {
                part.back().bulge = 0.0;
                part.push_back(hook);
            }
            return true;
        };
        if (!hadFirst && ask(first, true, kIdFirstPartStartHook)) {
            firstHooks |= rods::kFirstHook;
        }
        if (ask(first, false, kIdFirstPartEndHook)) {
            firstHooks |= rods::kSecondHook;
        }
        if (ask(second, true, kIdSecondPartStartHook)) {
            secondHooks |= rods::kFirstHook;
        }
        if (!hadLast && ask(second, false, kIdSecondPartEndHook)) {
            secondHooks |= rods::kSecondHook;
        }
        DeleteTemporaries();
    }

    CRodXDataParameters firstRecord = record;
    firstRecord.hooks = firstHooks;
    sds_name firstMade = {0, 0};
    if (!ReshapeDrawBar(first, firstRecord, firstMade)) {
        undo.Close();
        return false;
    }
    // Counted with the bar still there and its first part already a bar.
    CRodXDataParameters secondRecord = record;
    secondRecord.type = LoadUiString(rods::kIdBarTag);
    secondRecord.ordinal = CountRods(0) + 1;
    // A gap in the numbering (bars erased by other means) leaves the next number in use.
    secondRecord.number = BarNumbering().firstFree;
    secondRecord.DropTypedEntries();
    secondRecord.hooks = secondHooks;
    sds_name secondMade = {0, 0};
    if (!ReshapeDrawBar(second, secondRecord, secondMade)) {
        sds_entdel(firstMade);
        undo.Close();
        return false;
    }
    const std::vector<std::array<long, 2>> before = RecordReferences(EntityHandle(bar));
    ReshapeTexts(bar, {{firstMade[0], firstMade[1]}, {secondMade[0], secondMade[1]}});

    for (const auto& words : ReshapeSameNumberBars(firstMade, record.number)) {
        const sds_name other = {words[0], words[1]};
        if (other[0] == bar[0] && other[1] == bar[1]) {
            continue;
        }
        std::vector<CSDSPointExt> otherVertices;
        if (LoadRodVertices(other, otherVertices) != 1) {
            continue;
        }
        const double dx = otherVertices[0].x - v[0].x;
        const double dy = otherVertices[0].y - v[0].y;
        auto moved = [dx, dy](std::vector<CSDSPointExt> part) {
            for (CSDSPointExt& p : part) {
                p.x += dx;
                p.y += dy;
            }
            return part;
        };
        CRodXDataParameters own;
        xdata.ReadRodRecord(other, key, own);
        CRodXDataParameters ownFirst = own;
        ownFirst.hooks = firstHooks;
        sds_name a = {0, 0};
        if (!ReshapeDrawBar(moved(first), ownFirst, a)) {
            continue;
        }
        CRodXDataParameters ownSecond = own;
        ownSecond.type = secondRecord.type;
        ownSecond.ordinal = CountRods(0) + 1;
        ownSecond.number = secondRecord.number;
        ownSecond.DropTypedEntries();
        ownSecond.hooks = secondHooks;
        sds_name b = {0, 0};
        if (!ReshapeDrawBar(moved(second), ownSecond, b)) {
            sds_entdel(a);
            continue;
        }
        const std::vector<std::array<long, 2>> before = RecordReferences(EntityHandle(other));
        ReshapeTexts(other, {{a[0], a[1]}, {b[0], b[1]}});
        sds_entdel(other);
        // A copy's group must not go on listing the bar and the texts made again.
        DropDeadGroupMembers(before);
        sds_redraw(a, 1);
        sds_redraw(b, 1);
    }
    sds_entdel(bar);
    DropDeadGroupMembers(before);
    sds_redraw(firstMade, 1);
    sds_redraw(secondMade, 1);
    undo.Close();
    return true;
}
