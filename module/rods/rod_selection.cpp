// How an edit operation gets its bar and what belongs to it: the pre-selection with the bar
// picker, the pick prompt, the bar's group found by owner handle, leader pieces left out of a
// set, and the clean-up every operation ends with.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "module/entities/pick.h"
#include "module/entities/sds_base.h"
#include "module/model/steel.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/ui/select_rod_dlg.h"
#include "platform/dialog.h"

namespace {

// A host that keeps answering a pick prompt without the user must not hold the operation
// for ever; a user gives up long before.
constexpr int kMaxPicks = 10000;
constexpr int kStrHorizontalProjectionTag = 47;
constexpr int kStrVerticalProjectionTag = 48;
constexpr int kStrNotBar = 1000;
constexpr int kStrNotBarOrProjection = 1001;

bool IsNull(const sds_name name) {
    return name == nullptr || (name[0] == 0 && name[1] == 0);
}

std::string Format(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// The record key and the type tags, loaded once.
struct Tags {
    std::string key = LoadUiString(rods::kIdRecordKey);
    std::string bar = LoadUiString(rods::kIdBarTag);
    std::string dimension = LoadUiString(rods::kIdDimensionTag);
    std::string description = LoadUiString(rods::kIdDescriptionTag);
    std::string descriptionNumber = LoadUiString(rods::kIdDescriptionNumberTag);
    // The pieces of a description on a leader.
    std::vector<std::string> leader = {
        LoadUiString(rods::kIdLeaderTag), LoadUiString(rods::kIdLeaderNumberTag),
        LoadUiString(rods::kIdLeaderMainTag), LoadUiString(rods::kIdLeaderSignTag),
        LoadUiString(rods::kIdLeaderCountTag)};

    bool IsLeader(const std::string& tag) const {
        return std::find(leader.begin(), leader.end(), tag) != leader.end();
    }
};

const Tags& TheTags() {
    static const Tags tags;
    return tags;
}

// A projection line of a bar: leaders are drawn on these as on bars.
bool IsProjection(const sds_name entity) {
    return IsProjectionLine(entity, TheTags().key, LoadUiString(kStrHorizontalProjectionTag),
                            LoadUiString(kStrVerticalProjectionTag));
}

}  // namespace

bool CObslugaPreta::IsRod(const sds_name entity) {
    return IsBar(entity, TheTags().key, TheTags().bar);
}

bool CObslugaPreta::TakePreselectedRod(sds_name bar, bool& cancelled) {
    bar[0] = bar[1] = 0;
    cancelled = false;
    resbuf* grips = nullptr;
    resbuf* picks = nullptr;
    const int rc = sds_ssgetfirst(&grips, &picks);
    sds_relrb(grips);
    if (rc != RTNORM || picks == nullptr || picks->restype != RTPICKS) {
        sds_relrb(picks);
        return false;
    }
    sds_name set = {picks->resval.rlname[0], picks->resval.rlname[1]};
    sds_relrb(picks);

    const std::string& key = TheTags().key;
    std::vector<CSelectRodObj> rows;
    for (const auto& member : SelectionMembers(set)) {
        if (!IsRod(member.data())) {
            sds_ssdel(member.data(), set);
            continue;
        }
        CRodXDataParameters record;
        xdata.ReadRodRecord(member.data(), key, record);
        std::vector<CSDSPointExt> rodVertices;
        LoadRodVertices(member.data(), rodVertices);
        CSelectRodObj row;
        row.number = std::to_string(record.number);
        row.diameter = Format("%.1f", record.diameter * 10.0);
        row.steel = SteelName(record.steel);
        row.length = Format("%.0f", BarLength(rodVertices));
        row.entity[0] = member.data()[0];
        row.entity[1] = member.data()[1];
        rows.push_back(row);
    }

    bool taken = false;
    if (rows.size() == 1) {
        taken = sds_ssname(set, 0, bar) == RTNORM;
    } else if (rows.size() > 1) {
        CSelectRodDlg picker;
        picker.SetRows(rows);
        if (picker.DoModal() != platform::IDOK) {
            cancelled = true;
        } else if (const int row = picker.ChosenRow();
                   row >= 1 && row <= static_cast<int>(rows.size())) {
            bar[0] = rows[static_cast<size_t>(row - 1)].entity[0];
            bar[1] = rows[static_cast<size_t>(row - 1)].entity[1];
            taken = true;
        }
    }
    sds_ssfree(set);
    return taken;
}

bool CObslugaPreta::PickRod(const std::string& prompt, sds_name bar, bool projectionsToo) {
    bool cancelled = false;
    if (TakePreselectedRod(bar, cancelled)) {
        return true;
    }
    if (cancelled) {
        return false;
    }
    const std::string refusal = LoadUiString(projectionsToo ? kStrNotBarOrProjection : kStrNotBar);
    for (int tries = 0; tries < kMaxPicks; ++tries) {
        sds_point picked = {0, 0, 0};
        const int rc = PickAccepted(
            prompt,
            [&](sds_name entity) {
                return IsRod(entity) || (projectionsToo && IsProjection(entity));
            },
            refusal, bar, picked);
        if (rc == RTNORM) {
            return true;
        }
        // A click beside everything (RTERROR here) is a wrong answer like a click on
        // something that is not a bar: the prompt asks again. Only Esc gives up.
        if (rc == RTCAN) {
            break;
        }
    }
    bar[0] = bar[1] = 0;
    return false;
}

bool CObslugaPreta::BelongsToRodGroup(const sds_name entity, const std::string& barHandle) {
    resbuf* list = sds_entget(entity);
    const std::string type = CSDSBaseClass::GetTypeName(list);
    const std::string handle = CSDSBaseClass::GetHandle(list);
    // Without an extension dictionary there is no record to read: most of a drawing is
    // passed over here.
    sds_name dictionary = {0, 0};
    const bool marked = CSDSXData::FindExtensionDictionary(list, dictionary);
    sds_relrb(list);
    const bool polyline = type == "LWPOLYLINE";
    if (!marked ||
        (!polyline && type != "TEXT" && type != "CIRCLE" && type != "LINE" && type != "HATCH")) {
        return false;
    }
    const Tags& tags = TheTags();
    std::string tag;
    std::string owner;
    xdata.ReadDimensionLink(entity, tags.key, tag, owner);
    if (polyline) {
        if (tag == tags.bar) {
            return handle == barHandle;
        }
        // Of a leader description only its line may be a polyline.
        return owner == barHandle && (tag == tags.leader.front() || tag == tags.dimension);
    }
    return owner == barHandle && (tag == tags.description || tag == tags.dimension ||
                                  tag == tags.descriptionNumber || tags.IsLeader(tag));
}

long CObslugaPreta::CollectRodGroup(const sds_name bar, sds_name set) {
    if (IsNull(set) && sds_ssadd(nullptr, nullptr, set) != RTNORM) {
        return 0;
    }
    const std::string barHandle = EntityHandle(bar);
    sds_name group = {0, 0};
    if (barHandle.empty() || sds_ssadd(nullptr, nullptr, group) != RTNORM) {
        return 0;
    }
    std::vector<std::array<long, 2>> members;
    for (const auto& entity : RecordReferences(barHandle)) {
        if (BelongsToRodGroup(entity.data(), barHandle)) {
            members.push_back(entity);
            sds_ssadd(entity.data(), group, group);
        }
    }
    sds_sssetfirst(nullptr, group);
    for (const auto& member : members) {
        sds_redraw(member.data(), 3);
        highlighted_.emplace_back(member[0], member[1]);
        sds_ssadd(member.data(), set, set);
    }
    sds_ssfree(group);
    return static_cast<long>(members.size());
}

void CObslugaPreta::HighlightRodGroup(const sds_name bar) {
    sds_name set = {0, 0};
    CollectRodGroup(bar, set);
    if (!IsNull(set)) {
        sds_ssfree(set);
    }
}

long CObslugaPreta::DropLeaderEntities(const sds_name set) {
    const Tags& tags = TheTags();
    long dropped = 0;
    for (const auto& member : SelectionMembers(set)) {
        resbuf* list = sds_entget(member.data());
        const std::string type = CSDSBaseClass::GetTypeName(list);
        sds_relrb(list);
        if (type != "TEXT" && type != "CIRCLE" && type != "LWPOLYLINE") {
            continue;
        }
        std::string tag;
        std::string owner;
        xdata.ReadDimensionLink(member.data(), tags.key, tag, owner);
        if (tags.IsLeader(tag) && sds_ssdel(member.data(), set) == RTNORM) {
            ++dropped;
        }
    }
    return dropped;
}

void CObslugaPreta::EndRodOperation(std::initializer_list<long*> sets) {
    sds_sssetfirst(nullptr, nullptr);
    // The host's whole-drawing redraw need not take highlighting back: what this operation
    // highlighted is taken back one by one (entities erased meanwhile are refused, harmlessly).
    for (const auto& [first, second] : highlighted_) {
        const sds_name name = {first, second};
        sds_redraw(name, 4);
    }
    highlighted_.clear();
    sds_redraw(nullptr, 4);
    for (long* set : sets) {
        if (!IsNull(set)) {
            sds_ssfree(set);
            set[0] = set[1] = 0;
        }
    }
}
