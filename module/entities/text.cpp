// Text and text-style wrappers.
#include "module/entities/text.h"

#include "module/entities/resbuf_util.h"

CSDSText& CSDSText::operator=(const CSDSText& other) {
    if (this != &other) {
        CSDSBaseClass::operator=(other);
        ReleaseTextList();
    }
    return *this;
}

CSDSText::~CSDSText() {
    ReleaseTextList();
}

void CSDSText::ReleaseTextList() {
    if (textList != nullptr) {
        sds_relrb(textList);
        textList = nullptr;
    }
}

int CSDSText::Create(const std::string& text, const sds_point insertion, double height,
                     double rotation, const std::string& style, int generationFlags,
                     int horizontalJustification, const sds_point alignment,
                     int verticalJustification, const std::string& layer, int colour) {
    ReleaseTextList();
    textList =
        sds_buildlist(RTDXF0, "text", 8, layer.c_str(), 62, colour, 10, insertion, 40, height, 1,
                      text.c_str(), 50, rotation, 7, style.c_str(), 71, generationFlags, 72,
                      horizontalJustification, 11, alignment, 73, verticalJustification, RTNONE);
    if (textList == nullptr) {
        status = RTERROR;
        return status;
    }
    status = sds_entmake(textList);
    ReleaseTextList();
    return status;
}

std::string CSDSText::GetString(const sds_name entity) {
    rblist::Owned read(sds_entget(entity));
    const resbuf* node = rblist::Find(read.get(), 1);
    return node != nullptr ? rblist::Text(node) : std::string();
}

int CSDSText::SetString(const sds_name entity, const std::string& text) {
    rblist::Owned read(sds_entget(entity));
    resbuf* node = rblist::Find(read.get(), 1);
    if (node == nullptr) {
        return status;
    }
    if (!rblist::SetText(node, text)) {
        status = RTERROR;
        return status;
    }
    status = sds_entmod(read.get());
    return status;
}

double CSDSText::GetHeight(const sds_name entity) {
    rblist::Owned read(sds_entget(entity));
    const resbuf* node = rblist::Find(read.get(), 40);
    return node != nullptr ? node->resval.rreal : -1.0;
}

int CSDSText::GetPoints(const sds_name entity, sds_point insertion, sds_point alignment) {
    rblist::Owned read(sds_entget(entity));
    const resbuf* first = rblist::Find(read.get(), 10);
    const resbuf* second = rblist::Find(read.get(), 11);
    if (first == nullptr || second == nullptr) {
        return RTERROR;
    }
    rblist::CopyPoint(first->resval.rpoint, insertion);
    rblist::CopyPoint(second->resval.rpoint, alignment);
    return RTNORM;
}

int CSDSText::SetPoints(const sds_name entity, const sds_point insertion,
                        const sds_point alignment) {
    rblist::Owned read(sds_entget(entity));
    resbuf* first = rblist::Find(read.get(), 10);
    resbuf* second = rblist::Find(read.get(), 11);
    if (first == nullptr || second == nullptr) {
        status = RTERROR;
        return status;
    }
    rblist::CopyPoint(insertion, first->resval.rpoint);
    rblist::CopyPoint(alignment, second->resval.rpoint);
    status = sds_entmod(read.get());
    return status;
}

int CSDSTextStyle::Create(const std::string& name, double height, double widthFactor,
                          double obliqueAngle, int generationFlags, double lastHeight,
                          const std::string& fontFile, const std::string& bigFontFile) {
    if (Exists(name)) {
        status = RTNORM;
        return status;
    }
    ReleaseList();
    list = sds_buildlist(RTDXF0, "style", 2, name.c_str(), 40, height, 41, widthFactor, 50,
                         obliqueAngle, 71, generationFlags, 42, lastHeight, 3, fontFile.c_str(), 4,
                         bigFontFile.c_str(), RTNONE);
    return MakeFromList(false);
}

bool CSDSTextStyle::Exists(const std::string& name) {
    rblist::Owned found(sds_tblsearch("STYLE", name.c_str(), 0));
    return found != nullptr;
}
