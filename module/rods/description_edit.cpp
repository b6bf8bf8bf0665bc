// ERD: rewriting the texts of a leader description through the description editor, the
// shelf lengthened (towards its own direction) when the new texts need more room.
#include <cmath>
#include <string>
#include <vector>

#include "module/entities/pick.h"
#include "module/entities/sds_base.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_geometry.h"
#include "module/ui/description_workers.h"
#include "module/ui/edit_description_dlg.h"
#include "module/ui/toolbar_dlg.h"

namespace {

constexpr int kIdPickDescription = 151;
constexpr int kIdNotLeader = 1003;
// A host that keeps giving answers that fit nothing must not hold the prompt for ever.
constexpr int kMaxRepeatedAnswers = 1000;

bool SamePoint(const sds_point a, const sds_point b) {
    return std::fabs(a[0] - b[0]) < rods::kEqualTolerance &&
           std::fabs(a[1] - b[1]) < rods::kEqualTolerance &&
           std::fabs(a[2] - b[2]) < rods::kEqualTolerance;
}

struct Member {
    sds_name name = {0, 0};
    std::string type;
    std::string tag;
};

}  // namespace

void EditDescriptionWorker(CToolBarDlg& panel) {
    CObslugaPreta rod(&panel);
    rod.EditDescription();
}

bool CObslugaPreta::IsLeaderDescription(const sds_name entity, sds_name members) {
    members[0] = 0;
    members[1] = 0;
    const std::string type = EntityTypeName(entity);
    if (type != "TEXT" && type != "CIRCLE" && type != "LWPOLYLINE") {
        return false;
    }
    CRodDescriptionLink link;
    xdata.ReadDescriptionLink(entity, LoadUiString(rods::kIdRecordKey), link);
    bool leader = false;
    for (int id : {rods::kIdLeaderTag, rods::kIdLeaderNumberTag, rods::kIdLeaderSignTag,
                   rods::kIdLeaderCountTag, rods::kIdLeaderMainTag}) {
        leader = leader || link.type == LoadUiString(id);
    }
    if (!leader) {
        return false;
    }
    sds_name groups = {0, 0};
    if (CSDSGroup::GroupsOf(entity, groups) != RTNORM) {
        return false;
    }
    long length = 0;
    sds_sslength(groups, &length);
    bool found = false;
    for (long i = 0; i < length && !found; ++i) {
        sds_name group = {0, 0};
        sds_name set = {0, 0};
        if (sds_ssname(groups, i, group) != RTNORM) {
            continue;
        }
        const int contains = CSDSGroup::MembersIfContains(entity, group, set);
        if (contains == 1) {
            members[0] = set[0];
            members[1] = set[1];
            found = true;
        } else if (set[0] != 0 || set[1] != 0) {
            sds_ssfree(set);
        }
    }
    sds_ssfree(groups);
    return found;
}

void CObslugaPreta::EditDescription() {
    const std::string prompt = LoadUiString(kIdPickDescription);
    sds_name members = {0, 0};
    bool picked = false;
    sds_name entity = {0, 0};
    for (int i = 0; i < kMaxRepeatedAnswers && !picked; ++i) {
        sds_point at = {0, 0, 0};
        const int result = PickAccepted(
            prompt,
            [&](sds_name candidate) {
                sds_name set = {0, 0};
                if (!IsLeaderDescription(candidate, set)) {
                    return false;
                }
                long count = 0;
                sds_sslength(set, &count);
                sds_ssfree(set);
                return count > 0;
            },
            LoadUiString(kIdNotLeader), entity, at);
        if (result == RTCAN || result == RTERROR) {
            return;
        }
        picked = result == RTNORM && IsLeaderDescription(entity, members);
    }
    if (!picked) {
        return;
    }
    UndoGroup undo;
    const std::string key = LoadUiString(rods::kIdRecordKey);
    // The pieces of one leader name the point it starts at; a group that holds several
    // leaders (copies made by earlier versions grouped them so) is edited for the picked one.
    CRodDescriptionLink pickedLink;
    xdata.ReadDescriptionLink(entity, key, pickedLink);
    int leaderLines = 0;
    for (const auto& words : SelectionMembers(members)) {
        leaderLines += EntityTypeName(words.data()) == "LWPOLYLINE" ? 1 : 0;
    }
    const std::string numberTag = LoadUiString(rods::kIdLeaderNumberTag);
    const std::string signTag = LoadUiString(rods::kIdLeaderSignTag);
    const std::string countTag = LoadUiString(rods::kIdLeaderCountTag);
    std::vector<Member> pieces;
    std::string number;
    std::string count;
    std::string prefix;
    std::string mainText;
    double h = 0.0;
    std::vector<CSDSPointExt> leader;
    sds_point centre = {0, 0, 0};
    long length = 0;
    sds_sslength(members, &length);
    for (long i = 0; i < length; ++i) {
        Member m;
        if (sds_ssname(members, i, m.name) != RTNORM) {
            continue;
        }
        m.type = EntityTypeName(m.name);
        CRodDescriptionLink link;
        xdata.ReadDescriptionLink(m.name, key, link);
        if (leaderLines > 1 && !SamePoint(link.point, pickedLink.point)) {
            continue;
        }
        m.tag = link.type;
        if (m.type == "TEXT") {
            h = CSDSText::GetHeight(m.name);
            const std::string content = CSDSText::GetString(m.name);
            if (m.tag == numberTag) {
                number = content;
            } else if (m.tag == signTag) {
                prefix = content;
            } else if (m.tag == countTag) {
                count = content;
            } else {
                mainText = content;
            }
        } else if (m.type == "LWPOLYLINE") {
            leader.clear();
            CSDSPolyLine::GetVertices(m.name, leader);
        } else if (m.type == "CIRCLE") {
            CSDSCircle::GetCenter(m.name, centre);
        }
        pieces.push_back(m);
    }
    sds_ssfree(members);

    CEditDescriptionDlg dialog(static_cast<platform::Window*>(sds_getmainhwnd()));
    dialog.SetDescription(number, count, prefix, mainText);
    if (dialog.DoModal() != platform::IDOK) {
        undo.Close();
        return;
    }
    const double need = h * (5.0 + static_cast<double>(dialog.description.size()) +
                             0.75 * static_cast<double>(dialog.number.size()));
    double grow = 0.0;
    if (leader.size() >= 2) {
        CSDSPointExt& q = leader.back();
        const CSDSPointExt& p = leader[leader.size() - 2];
        const double shelf = std::hypot(q.x - p.x, q.y - p.y);
        if (shelf < need) {
            grow = p.x > q.x ? -(need - shelf) : need - shelf;
            q.x += grow;
        }
    }
    for (const Member& m : pieces) {
        if (m.type == "TEXT") {
            const std::string content = m.tag == numberTag  ? dialog.number
                                        : m.tag == signTag  ? dialog.prefix
                                        : m.tag == countTag ? dialog.count
                                                            : dialog.description;
            text.SetString(m.name, content);
            sds_point insertion;
            sds_point alignment;
            if (grow != 0.0 && CSDSText::GetPoints(m.name, insertion, alignment) == RTNORM) {
                insertion[0] += grow;
                alignment[0] += grow;
                text.SetPoints(m.name, insertion, alignment);
            }
        } else if (m.type == "LWPOLYLINE" && grow != 0.0) {
            polyline.ReplaceVertices(m.name, leader);
        } else if (m.type == "CIRCLE" && grow != 0.0) {
            sds_point moved = {centre[0] + grow, centre[1], centre[2]};
            circle.SetCenter(m.name, moved);
        }
    }
    undo.Close();
}
