// AUDIT's reading of the drawing: one pass over the entities for the bars, the owners that
// are not bars and the pieces that name an owner, then the groups of ACAD_GROUP, then the
// module's records that nothing owns.
#include "module/audit/audit_scan.h"

#include <algorithm>

#include "module/entities/resbuf_util.h"
#include "module/resources/strings.h"

namespace audit {
namespace {

constexpr int kStrProjectionHorizontal = 47;
constexpr int kStrProjectionVertical = 48;
constexpr int kStrSectionTag = 96;

// Tags of the pieces that name a bar (or a projection line or disc) as their owner.
constexpr int kLinkTags[] = {rods::kIdDimensionTag,    rods::kIdDescriptionTag,
                             rods::kIdLeaderTag,       rods::kIdDescriptionNumberTag,
                             rods::kIdLeaderNumberTag, rods::kIdLeaderSignTag,
                             rods::kIdLeaderCountTag,  rods::kIdLeaderMainTag};

bool IsLinkTag(const std::string& tag) {
    for (int id : kLinkTags) {
        if (tag == LoadUiString(id)) {
            return true;
        }
    }
    return false;
}

std::string TextOf(const resbuf* list, int code) {
    const resbuf* found = rblist::Find(list, code);
    return found != nullptr ? rblist::Text(found) : std::string();
}

// The groups of an XRECORD's list that hold its data: what follows the object's own groups.
std::vector<const resbuf*> DataNodes(const resbuf* list) {
    std::vector<const resbuf*> data;
    for (const resbuf* node = list; node != nullptr; node = node->rbnext) {
        const int code = node->restype;
        if (code >= 1 && code != 5 && code != 100 && code != 102 && code != 280 && code != 330 &&
            code != 360) {
            data.push_back(node);
        }
    }
    return data;
}

// A record the module writes: led by one of its tags, or a stored schedule row (five texts,
// then seven whole numbers).
bool IsModuleRecord(const resbuf* list, const std::vector<std::string>& tags) {
    const std::vector<const resbuf*> data = DataNodes(list);
    if (!data.empty() && data[0]->restype == 1 &&
        std::find(tags.begin(), tags.end(), rblist::Text(data[0])) != tags.end()) {
        return true;
    }
    if (data.size() != 12) {
        return false;
    }
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i]->restype != (i < 5 ? 1 : 70)) {
            return false;
        }
    }
    return true;
}

// Records of the module, and dictionaries filing one under the record key, that nothing owns.
void ScanUnowned(DrawingSeen& seen, const std::vector<std::string>& tags) {
    resbuf* names = nullptr;
    if (sds_unownedobjects(&names) != RTNORM) {
        return;
    }
    const std::string key = LoadUiString(rods::kIdRecordKey);
    for (const resbuf* name = names; name != nullptr; name = name->rbnext) {
        rblist::Owned list(sds_entget(name->resval.rlname));
        const std::string type = TextOf(list.get(), 0);
        bool module = false;
        if (type == "XRECORD") {
            module = IsModuleRecord(list.get(), tags);
        } else if (type == "DICTIONARY") {
            for (const resbuf* node = list.get(); node != nullptr && !module; node = node->rbnext) {
                module = node->restype == 3 && rblist::Text(node) == key;
            }
        }
        if (module) {
            seen.unowned.push_back({TextOf(list.get(), 5), type});
        }
    }
    sds_relrb(names);
}

void ScanGroups(DrawingSeen& seen) {
    sds_name named = {0, 0};
    if (sds_namedobjdict(named) != RTNORM) {
        return;
    }
    rblist::Owned entry(sds_dictsearch(named, "ACAD_GROUP", 0));
    std::string name;
    for (const resbuf* node = entry.get(); node != nullptr; node = node->rbnext) {
        if (node->restype == 3) {
            name = rblist::Text(node);
            continue;
        }
        if (node->restype != 350 || name.empty()) {
            continue;
        }
        const sds_name group = {node->resval.rlname[0], node->resval.rlname[1]};
        rblist::Owned list(sds_entget(group));
        GroupSeen seenGroup{name, 0};
        for (const resbuf* member = list.get(); member != nullptr; member = member->rbnext) {
            if (member->restype == 340) {
                rblist::Owned alive(sds_entget(member->resval.rlname));
                seenGroup.erasedMembers += alive == nullptr ? 1 : 0;
            }
        }
        seen.groups.push_back(seenGroup);
        name.clear();
    }
}

}  // namespace

DrawingSeen Scan(CObslugaPreta& rod) {
    DrawingSeen seen;
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string barTag = LoadUiString(rods::kIdBarTag);
    // The number beside a bar is the bar's own; a leader's number on a bar is the user's to
    // change (ERD), so it may differ from the bar's without being a fault. A leader on a view
    // is the only place where a section names its mark, and on a projection it must show the
    // projection's mark: those are checked.
    const std::string numberTag = LoadUiString(rods::kIdDescriptionNumberTag);
    const std::string leaderNumberTag = LoadUiString(rods::kIdLeaderNumberTag);
    const std::string projectionTags[] = {LoadUiString(kStrProjectionHorizontal),
                                          LoadUiString(kStrProjectionVertical)};
    const std::string sectionTag = LoadUiString(kStrSectionTag);
    sds_name all = {0, 0};
    if (sds_ssget("X", nullptr, nullptr, nullptr, all) == RTNORM) {
        long length = 0;
        sds_sslength(all, &length);
        for (long i = 0; i < length; ++i) {
            sds_name entity = {0, 0};
            if (sds_ssname(all, i, entity) != RTNORM) {
                continue;
            }
            // Type and owner lead every link record; a bar's and a disc's records start with
            // their tag too.
            std::string tag;
            std::string owner;
            rod.xdata.ReadDimensionLink(entity, key, tag, owner);
            if (tag.empty()) {
                continue;
            }
            rblist::Owned list(sds_entget(entity));
            const std::string type = TextOf(list.get(), 0);
            const std::string handle = TextOf(list.get(), 5);
            if (tag == barTag && type == "LWPOLYLINE") {
                CRodXDataParameters record;
                rod.xdata.ReadRodRecord(entity, key, record);
                BarSeen bar{handle, record.number, record.diameter, record.steel, {}};
                CObslugaPreta::LoadRodVertices(entity, bar.vertices);
                seen.bars.push_back(bar);
            } else if ((tag == projectionTags[0] || tag == projectionTags[1]) && type == "LINE") {
                seen.otherOwners.insert(handle);
                CRodXDataParameters record;
                rod.xdata.ReadRodRecord(entity, key, record);
                seen.views.push_back({handle, false, record.number, record.diameter, record.steel});
            } else if (tag == sectionTag && type == "CIRCLE") {
                seen.otherOwners.insert(handle);
                CRodProfileXDataParameters record;
                rod.xdata.ReadProfileRecord(entity, key, record);
                seen.views.push_back({handle, true, 0, record.diameter, record.steel});
            } else if (IsLinkTag(tag)) {
                LinkSeen link{handle, type, owner, false, false, {}};
                if (type == "TEXT" && (tag == numberTag || tag == leaderNumberTag)) {
                    link.numberText = tag == numberTag;
                    link.leaderNumberText = tag == leaderNumberTag;
                    link.text = TextOf(list.get(), 1);
                }
                seen.links.push_back(link);
            }
        }
        sds_ssfree(all);
    }
    ScanGroups(seen);
    std::vector<std::string> tags = {barTag, projectionTags[0], projectionTags[1], sectionTag};
    for (int id : kLinkTags) {
        tags.push_back(LoadUiString(id));
    }
    ScanUnowned(seen, tags);
    return seen;
}

std::vector<Finding> FindingsOfDrawing() {
    CObslugaPreta rod(nullptr);
    return Check(Scan(rod));
}

}  // namespace audit
