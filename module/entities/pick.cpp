// Picks that take the nearest object the prompt can use.
#include "module/entities/pick.h"

#include "module/entities/sds_base.h"

int PickAccepted(const std::string& prompt, const PickAccepts& accepts, const std::string& refusal,
                 sds_name entity, sds_point point) {
    sds_matrix xform;
    resbuf* nesting = nullptr;
    const int result = sds_nentselp(prompt.c_str(), entity, point, 0, xform, &nesting);
    sds_relrb(nesting);
    if (result != RTNORM) {
        return result;
    }
    if (accepts(entity)) {
        return RTNORM;
    }
    // A bar under its own leader, a disc in a bar's corner: the nearest object is not always
    // the one meant.
    sds_name found = {0, 0};
    if (sds_ssgetnear(point, found) == RTNORM) {
        bool taken = false;
        for (const auto& words : SelectionMembers(found)) {
            sds_name candidate = {words[0], words[1]};
            if (accepts(candidate)) {
                entity[0] = candidate[0];
                entity[1] = candidate[1];
                taken = true;
                break;
            }
        }
        sds_ssfree(found);
        if (taken) {
            return RTNORM;
        }
    }
    entity[0] = entity[1] = 0;
    sds_printf("%s", refusal.c_str());
    return RTREJ;
}
