// Which objects of a drawing changed since a version of it: every change (a command's, an
// undo's or a redo's) gives the drawing its next version and stamps the object with it, so
// that a viewer showing version N asks only for what changed after N.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "host/drawing/group_list.h"

namespace host {

class ChangeLog {
  public:
    // The drawing's version: how many changes it has had (0 for none).
    uint64_t Version() const { return first_ + log_.size(); }
    // The object in `slot` changed: the drawing moves to its next version.
    void Stamp(uint32_t slot);
    // The objects changed after `version`, each once, in the order of their last change;
    // nothing when the log no longer reaches back that far or the version is not this
    // drawing's (the viewer then takes the whole drawing again).
    std::optional<std::vector<ObjectId>> Since(uint64_t version) const;

    // How many changes the log keeps at least before it drops the oldest half.
    static constexpr size_t kKept = size_t{1} << 20;

  private:
    uint64_t first_ = 0;            // the version before log_[0]
    std::vector<uint32_t> log_;     // log_[i]: the slot changed at version first_ + i + 1
    std::vector<uint64_t> stamps_;  // slot -> the version of its last change
};

}  // namespace host
