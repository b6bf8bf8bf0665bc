// Result-buffer list helpers of the entity layer.
#include "module/entities/resbuf_util.h"

namespace rblist {

resbuf* Find(resbuf* from, int group) {
    for (resbuf* node = from; node != nullptr; node = node->rbnext) {
        if (node->restype == group) {
            return node;
        }
    }
    return nullptr;
}

const resbuf* Find(const resbuf* from, int group) {
    return Find(const_cast<resbuf*>(from), group);
}

resbuf* Last(resbuf* list) {
    while (list->rbnext != nullptr) {
        list = list->rbnext;
    }
    return list;
}

resbuf* Append(resbuf* tail, int group) {
    resbuf* node = sds_newrb(group);
    if (node == nullptr) {
        return nullptr;
    }
    node->rbnext = nullptr;
    tail->rbnext = node;
    return node;
}

bool InsertBefore(resbuf* list, int group, resbuf* groups) {
    for (resbuf* node = list; node != nullptr && node->rbnext != nullptr; node = node->rbnext) {
        if (node->rbnext->restype == group) {
            Last(groups)->rbnext = node->rbnext;
            node->rbnext = groups;
            return true;
        }
    }
    return false;
}

bool SetText(resbuf* node, const std::string& text) {
    // The host allocates the copy inside a one-node list; the old text leaves with that node.
    resbuf* carrier = sds_buildlist(node->restype, text.c_str(), RTNONE);
    if (carrier == nullptr) {
        return false;
    }
    char* old = node->resval.rstring;
    node->resval.rstring = carrier->resval.rstring;
    carrier->resval.rstring = old;
    carrier->rbnext = nullptr;
    sds_relrb(carrier);
    return true;
}

std::string Text(const resbuf* node) {
    return node->resval.rstring != nullptr ? std::string(node->resval.rstring) : std::string();
}

void CopyName(const long source[2], sds_name target) {
    target[0] = source[0];
    target[1] = source[1];
}

void CopyPoint(const double source[3], sds_point target) {
    target[0] = source[0];
    target[1] = source[1];
    target[2] = source[2];
}

}  // namespace rblist
