// Which groups list an entity: for every object named by a (340) member of a live GROUP, the
// groups naming it, so that finding an entity's group needs no reading of every group.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "host/drawing/group_list.h"

namespace host {

class Database;
class Object;

// Kept by the database: a group is filed under its members when it becomes live (made, edited,
// brought back, restored by undo) and taken out with the same members before it changes, so
// the index follows every path that changes a group.
class GroupIndex {
  public:
    // Files or unfiles a group as it is now (anything but a live GROUP is ignored).
    void Add(const Database& drawing, ObjectId id, const Object& object);
    void Remove(const Database& drawing, ObjectId id, const Object& object);
    // Slots of the live groups listing `member`, ascending (order of creation), each once.
    std::vector<uint32_t> GroupsOf(ObjectId member) const;
    // An index filed afresh from every object of a drawing, for checks.
    static GroupIndex Build(const Database& drawing);
    bool SameGroups(const GroupIndex& other) const;

  private:
    static bool IsGroup(const Database& drawing, const Object& object);
    static std::vector<uint32_t> Members(const Object& object);
    void File(uint32_t member, uint32_t group);
    void Unfile(uint32_t member, uint32_t group);

    // An entity is mostly in one group: its first group by slot, further ones aside
    // (ascending, the first one excluded), instead of a node and a list per member.
    std::vector<uint32_t> first_;  // member slot -> its first group, 0: none
    std::unordered_map<uint32_t, std::vector<uint32_t>> more_;
};

}  // namespace host
