// Layers and anonymous groups ("*A0", "*A1", ...) that tie discs and leader descriptions
// together.
#pragma once

#include <string>

#include "module/entities/sds_base.h"

class CSDSLayer : public CSDSBaseClass {
  public:
    // Makes the layer; RTERROR and no change when it exists (it keeps its own colour).
    int Create(const std::string& name, int colour);
};

class CSDSGroup : public CSDSBaseClass {
  public:
    // Makes a group of the entities of the selection set `members`, in set order, and files
    // it in "ACAD_GROUP" under the first free name "*A<n>".
    int Create(const sds_name members, const std::string& description, int selectable, int unnamed);
    // True when a group-3 node of the list holds exactly `name`.
    static bool NameExists(const resbuf* dictionaryList, const std::string& name);
    // `set` receives a new selection set (free it with sds_ssfree) of every group filed in
    // "ACAD_GROUP"; an empty one when there is no such dictionary. RTNORM, or the host's code
    // when it could not make a set.
    static int AllGroups(sds_name set);
    // `set` receives a new selection set (free it with sds_ssfree) of the groups that list
    // `entity` (live or erased), from the host's index; an empty one when none does.
    static int GroupsOf(const sds_name entity, sds_name set);
    // The dictionary "ACAD_GROUP" of the named object dictionary, read from the latter's
    // short list; false when there is none.
    static bool GroupDictionary(sds_name dictionary);
    // `set` receives a new selection set (free it with sds_ssfree): the members of `group`
    // when `entity` is among them (result 1), else empty (result 0).
    static int MembersIfContains(const sds_name entity, const sds_name group, sds_name set);
};
