// Layer and group wrappers.
#include "module/entities/layer_group.h"

#include <cstdio>
#include <string>
#include <vector>

#include "module/entities/resbuf_util.h"

namespace {

const char* const kGroupDictionary = "ACAD_GROUP";

bool SameName(const long a[2], const long b[2]) {
    return a[0] == b[0] && a[1] == b[1];
}

// A new empty selection set in `set`.
bool SameKey(const char* a, const char* b) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (upper(*a) != upper(*b)) {
            return false;
        }
    }
    return *a == *b;
}

// The object filed under `key` in the dictionary, read from the dictionary's own list.
bool FindEntry(const sds_name dictionary, const char* key, sds_name entry) {
    rblist::Owned listed(sds_entget(dictionary));
    bool match = false;
    for (const resbuf* node = listed.get(); node != nullptr; node = node->rbnext) {
        if (node->restype == 3) {
            // Keys are found in any ASCII case, as sds_dictsearch finds them.
            match = node->resval.rstring != nullptr && SameKey(node->resval.rstring, key);
        } else if ((node->restype == 350 || node->restype == 360) && match) {
            rblist::CopyName(node->resval.rlname, entry);
            return true;
        }
    }
    return false;
}

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
    // The group dictionary's name from the named object dictionary's short list: asking for
    // the entry itself would give its whole list, every group of the drawing.
    sds_name groupDictionary = {0, 0};
    if (!GroupDictionary(groupDictionary)) {
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
    // The first "*A<n>" the group dictionary does not hold, found by the host in one pass
    // over its keys: a drawing holds thousands of groups.
    char name[32];
    if (sds_dictfreekey(groupDictionary, "*A", name, sizeof name) != RTNORM) {
        status = RTERROR;
        return status;
    }
    status = sds_dictadd(groupDictionary, name, group);
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

int CSDSGroup::GroupsOf(const sds_name entity, sds_name set) {
    // Not being in any group is no failure: the caller gets an empty set.
    if (sds_ssgetgroups(entity, set) == RTNORM) {
        return RTNORM;
    }
    return NewSet(set);
}

bool CSDSGroup::GroupDictionary(sds_name dictionary) {
    sds_name named = {0, 0};
    return sds_namedobjdict(named) == RTNORM && FindEntry(named, kGroupDictionary, dictionary);
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
