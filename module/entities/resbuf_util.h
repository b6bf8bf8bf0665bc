// Walking, splicing and releasing result-buffer lists; shared by the entity wrappers only.
#pragma once

#include <memory>
#include <string>

#include "host/sds.h"

namespace rblist {

// Releases a whole list at scope exit, so that no early return can leak one.
struct Releaser {
    void operator()(resbuf* list) const {
        if (list != nullptr) {
            sds_relrb(list);
        }
    }
};
using Owned = std::unique_ptr<resbuf, Releaser>;

// First node with the group code at or after `from`; null when none.
resbuf* Find(resbuf* from, int group);
const resbuf* Find(const resbuf* from, int group);
// The last node of a non-null list.
resbuf* Last(resbuf* list);
// Appends a fresh node of `group` after `tail` and returns it (null when the host refuses).
resbuf* Append(resbuf* tail, int group);
// Splices the chain `groups` into `list` right before its first node of `group`; false, and
// nothing changed, when the list has no such node after its head.
bool InsertBefore(resbuf* list, int group, resbuf* groups);
// Replaces the text of `node` by a copy the host allocated, so that sds_relrb frees it the
// way it frees its own texts. False when the host could not make the copy.
bool SetText(resbuf* node, const std::string& text);
// Text of a node, "" for a null text.
std::string Text(const resbuf* node);
void CopyName(const long source[2], sds_name target);
void CopyPoint(const double source[3], sds_point target);

}  // namespace rblist
