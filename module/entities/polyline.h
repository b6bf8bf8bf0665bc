// Lightweight polylines: bars, leaders and hand-drawn polylines, as arrays of vertices.
#pragma once

#include <string>
#include <vector>

#include "module/entities/point_ext.h"
#include "module/entities/sds_base.h"

class CSDSPolyLine : public CSDSBaseClass {
  public:
    int Create(const std::vector<CSDSPointExt>& vertices, bool closed, const std::string& layer,
               const std::string& linetype, int colour);
    // Appends the entity's vertices, in order, to `vertices`. A vertex counts once its bulge
    // (group 42) is read. RTNORM, RTERROR when the entity cannot be read.
    static int GetVertices(const sds_name entity, std::vector<CSDSPointExt>& vertices);
    // Gives the polyline a new vertex list and keeps everything else: handle, layer,
    // linetype, colour, closed flag and extension dictionary. The host's answer.
    int ReplaceVertices(const sds_name entity, const std::vector<CSDSPointExt>& vertices);
};

namespace polyline_groups {
// Appends the vertex groups (10, 40, 41, 42 each) and the normal (210) after `tail`; the
// last node appended, or null when the host refused a node.
resbuf* AppendVerticesAndNormal(resbuf* tail, const std::vector<CSDSPointExt>& vertices);
}  // namespace polyline_groups
