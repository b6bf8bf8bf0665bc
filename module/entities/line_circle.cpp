// Line and circle wrappers.
#include "module/entities/line_circle.h"

#include "module/entities/resbuf_util.h"

int CSDSLine::Create(const sds_point start, const sds_point end, const std::string& layer,
                     const std::string& linetype, int colour, double linetypeScale) {
    ReleaseList();
    list = sds_buildlist(RTDXF0, "line", 8, layer.c_str(), 6, linetype.c_str(), 62, colour, 48,
                         linetypeScale, 10, start, 11, end, RTNONE);
    return MakeFromList(false);
}

int CSDSLine::GetPoints(const sds_name entity, sds_point start, sds_point end) {
    rblist::Owned read(sds_entget(entity));
    const resbuf* first = rblist::Find(read.get(), 10);
    const resbuf* second = rblist::Find(read.get(), 11);
    if (first == nullptr || second == nullptr) {
        return RTERROR;
    }
    rblist::CopyPoint(first->resval.rpoint, start);
    rblist::CopyPoint(second->resval.rpoint, end);
    return RTNORM;
}

int CSDSCircle::Create(const sds_point centre, double radius, const std::string& layer,
                       const std::string& linetype, int colour, double linetypeScale) {
    ReleaseList();
    list = sds_buildlist(RTDXF0, "circle", 8, layer.c_str(), 6, linetype.c_str(), 62, colour, 48,
                         linetypeScale, 10, centre, 40, radius, RTNONE);
    return MakeFromList(false);
}

int CSDSCircle::GetCenter(const sds_name entity, sds_point centre) {
    rblist::Owned read(sds_entget(entity));
    const resbuf* node = rblist::Find(read.get(), 10);
    if (node == nullptr) {
        return RTERROR;
    }
    rblist::CopyPoint(node->resval.rpoint, centre);
    return RTNORM;
}

int CSDSCircle::SetCenter(const sds_name entity, const sds_point centre) {
    rblist::Owned read(sds_entget(entity));
    resbuf* node = rblist::Find(read.get(), 10);
    if (node == nullptr) {
        status = RTERROR;
        return status;
    }
    rblist::CopyPoint(centre, node->resval.rpoint);
    status = sds_entmod(read.get());
    return status;
}
