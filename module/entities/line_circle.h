// Lines and circles: making them, and reading or moving the points the commands work with.
#pragma once

#include <string>

#include "module/entities/sds_base.h"

class CSDSLine : public CSDSBaseClass {
  public:
    int Create(const sds_point start, const sds_point end, const std::string& layer,
               const std::string& linetype, int colour, double linetypeScale);
    // RTNORM only when both end points were found.
    static int GetPoints(const sds_name entity, sds_point start, sds_point end);
};

class CSDSCircle : public CSDSBaseClass {
  public:
    int Create(const sds_point centre, double radius, const std::string& layer,
               const std::string& linetype, int colour, double linetypeScale);
    // RTNORM with the centre; RTERROR and `centre` untouched when the circle cannot be read.
    static int GetCenter(const sds_name entity, sds_point centre);
    // Moves the circle; the host's answer to the change, RTERROR when it cannot be read.
    int SetCenter(const sds_name entity, const sds_point centre);
};
