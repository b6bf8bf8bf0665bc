// Deleting a bar with everything that names it as owner, after asking whether the numbers
// above it are to be closed up; groups are kept free of the entities deleted.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "module/entities/resbuf_util.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "platform/dialog.h"
#include "platform/message_box.h"

namespace {

constexpr int kIdDeleteAndRenumber = 60;
constexpr int kIdDelete = 61;
const char* const kCaption = "IntelliCAD";

bool IsLive(const long name[2]) {
    rblist::Owned list(sds_entget(name));
    return list != nullptr;
}

// Keeps the host's pick-first selection across whole-drawing selections.
class PickFirstKept {
  public:
    PickFirstKept() { sds_ssgetfirst(&grips_, &picked_); }
    ~PickFirstKept() {
        if (picked_ != nullptr && picked_->restype == RTPICKS) {
            sds_sssetfirst(nullptr, picked_->resval.rlname);
            sds_ssfree(picked_->resval.rlname);
        }
        sds_relrb(grips_);
        sds_relrb(picked_);
    }
    PickFirstKept(const PickFirstKept&) = delete;
    PickFirstKept& operator=(const PickFirstKept&) = delete;

  private:
    resbuf* grips_ = nullptr;
    resbuf* picked_ = nullptr;
};

}  // namespace

int CObslugaPreta::FindRodsWithNumber(const sds_name bar, std::vector<std::string>& handles) {
    handles.clear();
    CRodXDataParameters record;
    xdata.ReadRodRecord(bar, LoadUiString(rods::kIdRecordKey), record);
    const std::string own = EntityHandle(bar);
    PickFirstKept kept;
    for (const auto& words : BarsNumbered(record.number)) {
        // Another bar is another entity: ordinals repeat once bars have been deleted and
        // drawn again, so they cannot tell two bars apart.
        const std::string handle = EntityHandle(words.data());
        if (handle != own) {
            handles.push_back(handle);
        }
    }
    return static_cast<int>(handles.size());
}

bool CObslugaPreta::DeleteRod(const sds_name bar) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    if (!IsBar(bar, key, LoadUiString(rods::kIdBarTag))) {
        return false;
    }
    HighlightRodGroup(bar);
    CRodXDataParameters record;
    xdata.ReadRodRecord(bar, key, record);
    const int used = CountRods(1);
    std::vector<std::string> others;
    FindRodsWithNumber(bar, others);
    // The number stays in use, or it is the last of a gapless series: nothing to close up.
    const bool renumber = others.empty() && record.number != used;
    const std::string question = LoadUiString(renumber ? kIdDeleteAndRenumber : kIdDelete);
    const int answer =
        platform::MessageBox(static_cast<platform::Window*>(sds_getmainhwnd()), question, kCaption,
                             platform::MB_YESNO | platform::MB_ICONQUESTION);
    if (answer != platform::IDYES) {
        EndRodOperation();
        return false;
    }
    UndoGroup undo;
    const bool deleted = EraseRods({{bar[0], bar[1]}});
    if (deleted && renumber) {
        RenumberFrom(record.number);
    }
    undo.Close();
    return deleted;
}

bool CObslugaPreta::EraseRods(const std::vector<std::array<long, 2>>& bars) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string barTag = LoadUiString(rods::kIdBarTag);
    std::vector<std::array<long, 2>> erased;
    bool deleted = false;
    for (const auto& barWords : bars) {
        const sds_name bar = {barWords[0], barWords[1]};
        const std::string handle = EntityHandle(bar);
        // Whatever names the bar as owner names its handle in its records.
        for (const auto& words : RecordReferences(handle)) {
            const sds_name entity = {words[0], words[1]};
            std::string tag;
            std::string owner;
            xdata.ReadDimensionLink(entity, key, tag, owner);
            if (owner == handle && tag != barTag && sds_entdel(entity) == RTNORM) {
                erased.push_back(words);
            }
        }
        if (sds_entdel(bar) == RTNORM) {
            erased.push_back(barWords);
            deleted = true;
        }
    }
    DropDeadGroupMembers(erased);
    EndRodOperation();
    return deleted;
}

namespace {

// Takes the erased members out of a group's list; false when it has none. `live` receives how
// many members stay.
bool WithoutDeadMembers(const sds_name group, rblist::Owned& list, int& live) {
    list.reset(sds_entget(group));
    live = 0;
    int dead = 0;
    // Unlinks the dead members' nodes from the list, keeping the rest in order.
    for (resbuf* node = list.get(); node != nullptr && node->rbnext != nullptr;) {
        resbuf* next = node->rbnext;
        if (next->restype == 340) {
            if (!IsLive(next->resval.rlname)) {
                node->rbnext = next->rbnext;
                next->rbnext = nullptr;
                sds_relrb(next);
                ++dead;
                continue;
            }
            ++live;
        }
        node = next;
    }
    return dead > 0;
}

// The key under which the group dictionary files `group` ("" when it does not).
std::string KeyOf(const sds_name groups, const sds_name group) {
    rblist::Owned listed(sds_entget(groups));
    std::string name;
    for (const resbuf* node = listed.get(); node != nullptr; node = node->rbnext) {
        if (node->restype == 3) {
            name = rblist::Text(node);
        } else if (node->restype == 350 && node->resval.rlname[0] == group[0] &&
                   node->resval.rlname[1] == group[1]) {
            return name;
        }
    }
    return "";
}

}  // namespace

void CObslugaPreta::DropDeadGroupMembers(const std::vector<std::array<long, 2>>& erased) {
    // Only the groups that list what was erased: the host knows them without reading every
    // group of the drawing.
    std::vector<std::array<long, 2>> touched;
    for (const auto& words : erased) {
        const sds_name entity = {words[0], words[1]};
        sds_name groups = {0, 0};
        if (CSDSGroup::GroupsOf(entity, groups) != RTNORM) {
            continue;
        }
        for (const auto& group : SelectionMembers(groups)) {
            if (std::find(touched.begin(), touched.end(), group) == touched.end()) {
                touched.push_back(group);
            }
        }
        sds_ssfree(groups);
    }
    sds_name groups = {0, 0};
    if (touched.empty() || !CSDSGroup::GroupDictionary(groups)) {
        return;
    }
    for (const auto& words : touched) {
        const sds_name group = {words[0], words[1]};
        rblist::Owned list;
        int live = 0;
        if (!WithoutDeadMembers(group, list, live)) {
            continue;
        }
        if (live > 0) {
            sds_entmod(list.get());
            continue;
        }
        // Only a group filed in the dictionary goes with its last member, as below.
        const std::string key = KeyOf(groups, group);
        if (!key.empty() && sds_dictdel(groups, key.c_str()) == RTNORM) {
            sds_entdel(group);
        }
    }
}

void CObslugaPreta::DropDeadGroupMembers() {
    sds_name named = {0, 0};
    if (sds_namedobjdict(named) != RTNORM) {
        return;
    }
    rblist::Owned entry(sds_dictsearch(named, "ACAD_GROUP", 0));
    const resbuf* self = rblist::Find(entry.get(), -1);
    if (self == nullptr) {
        return;
    }
    const sds_name groups = {self->resval.rlname[0], self->resval.rlname[1]};
    // Names and groups first: the dictionary changes under the walk otherwise.
    std::vector<std::pair<std::string, std::array<long, 2>>> filed;
    std::string name;
    for (const resbuf* node = entry.get(); node != nullptr; node = node->rbnext) {
        if (node->restype == 3) {
            name = rblist::Text(node);
        } else if (node->restype == 350 && !name.empty()) {
            filed.push_back({name, {node->resval.rlname[0], node->resval.rlname[1]}});
            name.clear();
        }
    }
    for (const auto& [key, words] : filed) {
        const sds_name group = {words[0], words[1]};
        rblist::Owned list;
        int live = 0;
        if (!WithoutDeadMembers(group, list, live)) {
            continue;
        }
        if (live == 0) {
            if (sds_dictdel(groups, key.c_str()) == RTNORM) {
                sds_entdel(group);
            }
        } else {
            sds_entmod(list.get());
        }
    }
}
