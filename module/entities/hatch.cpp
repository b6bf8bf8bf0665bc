// Hatch wrappers.
#include "module/entities/hatch.h"

#include "module/entities/resbuf_util.h"

int CSDSPolyLineHatch::Create(const std::vector<CSDSPointExt>& vertices, const std::string& layer,
                              int colour, int hasBulges, int closed) {
    ReleaseList();
    if (vertices.empty()) {
        status = RTERROR;
        return status;
    }
    sds_point last = {0, 0, 0};
    vertices.back().GetPoint(last);
    list = sds_buildlist(RTDXF0, "HATCH", 8, layer.c_str(), 62, colour, 10, last, 2, "SOLID", 70, 1,
                         71, 0, 91, 1L, 92, 7L, 72, hasBulges, 73, closed, 93,
                         static_cast<long>(vertices.size()), RTNONE);
    if (list == nullptr) {
        status = RTERROR;
        return status;
    }
    resbuf* tail = rblist::Last(list);
    bool complete = true;
    for (const CSDSPointExt& vertex : vertices) {
        resbuf* point = rblist::Append(tail, 10);
        resbuf* bulge = point != nullptr ? rblist::Append(point, 42) : nullptr;
        if (bulge == nullptr) {
            complete = false;
            break;
        }
        vertex.GetPoint(point->resval.rpoint);
        bulge->resval.rreal = vertex.bulge;
        tail = bulge;
    }
    resbuf* sources = complete ? rblist::Append(tail, 97) : nullptr;
    resbuf* style = sources != nullptr ? rblist::Append(sources, 75) : nullptr;
    resbuf* pattern = style != nullptr ? rblist::Append(style, 76) : nullptr;
    resbuf* pixel = pattern != nullptr ? rblist::Append(pattern, 47) : nullptr;
    resbuf* seeds = pixel != nullptr ? rblist::Append(pixel, 98) : nullptr;
    resbuf* seed = seeds != nullptr ? rblist::Append(seeds, 10) : nullptr;
    if (seed == nullptr) {
        ReleaseList();
        status = RTERROR;
        return status;
    }
    sources->resval.rlong = 0;
    style->resval.rint = 0;
    pattern->resval.rint = 1;
    pixel->resval.rreal = 0.0;
    seeds->resval.rlong = 1;
    rblist::CopyPoint(last, seed->resval.rpoint);
    return MakeFromList(false);
}

int CSDSCircleHatch::Create(const sds_point centre, double radius, const std::string& layer,
                            int colour) {
    CSDSPointExt right(centre[0] + radius, centre[1], centre[2]);
    CSDSPointExt left(centre[0] - radius, centre[1], centre[2]);
    right.bulge = 1.0;
    left.bulge = 1.0;
    return CSDSPolyLineHatch::Create({right, left}, layer, colour, 1, 1);
}

int CSDSCircleHatch::GetCenter(const sds_name hatch, sds_point centre) {
    rblist::Owned read(sds_entget(hatch));
    const resbuf* count = rblist::Find(read.get(), 93);
    const resbuf* first = count != nullptr ? rblist::Find(count->rbnext, 10) : nullptr;
    const resbuf* second = first != nullptr ? rblist::Find(first->rbnext, 10) : nullptr;
    if (second == nullptr) {
        centre[0] = centre[1] = centre[2] = 0.0;
        return RTERROR;
    }
    const double* a = first->resval.rpoint;
    const double* b = second->resval.rpoint;
    // The two vertices are the ends of a diameter, however the disc was turned.
    centre[0] = a[0] + (b[0] - a[0]) * 0.5;
    centre[1] = a[1] + (b[1] - a[1]) * 0.5;
    centre[2] = 0.0;
    return RTNORM;
}
