// The drawing's change log: a list of changed slots, their last versions, and its trimming.
#include "host/drawing/change_log.h"

#include <algorithm>

namespace host {

void ChangeLog::Stamp(uint32_t slot) {
    // Kept to a bounded size: a long session forgets its oldest changes, and a viewer that
    // far behind takes the whole drawing.
    const size_t limit = std::max(kKept, 2 * stamps_.size());
    if (log_.size() >= limit) {
        const size_t dropped = log_.size() / 2;
        log_.erase(log_.begin(), log_.begin() + static_cast<std::ptrdiff_t>(dropped));
        first_ += dropped;
    }
    if (slot >= stamps_.size())
        stamps_.resize(slot + 1, 0);
    log_.push_back(slot);
    stamps_[slot] = Version();
}

std::optional<std::vector<ObjectId>> ChangeLog::Since(uint64_t version) const {
    if (version < first_ || version > Version())
        return std::nullopt;
    std::vector<ObjectId> changed;
    for (size_t i = version - first_; i < log_.size(); ++i) {
        const uint32_t slot = log_[i];
        // Only the slot's last change names it, so each comes once.
        if (stamps_[slot] == first_ + i + 1)
            changed.push_back(ObjectId{slot});
    }
    return changed;
}

}  // namespace host
