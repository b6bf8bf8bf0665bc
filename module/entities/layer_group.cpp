// Layer and group wrappers.
#include "module/entities/layer_group.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "module/entities/resbuf_util.h"

namespace {

const char* const kGroupDictionary = "ACAD_GROUP";

bool SameName(const long a[2], const long b[2]) {
    return a[0] == b[0] && a[1] == b[1];
}

// A new empty selection set in `set`.
int NewSet(sds_name set) {
    return sds_ssadd(nullptr, nullptr, set);
}

int AddToSet(const long entity[2], sds_name set) {
    sds_name grown = {0, 0};
    int result = sds_ssadd(entity, set, grown);
    if (result == RTNORM) {
        rblist::CopyName(grown, set);
    }
    return result;
}

}  // namespace

int CSDSLayer::Create(const std::string& name, int colour) {
    {
        rblist::Owned found(sds_tblsearch("LAYER", name.c_str(), 0));
        if (found != nullptr) {
            status = RTERROR;
            return status;
        }
    }
    ReleaseList();
    list = sds_buildlist(RTDXF0, "layer", 2, name.c_str(), 62, colour, RTNONE);
    return MakeFromList(false);
}

int CSDSGroup::Create(const sds_name members, const std::string& description, int selectable,
                      int unnamed) {
    sds_name named = {0, 0};
    if (sds_namedobjdict(named) != RTNORM) {
        status = RTERROR;
        return status;
    }
    rblist::Owned groups(sds_dictsearch(named, kGroupDictionary, 0));
    sds_name groupDictionary = {0, 0};
    if (groups == nullptr || GetEntityName(groups.get(), groupDictionary) != RTNORM) {
        status = RTERROR;
        return status;
    }

    ReleaseList();
    list = sds_buildlist(RTDXF0, "GROUP", 102, "{ACAD_REACTORS", 330, groupDictionary, 102, "}",
                         300, description.c_str(), 70, unnamed, 71, selectable, RTNONE);
    if (list == nullptr) {
        status = RTERROR;
        return status;
    }
    long count = 0;
    if (sds_sslength(members, &count) == RTNORM) {
        resbuf* tail = rblist::Last(list);
        for (long i = 0; i < count; ++i) {
            sds_name member = {0, 0};
            if (sds_ssname(members, i, member) != RTNORM) {
                continue;
            }
            resbuf* node = rblist::Append(tail, 340);
            if (node == nullptr) {
                break;
            }
            rblist::CopyName(member, node->resval.rlname);
            tail = node;
        }
    }
    sds_name group = {0, 0};
    if (MakeFromList(true, group) != RTNORM) {
        return status;
    }

    // The group dictionary's own list (the entry just read) names every group it files; the
    // first "*A<n>" that none of its group-3 nodes holds is free. The numbers taken are
    // gathered in one pass: a drawing holds thousands of groups, and trying each candidate
    // against the whole list grew with the square of their number.
    std::vector<bool> taken;
    for (const resbuf* node = rblist::Find(groups.get(), 3); node != nullptr;
         node = rblist::Find(node->rbnext, 3)) {
        const char* text = node->resval.rstring;
        if (text == nullptr || text[0] != '*' || text[1] != 'A' || text[2] == '\0' ||
            (text[2] == '0' && text[3] != '\0') || std::strlen(text) > 11) {
            continue;
        }
        size_t n = 0;
        bool digits = true;
        for (const char* c = text + 2; *c != '\0' && digits; ++c) {
            digits = *c >= '0' && *c <= '9';
            n = n * 10 + static_cast<size_t>(*c - '0');
        }
        // More names than groups cannot be taken below the count: larger ones never matter.
        if (digits && n < (1u << 24)) {
            if (taken.size() <= n) {
                taken.resize(n + 1, false);
            }
            taken[n] = true;
        }
    }
    size_t free = 0;
    while (free < taken.size() && taken[free]) {
        ++free;
    }
    const std::string name = "*A" + std::to_string(free);
    // Filed as one entry: rewriting the whole dictionary through its list would check every
    // entry again.
    status = sds_dictadd(groupDictionary, name.c_str(), group);
    return status;
}

bool CSDSGroup::NameExists(const resbuf* dictionaryList, const std::string& name) {
    for (const resbuf* node = rblist::Find(dictionaryList, 3); node != nullptr;
         node = rblist::Find(node->rbnext, 3)) {
        if (node->resval.rstring != nullptr && name == node->resval.rstring) {
            return true;
        }
    }
    return false;
}

int CSDSGroup::AllGroups(sds_name set) {
    int result = NewSet(set);
    if (result != RTNORM) {
        return result;
    }
    sds_name named = {0, 0};
    if (sds_namedobjdict(named) != RTNORM) {
        return RTNORM;
    }
    rblist::Owned groups(sds_dictsearch(named, kGroupDictionary, 0));
    for (const resbuf* node = rblist::Find(groups.get(), 350); node != nullptr;
         node = rblist::Find(node->rbnext, 350)) {
        AddToSet(node->resval.rlname, set);
    }
    return RTNORM;
}

int CSDSGroup::MembersIfContains(const sds_name entity, const sds_name group, sds_name set) {
    if (NewSet(set) != RTNORM) {
        return 0;
    }
    rblist::Owned read(sds_entget(group));
    std::vector<const resbuf*> members;
    bool contains = false;
    for (const resbuf* node = rblist::Find(read.get(), 340); node != nullptr;
         node = rblist::Find(node->rbnext, 340)) {
        members.push_back(node);
        contains = contains || SameName(node->resval.rlname, entity);
    }
    if (!contains) {
        return 0;
    }
    for (const resbuf* member : members) {
        AddToSet(member->resval.rlname, set);
    }
    return 1;
}
