// Copies of a bar: the copy sub-prompt, one copy keeping the number or taking the next one,
// the drawn-out copy completed with its texts, and the rewriting that makes a copied group a
// bar of its own with its own anonymous groups.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "module/entities/resbuf_util.h"
#include "module/entities/sds_base.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_description.h"
#include "module/rods/rod_geometry.h"
#include "module/rods/rod_numbering.h"
#include "module/ui/toolbar_dlg.h"

namespace {

constexpr int kIdCopyPrompt = 64;
constexpr int kIdCopyKeywords = 65;
constexpr int kIdPickToCopy = 67;
constexpr int kIdKeepNumberKeyword = 18;

// An anonymous group of the entities, in the order given; 1 when made.
int MakeGroup(CSDSGroup& group, const std::vector<std::array<long, 2>>& entities) {
    if (entities.empty()) {
        return 0;
    }
    sds_name members = {0, 0};
    if (sds_ssadd(nullptr, nullptr, members) != RTNORM) {
        return 0;
    }
    for (const auto& words : entities) {
        const sds_name entity = {words[0], words[1]};
        sds_name grown = {0, 0};
        if (sds_ssadd(entity, members, grown) == RTNORM) {
            members[0] = grown[0];
            members[1] = grown[1];
        }
    }
    const int made = group.Create(members, "", 1, 1) == RTNORM ? 1 : 0;
    sds_ssfree(members);
    return made;
}

bool IsLeaderTag(const std::string& tag) {
    for (int id : {rods::kIdLeaderTag, rods::kIdLeaderNumberTag, rods::kIdLeaderSignTag,
                   rods::kIdLeaderCountTag, rods::kIdLeaderMainTag}) {
        if (tag == LoadUiString(id)) {
            return true;
        }
    }
    return false;
}

void EndOperation() {
    sds_sssetfirst(nullptr, nullptr);
    sds_redraw(nullptr, 4);
}

bool SamePoint(const double a[3], const double b[3]) {
    return std::fabs(a[0] - b[0]) < rods::kEqualTolerance &&
           std::fabs(a[1] - b[1]) < rods::kEqualTolerance &&
           std::fabs(a[2] - b[2]) < rods::kEqualTolerance;
}

// The first group that lists the entity, {0, 0} when none does.
std::array<long, 2> SourceGroup(const std::array<long, 2>& entity) {
    sds_name groups = {0, 0};
    std::array<long, 2> found = {0, 0};
    if (CSDSGroup::GroupsOf(entity.data(), groups) == RTNORM) {
        const std::vector<std::array<long, 2>> listing = SelectionMembers(groups);
        if (!listing.empty()) {
            found = listing.front();
        }
        sds_ssfree(groups);
    }
    return found;
}

}  // namespace

void CObslugaPreta::CopyRod(const RodPicker& pick) {
    const std::string keywords = LoadUiString(kIdCopyKeywords);
    const std::string keepNumber = LoadUiString(kIdKeepNumberKeyword);
    std::string chosen;
    while (AskSubOption(LoadUiString(kIdCopyPrompt), keywords, LastCopyMode, false, chosen)) {
        LastCopyMode = chosen;
        sds_name bar = {0, 0};
        if (pick(LoadUiString(kIdPickToCopy), false, bar)) {
            CopyRodOnce(chosen == keepNumber, bar);
        }
    }
}

bool CObslugaPreta::CopyRodOnce(bool keepNumber, const sds_name bar) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    if (!IsBar(bar, key, LoadUiString(rods::kIdBarTag))) {
        return false;
    }
    UndoGroup undo;
    sds_name set = {0, 0};
    CollectRodGroup(bar, set);
    if (!keepNumber) {
        // A bar of another number is described anew: the leaders stay with their own bar.
        DropLeaderEntities(set);
    }
    sds_name copies = {0, 0};
    sds_point displacement = {0, 0, 0};
    std::vector<std::array<long, 2>> sources;
    long count = 0;
    const bool copied = DragRodGroup(set, copies, displacement, "_COPY", "", &sources) &&
                        sds_sslength(copies, &count) == RTNORM && count > 0;
    if (copied) {
        if (keepNumber) {
            GroupLeaderEntities(SelectionMembers(copies), sources);
        }
        GroupCopies(copies);
        CRodXDataParameters record;
        xdata.ReadRodRecord(bar, key, record);
        // Counted with the copy: the copy's ordinal is the number of bars, as a new bar's is,
        // so that the next bar drawn does not take the same ordinal.
        record.ordinal = CountRods(0);
        if (!keepNumber) {
            record.DropTypedEntries();
            record.number = BarNumbering().firstFree;
        }
        sds_name copiedBar = {0, 0};
        RetargetRodGroup(copies, copiedBar, displacement, record, !keepNumber);
    }
    EndRodOperation({set, copies});
    undo.Close();
    return copied;
}

bool CObslugaPreta::EjectRod(const sds_name bar) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    if (!IsBar(bar, key, LoadUiString(rods::kIdBarTag))) {
        return false;
    }
    UndoGroup undo;
    sds_name set = {0, 0};
    CollectRodGroup(bar, set);
    DropLeaderEntities(set);
    sds_name copies = {0, 0};
    sds_point displacement = {0, 0, 0};
    long count = 0;
    const bool copied = DragRodGroup(set, copies, displacement, "_COPY", "") &&
                        sds_sslength(copies, &count) == RTNORM && count > 0;
    if (copied) {
        CRodXDataParameters record;
        xdata.ReadRodRecord(bar, key, record);
        record.ordinal = CountRods(0);
        sds_name copiedBar = {0, 0};
        RetargetRodGroup(copies, copiedBar, displacement, record, false);
        // The copy repeats the bar's own texts; what the bar lacks, the copy is given.
        const std::string owner = EntityHandle(bar);
        const bool hasDimensions =
            !FindOwnedEntities(owner, {"TEXT", "LINE", "LWPOLYLINE", "CIRCLE", "HATCH"},
                               {LoadUiString(rods::kIdDimensionTag)})
                 .empty();
        const bool hasDescription =
            !FindOwnedEntities(owner, {"TEXT", "CIRCLE"},
                               {LoadUiString(rods::kIdDescriptionTag),
                                LoadUiString(rods::kIdDescriptionNumberTag)})
                 .empty();
        std::vector<CSDSPointExt> copyVertices;
        if ((!hasDimensions || !hasDescription) && (copiedBar[0] != 0 || copiedBar[1] != 0) &&
            LoadRodVertices(copiedBar, copyVertices) == 1) {
            if (!hasDimensions) {
                DrawRodDimensions(copiedBar, copyVertices);
            }
            sds_point anchor = {0, 0, 0};
            if (!hasDescription && DescriptionAnchor(copiedBar, copyVertices, anchor) >= 0) {
                const int barCount = panel != nullptr ? panel->GetCount() : 1;
                DrawDescription(copiedBar, anchor, copyVertices, record.number, barCount,
                                record.diameter * 10.0);
            }
        }
    }
    undo.Close();
    EndRodOperation({set, copies});
    return copied;
}

int CObslugaPreta::ReplaceRodRecord(const sds_name bar, const CRodXDataParameters& record) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    sds_name dictionary = {0, 0};
    int result = xdata.EnsureExtensionDictionary(bar, dictionary);
    if (result != RTNORM) {
        return result;
    }
    DropRecord(dictionary, key);
    return xdata.WriteRodRecord(dictionary, key, record);
}

int CObslugaPreta::ReplaceLinkRecord(const sds_name entity, const std::string& type,
                                     const std::string& owner, const sds_point point,
                                     bool withPoint) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    sds_name dictionary = {0, 0};
    int result = xdata.EnsureExtensionDictionary(entity, dictionary);
    if (result != RTNORM) {
        return result;
    }
    DropRecord(dictionary, key);
    return withPoint ? xdata.WriteDescriptionLink(dictionary, key, type, owner, point)
                     : xdata.WriteDimensionLink(dictionary, key, type, owner);
}

void CObslugaPreta::DropRecord(const sds_name dictionary, const std::string& key) {
    rblist::Owned entry(sds_dictsearch(dictionary, key.c_str(), 0));
    const resbuf* name = rblist::Find(entry.get(), -1);
    if (name == nullptr) {
        return;
    }
    sds_name record = {name->resval.rlname[0], name->resval.rlname[1]};
    // Out of the dictionary and erased: a record no one files must not outlive its entry.
    if (sds_dictdel(dictionary, key.c_str()) == RTNORM) {
        sds_entdel(record);
    }
}

void CObslugaPreta::RetargetRodGroup(const sds_name copies, sds_name copiedBar,
                                     const sds_point displacement,
                                     const CRodXDataParameters& record, bool renumberTexts) {
    EndOperation();
    copiedBar[0] = copiedBar[1] = 0;
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string barTag = LoadUiString(rods::kIdBarTag);
    const std::vector<std::array<long, 2>> members = SelectionMembers(copies);
    for (const auto& words : members) {
        const sds_name entity = {words[0], words[1]};
        if (IsBar(entity, key, barTag)) {
            copiedBar[0] = entity[0];
            copiedBar[1] = entity[1];
            break;
        }
    }
    if (copiedBar[0] == 0 && copiedBar[1] == 0) {
        return;
    }
    ReplaceRodRecord(copiedBar, record);
    const std::string owner = EntityHandle(copiedBar);
    const std::string dimensionTag = LoadUiString(rods::kIdDimensionTag);
    const std::string numberTag = LoadUiString(rods::kIdDescriptionNumberTag);
    const std::vector<std::string> linkTags = {LoadUiString(rods::kIdDescriptionTag),
                                               dimensionTag,
                                               numberTag,
                                               LoadUiString(rods::kIdLeaderTag),
                                               LoadUiString(rods::kIdLeaderNumberTag),
                                               LoadUiString(rods::kIdLeaderSignTag),
                                               LoadUiString(rods::kIdLeaderCountTag),
                                               LoadUiString(rods::kIdLeaderMainTag)};
    for (const auto& words : members) {
        const sds_name entity = {words[0], words[1]};
        if (entity[0] == copiedBar[0] && entity[1] == copiedBar[1]) {
            continue;
        }
        CRodDescriptionLink link;
        xdata.ReadDescriptionLink(entity, key, link);
        if (std::find(linkTags.begin(), linkTags.end(), link.type) == linkTags.end()) {
            continue;
        }
        if (renumberTexts && link.type == numberTag && EntityTypeName(entity) == "TEXT") {
            text.SetString(entity, rods::NumberText(record.number));
        }
        // Dimension texts keep their two-field link; the others carry the point they were
        // drawn for, which went along with them.
        const bool withPoint = link.type != dimensionTag;
        for (int i = 0; i < 3; ++i) {
            link.point[i] += displacement[i];
        }
        ReplaceLinkRecord(entity, link.type, owner, link.point, withPoint);
    }
}

int CObslugaPreta::GroupLeaderEntities(const std::vector<std::array<long, 2>>& copies,
                                       const std::vector<std::array<long, 2>>& sources) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    // One leader: the group its pieces were copied from ({0, 0}: none) and the point where
    // it starts, which every piece of it names (a group of earlier versions may hold two).
    struct Leader {
        std::array<long, 2> group;
        CRodDescriptionLink link;
        std::vector<std::array<long, 2>> pieces;
    };
    std::vector<Leader> leaders;
    for (size_t i = 0; i < copies.size() && i < sources.size(); ++i) {
        const sds_name entity = {copies[i][0], copies[i][1]};
        const std::string type = EntityTypeName(entity);
        if (type != "TEXT" && type != "CIRCLE" && type != "LWPOLYLINE") {
            continue;
        }
        CRodDescriptionLink link;
        xdata.ReadDescriptionLink(entity, key, link);
        if (!IsLeaderTag(link.type)) {
            continue;
        }
        const std::array<long, 2> from = SourceGroup(sources[i]);
        auto leader = std::find_if(leaders.begin(), leaders.end(), [&](const Leader& known) {
            return known.group == from && SamePoint(known.link.point, link.point);
        });
        if (leader == leaders.end()) {
            leaders.push_back({from, link, {}});
            leader = leaders.end() - 1;
        }
        leader->pieces.push_back(copies[i]);
    }
    int made = 0;
    for (const Leader& leader : leaders) {
        made += MakeGroup(group, leader.pieces);
    }
    return made;
}

int CObslugaPreta::GroupCopies(const sds_name set) {
    const std::vector<std::array<long, 2>> members = SelectionMembers(set);
    std::vector<std::array<long, 2>> ordered;
    for (const char* kind : {"LINE", "LWPOLYLINE", "CIRCLE", "TEXT"}) {
        for (const auto& words : members) {
            const sds_name entity = {words[0], words[1]};
            if (EntityTypeName(entity) == kind) {
                ordered.push_back(words);
            }
        }
    }
    return MakeGroup(group, ordered);
}
