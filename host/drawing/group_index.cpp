// The groups that list each entity, kept as groups change.
#include "host/drawing/group_index.h"

#include <algorithm>

#include "host/drawing/database.h"

namespace host {

bool GroupIndex::IsGroup(const Database& drawing, const Object& object) {
    return object.state == ObjectState::Live && object.category == Category::Object &&
           drawing.TypeName(object) == "GROUP";
}

std::vector<uint32_t> GroupIndex::Members(const Object& object) {
    std::vector<uint32_t> members;
    for (const Group& group : object.body) {
        if (group.code == 340 && group.id)
            members.push_back(group.id.value);
    }
    // A member listed twice files its group once.
    std::sort(members.begin(), members.end());
    members.erase(std::unique(members.begin(), members.end()), members.end());
    return members;
}

void GroupIndex::Add(const Database& drawing, ObjectId id, const Object& object) {
    if (!IsGroup(drawing, object))
        return;
    for (uint32_t member : Members(object)) {
        std::vector<uint32_t>& groups = groups_[member];
        auto at = std::lower_bound(groups.begin(), groups.end(), id.value);
        if (at == groups.end() || *at != id.value)
            groups.insert(at, id.value);
    }
}

void GroupIndex::Remove(const Database& drawing, ObjectId id, const Object& object) {
    if (!IsGroup(drawing, object))
        return;
    for (uint32_t member : Members(object)) {
        auto found = groups_.find(member);
        if (found == groups_.end())
            continue;
        std::vector<uint32_t>& groups = found->second;
        auto at = std::lower_bound(groups.begin(), groups.end(), id.value);
        if (at != groups.end() && *at == id.value)
            groups.erase(at);
        if (groups.empty())
            groups_.erase(found);
    }
}

const std::vector<uint32_t>& GroupIndex::GroupsOf(ObjectId member) const {
    static const std::vector<uint32_t> kNone;
    auto found = groups_.find(member.value);
    return found != groups_.end() ? found->second : kNone;
}

GroupIndex GroupIndex::Build(const Database& drawing) {
    GroupIndex index;
    for (uint32_t slot = 1; slot < drawing.SlotCount(); ++slot) {
        if (const Object* object = drawing.Find(ObjectId{slot}))
            index.Add(drawing, ObjectId{slot}, *object);
    }
    return index;
}

}  // namespace host
