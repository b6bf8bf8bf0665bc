// Entity base: common readers and the make-and-release step shared by every create operation.
#include "module/entities/sds_base.h"

#include <cstring>

#include "module/entities/resbuf_util.h"

CSDSBaseClass& CSDSBaseClass::operator=(const CSDSBaseClass& other) {
    if (this != &other) {
        ReleaseList();
        status = other.status;
    }
    return *this;
}

CSDSBaseClass::~CSDSBaseClass() {
    ReleaseList();
}

void CSDSBaseClass::ReleaseList() {
    if (list != nullptr) {
        sds_relrb(list);
        list = nullptr;
    }
}

int CSDSBaseClass::MakeFromList(bool ownerless, sds_name made) {
    if (list == nullptr) {
        status = RTERROR;
        return status;
    }
    if (ownerless) {
        sds_name scratch = {0, 0};
        status = sds_entmakex(list, made != nullptr ? made : scratch);
    } else {
        status = sds_entmake(list);
    }
    ReleaseList();
    return status;
}

std::string CSDSBaseClass::GetHandle(const resbuf* entityList) {
    const resbuf* node = rblist::Find(entityList, 5);
    return node != nullptr ? rblist::Text(node) : std::string();
}

std::string CSDSBaseClass::GetTypeName(const resbuf* entityList) {
    const resbuf* node = rblist::Find(entityList, 0);
    return node != nullptr ? rblist::Text(node) : std::string();
}

void CSDSBaseClass::GetTypeName(const resbuf* entityList, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) {
        return;
    }
    std::string name = GetTypeName(entityList);
    std::size_t count = name.size() < size - 1 ? name.size() : size - 1;
    std::memcpy(buffer, name.data(), count);
    buffer[count] = '\0';
}

int CSDSBaseClass::GetEntityName(const resbuf* entityList, sds_name name) {
    const resbuf* node = rblist::Find(entityList, -1);
    if (node == nullptr) {
        return RTERROR;
    }
    rblist::CopyName(node->resval.rlname, name);
    return RTNORM;
}

std::string CSDSBaseClass::GetLayer(const sds_name entity) {
    rblist::Owned read(sds_entget(entity));
    const resbuf* node = rblist::Find(read.get(), 8);
    return node != nullptr ? rblist::Text(node) : std::string();
}

int CSDSBaseClass::GetColor(const sds_name entity) {
    rblist::Owned read(sds_entget(entity));
    const resbuf* node = rblist::Find(read.get(), 62);
    return node != nullptr ? node->resval.rint : RTERROR;
}

std::string EntityTypeName(const sds_name entity) {
    resbuf* list = sds_entget(entity);
    std::string type = CSDSBaseClass::GetTypeName(list);
    if (list != nullptr) {
        sds_relrb(list);
    }
    return type;
}

std::vector<std::array<long, 2>> SelectionMembers(const sds_name set) {
    std::vector<std::array<long, 2>> names;
    long length = 0;
    if (set == nullptr || sds_sslength(set, &length) != RTNORM) {
        return names;
    }
    for (long i = 0; i < length; ++i) {
        sds_name entity = {0, 0};
        if (sds_ssname(set, i, entity) == RTNORM) {
            names.push_back({entity[0], entity[1]});
        }
    }
    return names;
}

std::vector<std::array<long, 2>> PickFirstMembers() {
    resbuf* grips = nullptr;
    resbuf* picks = nullptr;
    const int rc = sds_ssgetfirst(&grips, &picks);
    sds_relrb(grips);
    std::vector<std::array<long, 2>> members;
    if (rc == RTNORM && picks != nullptr && picks->restype == RTPICKS) {
        sds_name set = {picks->resval.rlname[0], picks->resval.rlname[1]};
        members = SelectionMembers(set);
        sds_ssfree(set);
    }
    sds_relrb(picks);
    return members;
}
