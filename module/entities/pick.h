// One answer at a pick prompt of the module: the nearest object within the pick aperture that
// the prompt can use, not merely the nearest object.
#pragma once

#include <functional>
#include <string>

#include "host/sds.h"

// Whether the prompt takes the entity; it may turn `entity` into the one the prompt works on
// (a disc's fill into its circle).
using PickAccepts = std::function<bool(sds_name entity)>;

// Asks once at `prompt`. The host gives the nearest object; when `accepts` refuses it, the
// other objects within the aperture are tried, nearest first. RTNORM with `entity` taken and
// `point` the point picked; RTCAN for Esc; RTERROR when the pick hit nothing; RTREJ when it
// found objects but none that `accepts` takes, after telling the user `refusal` (a text ending
// in a line break).
int PickAccepted(const std::string& prompt, const PickAccepts& accepts, const std::string& refusal,
                 sds_name entity, sds_point point);
