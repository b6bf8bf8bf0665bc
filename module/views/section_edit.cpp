// EPP: the option loop over cross-sections; a section described on a leader with a bar number
// typed or taken from a bar, and a section given the panel's diameter and steel, its discs
// rebuilt at the new size in one undo step.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "module/entities/pick.h"
#include "module/entities/sds_base.h"
#include "module/model/steel.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/ui/toolbar_dlg.h"
#include "module/views/view_common.h"

using namespace views;

namespace {

bool IsSectionCircle(CSDSXDataPret& xdata, const sds_name entity) {
    if (EntityTypeName(entity) != "CIRCLE") {
        return false;
    }
    CRodProfileXDataParameters record;
    xdata.ReadProfileRecord(entity, LoadUiString(rods::kIdRecordKey), record);
    return record.type == LoadUiString(kIdSectionTag);
}

// Picks at `prompt` until `accept` takes an entity (the nearest it takes within the pick
// aperture); false when the user gave up. `accept` may turn the picked entity into the one
// the operation works on; `refusal` (string id) tells a pick that found nothing it takes.
bool PickUntil(const std::string& prompt, int refusal, sds_name picked, const PickAccepts& accept) {
    const std::string refusalText = LoadUiString(refusal);
    for (int i = 0; i < kMaxRepeatedAnswers; ++i) {
        sds_point at = {0, 0, 0};
        const int result = PickAccepted(prompt, accept, refusalText, picked, at);
        if (result == RTCAN) {
            return false;
        }
        // A click beside everything is a wrong answer like a click on something else.
        if (result == RTNORM) {
            return true;
        }
    }
    return false;
}

// A piece of a disc rebuilt at a new size.
struct Replacement {
    std::array<long, 2> before, after;
    std::string beforeHandle, afterHandle;
};

// The disc's group lists the rebuilt pieces in place of the old ones, so that it never names
// an erased entity; a disc that had no group gets a new one.
void Regroup(const std::vector<Replacement>& replaced, const sds_name member) {
    sds_name groups = {0, 0};
    bool regrouped = false;
    if (CSDSGroup::GroupsOf(member, groups) == RTNORM) {
        for (const auto& g : SelectionMembers(groups)) {
            sds_name members = {0, 0};
            const int holds = CSDSGroup::MembersIfContains(member, g.data(), members);
            sds_ssfree(members);
            if (holds != 1) {
                continue;
            }
            resbuf* list = sds_entget(g.data());
            for (resbuf* node = list; node != nullptr; node = node->rbnext) {
                for (const Replacement& r : replaced) {
                    if (node->restype == 340 && node->resval.rlname[0] == r.before[0] &&
                        node->resval.rlname[1] == r.before[1]) {
                        node->resval.rlname[0] = r.after[0];
                        node->resval.rlname[1] = r.after[1];
                    }
                }
            }
            regrouped = list != nullptr && sds_entmod(list) == RTNORM;
            sds_relrb(list);
            break;
        }
        sds_ssfree(groups);
    }
    sds_name set = {0, 0};
    if (regrouped || sds_ssadd(nullptr, nullptr, set) != RTNORM) {
        return;
    }
    for (const Replacement& r : replaced) {
        const sds_name entity = {r.after[0], r.after[1]};
        sds_name grown = {0, 0};
        if (sds_ssadd(entity, set, grown) == RTNORM) {
            set[0] = grown[0];
            set[1] = grown[1];
        }
    }
    CSDSGroup().Create(set, "", 1, 1);
    sds_ssfree(set);
}

// Descriptions drawn on the disc name it as their owner: they follow it to its new circle.
void KeepLeadersOwned(CSDSXDataPret& xdata, const std::vector<Replacement>& replaced) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::vector<std::string> leaderTags = {
        LoadUiString(rods::kIdLeaderTag), LoadUiString(rods::kIdLeaderNumberTag),
        LoadUiString(rods::kIdLeaderSignTag), LoadUiString(rods::kIdLeaderCountTag),
        LoadUiString(rods::kIdLeaderMainTag)};
    // A leader names its disc's handle in its records: the host's record index finds them.
    for (const Replacement& r : replaced) {
        for (const auto& entity : RecordReferences(r.beforeHandle)) {
            CRodDescriptionLink link;
            xdata.ReadDescriptionLink(entity.data(), key, link);
            sds_name dictionary = {0, 0};
            if (link.owner == r.beforeHandle &&
                std::find(leaderTags.begin(), leaderTags.end(), link.type) != leaderTags.end() &&
                xdata.ResetExtensionDictionary(entity.data(), dictionary) == RTNORM) {
                link.owner = r.afterHandle;
                xdata.WriteDescriptionLink(dictionary, key, link);
            }
        }
    }
}

// The circle of the disc that a pick hit: the host gives the hatch when both lie under the
// cursor (the hatch was made last), and a user clicking a disc means its section.
bool DiscCircle(CSDSXDataPret& xdata, sds_name picked) {
    if (IsSectionCircle(xdata, picked)) {
        return true;
    }
    if (EntityTypeName(picked) != "HATCH" ||
        !IsCrossSectionDisc(picked, LoadUiString(rods::kIdRecordKey),
                            LoadUiString(kIdSectionTag))) {
        return false;
    }
    sds_name groups = {0, 0};
    if (CSDSGroup::GroupsOf(picked, groups) != RTNORM) {
        return false;
    }
    bool found = false;
    for (const auto& g : SelectionMembers(groups)) {
        sds_name members = {0, 0};
        if (CSDSGroup::MembersIfContains(picked, g.data(), members) == 1) {
            for (const auto& member : SelectionMembers(members)) {
                if (!found && IsSectionCircle(xdata, member.data())) {
                    picked[0] = member.data()[0];
                    picked[1] = member.data()[1];
                    found = true;
                }
            }
        }
        sds_ssfree(members);
        if (found) {
            break;
        }
    }
    sds_ssfree(groups);
    return found;
}

}  // namespace

bool CObslugaPreta::IsCrossSection(const sds_name entity, sds_name groupSet) {
    groupSet[0] = groupSet[1] = 0;
    if (!IsSectionCircle(xdata, entity)) {
        return false;
    }
    sds_name groups = {0, 0};
    if (CSDSGroup::GroupsOf(entity, groups) == RTNORM) {
        for (const auto& g : SelectionMembers(groups)) {
            sds_name members = {0, 0};
            if (CSDSGroup::MembersIfContains(entity, g.data(), members) == 1) {
                groupSet[0] = members[0];
                groupSet[1] = members[1];
                break;
            }
            sds_ssfree(members);
        }
        sds_ssfree(groups);
    }
    // A disc whose group was taken apart is still a section: the circle alone.
    if (groupSet[0] == 0 && groupSet[1] == 0 && sds_ssadd(entity, nullptr, groupSet) != RTNORM) {
        groupSet[0] = groupSet[1] = 0;
    }
    return true;
}

bool CObslugaPreta::TakePreselectedSection(sds_name entity) {
    entity[0] = entity[1] = 0;
    const std::vector<std::array<long, 2>> preselected = PickFirstMembers();
    if (preselected.empty()) {
        return false;
    }
    bool taken = false;
    for (auto member : preselected) {
        if (DiscCircle(xdata, member.data())) {
            entity[0] = member.data()[0];
            entity[1] = member.data()[1];
            taken = true;
            break;
        }
    }
    return taken;
}

void CObslugaPreta::EditCrossSection() {
    const std::string message = LoadUiString(kIdSectionEditPrompt);
    const std::string keywords = LoadUiString(kIdSectionEditKeywords);
    for (;;) {
        std::string answer;
        if (AskKeyword(message, keywords, lastSectionEditOption, answer) != RTNORM) {
            return;
        }
        if (answer == LoadUiString(kIdDescribeOption)) {
            lastSectionEditOption = answer;
            DescribeCrossSection();
        } else if (answer == LoadUiString(kIdChangeOption)) {
            lastSectionEditOption = answer;
            ChangeCrossSection();
        }
    }
}

void CObslugaPreta::DescribeCrossSection() {
    // The number first: typed, or taken from a bar. Without one nothing is drawn.
    const std::string typeNumber = LoadUiString(kIdTypeNumber);
    std::string source;
    for (int i = 0; source.empty(); ++i) {
        if (i == kMaxRepeatedAnswers) {
            return;
        }
        sds_initget(0, LoadUiString(kIdNumberSourceKeywords).c_str());
        char typed[512] = {0};
        const int result = sds_getkword(LoadUiString(kIdNumberSourcePrompt).c_str(), typed);
        if (result == RTCAN || result == RTERROR) {
            return;
        }
        if (result == RTNONE) {
            source = typeNumber;
        } else if (result == RTNORM) {
            source = typed;
        }
    }
    int number = 0;
    if (source == typeNumber) {
        // A bar number is a whole number above zero; the host asks again for anything else.
        sds_initget(SDS_RSG_NONULL | SDS_RSG_NOZERO | SDS_RSG_NONEG, "");
        if (sds_getint(LoadUiString(kIdNumberPrompt).c_str(), &number) != RTNORM) {
            return;
        }
    } else {
        sds_name bar = {0, 0};
        if (!PickUntil(LoadUiString(kIdTakeNumberPrompt), kIdNotBar, bar,
                       [this](sds_name e) { return IsRod(e); })) {
            return;
        }
        CRodXDataParameters barRecord;
        xdata.ReadRodRecord(bar, LoadUiString(rods::kIdRecordKey), barRecord);
        number = barRecord.number;
    }

    for (;;) {
        sds_name disc = {0, 0};
        sds_name members = {0, 0};
        if (!PickUntil(LoadUiString(kIdDescribeSectionPrompt), kIdNotSection, disc,
                       [&](sds_name e) {
                           if (!DiscCircle(xdata, e) || !IsCrossSection(e, members)) {
                               return false;
                           }
                           sds_ssfree(members);
                           return true;
                       })) {
            break;
        }
        sds_point centre = {0, 0, 0};
        if (CSDSCircle::GetCenter(disc, centre) != RTNORM) {
            continue;
        }
        sds_redraw(disc, 3);
        UndoGroup undo;
        sds_point second = {0, 0, 0};
        if (AskPoint(centre, LoadUiString(kIdLeaderSecondPrompt), second) != RTNORM) {
            sds_redraw(disc, 4);
            break;
        }
        sds_name temporary = {0, 0};
        const bool shown =
            line.Create(centre, second, "0", rods::kContinuous, rods::kByLayer, 1.0) == RTNORM &&
            sds_entlast(temporary) == RTNORM;
        sds_point direction = {0, 0, 0};
        const int given = AskPoint(second, LoadUiString(kIdLeaderDirectionPrompt), direction);
        if (shown) {
            sds_entdel(temporary);
        }
        sds_redraw(disc, 4);
        if (given != RTNORM) {
            break;
        }
        CRodProfileXDataParameters record;
        xdata.ReadProfileRecord(disc, LoadUiString(rods::kIdRecordKey), record);
        LeaderValues values;
        values.number = number;
        values.count = record.count;
        values.spacing = record.spacing;
        values.smooth = IsSmoothSteel(record.steel);
        // The diameter shown is the panel's, which the designer sets for the description.
        values.diameterMm = panel != nullptr ? panel->GetDiameter() : record.diameter * 10.0;
        // The leader belongs to the disc it starts from.
        if (DrawLeaderPieces(EntityHandle(disc), centre, second, direction, 0, values) == 1) {
            undo.Close();
            break;
        }
    }
    sds_sssetfirst(nullptr, nullptr);
    sds_redraw(nullptr, 4);
}

void CObslugaPreta::ChangeCrossSection() {
    sds_name disc = {0, 0};
    sds_name members = {0, 0};
    if (TakePreselectedSection(disc)) {
        IsCrossSection(disc, members);
    } else if (!PickUntil(LoadUiString(kIdChangeSectionPrompt), kIdNotSection, disc,
                          [&](sds_name e) {
                              return DiscCircle(xdata, e) && IsCrossSection(e, members);
                          })) {
        sds_sssetfirst(nullptr, nullptr);
        return;
    }
    sds_sssetfirst(nullptr, nullptr);
    std::vector<std::array<long, 2>> old = SelectionMembers(members);
    sds_ssfree(members);
    if (old.empty()) {
        return;
    }
    const double diameterMm = panel != nullptr ? panel->GetDiameter() : 0.0;
    const int steel = panel != nullptr ? panel->GetSteelIndex() : 0;
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const double radius = diameterMm / 20.0;
    UndoGroup undo;
    std::vector<Replacement> replaced;
    for (const auto& member : old) {
        CRodProfileXDataParameters record;
        xdata.ReadProfileRecord(member.data(), key, record);
        record.steel = steel;
        sds_name dictionary = {0, 0};
        if (std::fabs(record.diameter - diameterMm / 10.0) < 0.001) {
            if (xdata.ResetExtensionDictionary(member.data(), dictionary) == RTNORM) {
                xdata.WriteProfileRecord(dictionary, key, record);
            }
            continue;
        }
        record.diameter = diameterMm / 10.0;
        const std::string layerName = EnsureBarLayer(diameterMm);
        const bool hatch = EntityTypeName(member.data()) == "HATCH";
        sds_point centre = {0, 0, 0};
        const int read = hatch ? CSDSCircleHatch::GetCenter(member.data(), centre)
                               : CSDSCircle::GetCenter(member.data(), centre);
        if (read != RTNORM) {
            continue;  // a piece that cannot be read is left as it is
        }
        const int status = hatch ? circleHatch.Create(centre, radius, layerName, rods::kByLayer)
                                 : circle.Create(centre, radius, layerName, rods::kContinuous,
                                                 rods::kByLayer, 1.0);
        sds_name fresh = {0, 0};
        if (status != RTNORM || sds_entlast(fresh) != RTNORM) {
            continue;  // the old piece stays rather than leave a hole
        }
        if (xdata.EnsureExtensionDictionary(fresh, dictionary) != RTNORM ||
            xdata.WriteProfileRecord(dictionary, key, record) != RTNORM) {
            sds_entdel(fresh);
            continue;
        }
        Replacement r;
        r.before = {member.data()[0], member.data()[1]};
        r.after = {fresh[0], fresh[1]};
        r.beforeHandle = EntityHandle(member.data());
        r.afterHandle = EntityHandle(fresh);
        replaced.push_back(r);
        sds_entdel(member.data());
    }
    if (!replaced.empty()) {
        Regroup(replaced, old.front().data());
        KeepLeadersOwned(xdata, replaced);
    }
    undo.Close();
    sds_redraw(nullptr, 4);
}
