// Record defaults and the recognising tests built on the record readers.
#include "module/model/rod_records.h"

#include <algorithm>

#include "module/entities/sds_base.h"
#include "module/entities/xdata.h"

CRodXDataParameters CRodXDataParameters::WithoutRecord() {
    CRodXDataParameters record;
    record.rounded = 0;
    return record;
}

namespace {}  // namespace

bool IsBar(const sds_name entity, const std::string& key, const std::string& barTag) {
    if (EntityTypeName(entity) != "LWPOLYLINE") {
        return false;
    }
    CSDSXDataPret records;
    CRodXDataParameters record;
    records.ReadRodRecord(entity, key, record);
    return record.type == barTag;
}

bool IsProjectionLine(const sds_name entity, const std::string& key,
                      const std::string& horizontalTag, const std::string& verticalTag) {
    if (EntityTypeName(entity) != "LINE") {
        return false;
    }
    CSDSXDataPret records;
    CRodXDataParameters record;
    records.ReadRodRecord(entity, key, record);
    return record.type == horizontalTag || record.type == verticalTag;
}

bool IsCrossSectionDisc(const sds_name entity, const std::string& key,
                        const std::string& sectionTag) {
    CSDSXDataPret records;
    CRodProfileXDataParameters record;
    records.ReadProfileRecord(entity, key, record);
    return record.type == sectionTag;
}

bool IsTextOfBar(const sds_name entity, const std::string& key, const std::string& barHandle,
                 const std::vector<std::string>& tags) {
    CSDSXDataPret records;
    CRodDimensionLink link;
    records.ReadDimensionLink(entity, key, link.type, link.owner);
    return link.owner == barHandle && std::find(tags.begin(), tags.end(), link.type) != tags.end();
}
