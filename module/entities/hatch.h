// Solid hatches: a filled polyline boundary, and the filled disc that shows a bar end-on in
// a cross-section.
#pragma once

#include <string>
#include <vector>

#include "module/entities/point_ext.h"
#include "module/entities/sds_base.h"

class CSDSHatch : public CSDSBaseClass {};

class CSDSPolyLineHatch : public CSDSHatch {
  public:
    // Needs at least one vertex (the last one gives the elevation and seed points); RTERROR
    // without touching the drawing otherwise.
    int Create(const std::vector<CSDSPointExt>& vertices, const std::string& layer, int colour,
               int hasBulges, int closed);
};

class CSDSCircleHatch : public CSDSPolyLineHatch {
  public:
    // A solid disc: a closed boundary of two half circles.
    int Create(const sds_point centre, double radius, const std::string& layer, int colour);
    // Centre of a disc made by Create: midway between the first two boundary vertices.
    // RTERROR and (0, 0, 0) when the hatch has fewer than two.
    static int GetCenter(const sds_name hatch, sds_point centre);
};
