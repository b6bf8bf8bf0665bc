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

void GroupIndex::File(uint32_t member, uint32_t group) {
    if (member >= first_.size())
        first_.resize(member + 1, 0);
    uint32_t& first = first_[member];
    if (first == 0 || first == group) {
        first = group;
        return;
    }
    std::vector<uint32_t>& more = more_[member];
    // The groups stay ascending, the least of them first.
    const uint32_t other = std::max(first, group);
    first = std::min(first, group);
    auto at = std::lower_bound(more.begin(), more.end(), other);
    if (at == more.end() || *at != other)
        more.insert(at, other);
}

void GroupIndex::Unfile(uint32_t member, uint32_t group) {
    if (member >= first_.size() || first_[member] == 0)
        return;
    auto more = more_.find(member);
    if (first_[member] == group) {
        first_[member] = 0;
        if (more != more_.end()) {
            first_[member] = more->second.front();
            more->second.erase(more->second.begin());
        }
    } else if (more != more_.end()) {
        auto at = std::lower_bound(more->second.begin(), more->second.end(), group);
        if (at != more->second.end() && *at == group)
            more->second.erase(at);
    }
    if (more != more_.end() && more->second.empty())
        more_.erase(more);
}

void GroupIndex::Add(const Database& drawing, ObjectId id, const Object& object) {
    if (!IsGroup(drawing, object))
        return;
    for (uint32_t member : Members(object))
        File(member, id.value);
}

void GroupIndex::Remove(const Database& drawing, ObjectId id, const Object& object) {
    if (!IsGroup(drawing, object))
        return;
    for (uint32_t member : Members(object))
        Unfile(member, id.value);
}

std::vector<uint32_t> GroupIndex::GroupsOf(ObjectId member) const {
    std::vector<uint32_t> groups;
    if (member.value >= first_.size() || first_[member.value] == 0)
        return groups;
    groups.push_back(first_[member.value]);
    if (auto more = more_.find(member.value); more != more_.end())
        groups.insert(groups.end(), more->second.begin(), more->second.end());
    return groups;
}

GroupIndex GroupIndex::Build(const Database& drawing) {
    GroupIndex index;
    index.first_.resize(drawing.SlotCount(), 0);
    for (uint32_t slot = 1; slot < drawing.SlotCount(); ++slot) {
        if (const Object* object = drawing.Find(ObjectId{slot}))
            index.Add(drawing, ObjectId{slot}, *object);
    }
    return index;
}

bool GroupIndex::SameGroups(const GroupIndex& other) const {
    // Members past the end of either list no group.
    const size_t common = std::min(first_.size(), other.first_.size());
    auto none = [common](const std::vector<uint32_t>& first) {
        return std::all_of(first.begin() + static_cast<std::ptrdiff_t>(common), first.end(),
                           [](uint32_t group) { return group == 0; });
    };
    return std::equal(first_.begin(), first_.begin() + static_cast<std::ptrdiff_t>(common),
                      other.first_.begin()) &&
           none(first_) && none(other.first_) && more_ == other.more_;
}

}  // namespace host
