// Polyline wrapper.
#include "module/entities/polyline.h"

#include "module/entities/resbuf_util.h"

namespace polyline_groups {

resbuf* AppendVerticesAndNormal(resbuf* tail, const std::vector<CSDSPointExt>& vertices) {
    for (const CSDSPointExt& vertex : vertices) {
        if ((tail = rblist::Append(tail, 10)) == nullptr) {
            return nullptr;
        }
        vertex.GetPoint(tail->resval.rpoint);
        const double values[3] = {vertex.startWidth, vertex.endWidth, vertex.bulge};
        for (int i = 0; i < 3; ++i) {
            if ((tail = rblist::Append(tail, 40 + i)) == nullptr) {
                return nullptr;
            }
            tail->resval.rreal = values[i];
        }
    }
    if ((tail = rblist::Append(tail, 210)) == nullptr) {
        return nullptr;
    }
    tail->resval.rpoint[0] = 0.0;
    tail->resval.rpoint[1] = 0.0;
    tail->resval.rpoint[2] = 1.0;
    return tail;
}

}  // namespace polyline_groups

int CSDSPolyLine::Create(const std::vector<CSDSPointExt>& vertices, bool closed,
                         const std::string& layer, const std::string& linetype, int colour) {
    ReleaseList();
    list = sds_buildlist(RTDXF0, "LWPOLYLINE", 8, layer.c_str(), 6, linetype.c_str(), 62, colour,
                         90, static_cast<long>(vertices.size()), 70, closed ? 1 : 0, 43, 0.0, 38,
                         0.0, 39, 0.0, RTNONE);
    if (list == nullptr) {
        status = RTERROR;
        return status;
    }
    if (polyline_groups::AppendVerticesAndNormal(rblist::Last(list), vertices) == nullptr) {
        ReleaseList();
        status = RTERROR;
        return status;
    }
    return MakeFromList(false);
}

int CSDSPolyLine::GetVertices(const sds_name entity, std::vector<CSDSPointExt>& vertices) {
    rblist::Owned read(sds_entget(entity));
    if (read == nullptr) {
        return RTERROR;
    }
    CSDSPointExt vertex;
    bool started = false;
    for (const resbuf* node = read.get(); node != nullptr; node = node->rbnext) {
        switch (node->restype) {
            case 10:
                vertex = CSDSPointExt(node->resval.rpoint);
                started = true;
                break;
            case 40:
                vertex.startWidth = node->resval.rreal;
                break;
            case 41:
                vertex.endWidth = node->resval.rreal;
                break;
            case 42:
                // Only a vertex whose position was read is taken, and only once.
                if (started) {
                    vertex.bulge = node->resval.rreal;
                    vertices.push_back(vertex);
                    started = false;
                }
                break;
            default:
                break;
        }
    }
    return RTNORM;
}

int CSDSPolyLine::ReplaceVertices(const sds_name entity,
                                  const std::vector<CSDSPointExt>& vertices) {
    rblist::Owned read(sds_entget(entity));
    resbuf* count = rblist::Find(read.get(), 90);
    if (count == nullptr) {
        status = RTERROR;
        return status;
    }
    // The vertex groups follow the thickness (39); a list without one is cut before its
    // first vertex instead, so that old vertices can never survive behind the new ones.
    resbuf* keepUpTo = rblist::Find(count, 39);
    if (keepUpTo == nullptr) {
        for (resbuf* node = count; node != nullptr && node->rbnext != nullptr;
             node = node->rbnext) {
            if (node->rbnext->restype == 10 || node->rbnext->restype == 210) {
                keepUpTo = node;
                break;
            }
        }
        if (keepUpTo == nullptr) {
            keepUpTo = rblist::Last(count);
        }
    }
    count->resval.rlong = static_cast<int32_t>(vertices.size());
    if (keepUpTo->rbnext != nullptr) {
        sds_relrb(keepUpTo->rbnext);
        keepUpTo->rbnext = nullptr;
    }
    if (polyline_groups::AppendVerticesAndNormal(keepUpTo, vertices) == nullptr) {
        status = RTERROR;
        return status;
    }
    status = sds_entmod(read.get());
    return status;
}
