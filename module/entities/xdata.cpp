// Extension dictionaries and the module's records.
#include "module/entities/xdata.h"

#include <cstdio>
#include <cstring>

#include "module/entities/record_fields.h"
#include "module/entities/resbuf_util.h"

namespace {

const char* const kXDictionaryOpen = "{ACAD_XDICTIONARY";

// The node holding "{ACAD_XDICTIONARY" in an entity's list, null when there is none.
resbuf* FindXDictionaryOpen(resbuf* entityList) {
    for (resbuf* node = rblist::Find(entityList, 102); node != nullptr;
         node = rblist::Find(node->rbnext, 102)) {
        if (node->resval.rstring != nullptr &&
            std::strcmp(node->resval.rstring, kXDictionaryOpen) == 0) {
            return node;
        }
    }
    return nullptr;
}

// The 360 node right after the opening bracket, where the dictionary is named.
resbuf* XDictionaryNode(resbuf* entityList) {
    resbuf* open = FindXDictionaryOpen(entityList);
    if (open == nullptr || open->rbnext == nullptr || open->rbnext->restype != 360) {
        return nullptr;
    }
    return open->rbnext;
}

std::string EntryName(const std::string& key, int index) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%d", index);
    return key + suffix;
}

// The schedule's typed entries follow the fields every bar record has, when there are any.
record_fields::Layout RodLayout(CRodXDataParameters& r, bool typedEntries) {
    record_fields::Layout layout = {{1, &r.type},     {70, &r.ordinal}, {140, &r.diameter},
                                    {70, &r.hooks},   {70, &r.number},  {70, &r.steel},
                                    {70, &r.rounded}, {70, &r.flag}};
    if (typedEntries) {
        layout.push_back({300, &r.typedCount});
        layout.push_back({301, &r.typedRemark});
    }
    return layout;
}

record_fields::Layout ProfileLayout(CRodProfileXDataParameters& r) {
    return {{1, &r.type}, {140, &r.diameter}, {70, &r.steel}, {140, &r.spacing}, {70, &r.count}};
}

record_fields::Layout DescriptionLayout(std::string& type, std::string& owner, double* point) {
    return {{1, &type}, {1, &owner}, {10, record_fields::PointField{point}}};
}

record_fields::Layout DimensionLayout(std::string& type, std::string& owner) {
    return {{1, &type}, {1, &owner}};
}

record_fields::Layout RowLayout(CWykazObj& row) {
    return {{1, &row.length},         {1, &row.count},        {1, &row.diameter},
            {1, &row.steel},          {1, &row.remarks},      {70, &row.applyToDrawing},
            {70, &row.fromDrawing},   {70, &row.lengthFlags}, {70, &row.countFlags},
            {70, &row.diameterFlags}, {70, &row.steelFlags},  {70, &row.remarksFlags}};
}

// Makes the XRECORD of a layout and files it under `key`.
int WriteRecord(const sds_name dictionary, const std::string& key,
                const record_fields::Layout& layout) {
    rblist::Owned built(record_fields::BuildXRecord(layout));
    if (built == nullptr) {
        return RTERROR;
    }
    sds_name record = {0, 0};
    int result = sds_entmakex(built.get(), record);
    if (result != RTNORM) {
        return result;
    }
    return sds_dictadd(dictionary, key.c_str(), record);
}

// The entry list of the record of the entity whose list is given, null when there is no
// dictionary or no entry.
rblist::Owned FindRecordOf(const resbuf* entityList, const std::string& key) {
    sds_name dictionary = {0, 0};
    if (!CSDSXData::FindExtensionDictionary(entityList, dictionary)) {
        return nullptr;
    }
    return rblist::Owned(sds_dictsearch(dictionary, key.c_str(), 0));
}

rblist::Owned FindRecord(const sds_name entity, const std::string& key) {
    rblist::Owned read(sds_entget(entity));
    return FindRecordOf(read.get(), key);
}

}  // namespace

int CSDSXData::CreateDictionary(sds_name dictionary) {
    ReleaseList();
    list = sds_buildlist(RTDXF0, "DICTIONARY", 100, "AcDbDictionary", RTNONE);
    return MakeFromList(true, dictionary);
}

bool CSDSXData::FindExtensionDictionary(const resbuf* entityList, sds_name dictionary) {
    const resbuf* node = XDictionaryNode(const_cast<resbuf*>(entityList));
    if (node == nullptr) {
        return false;
    }
    rblist::CopyName(node->resval.rlname, dictionary);
    return true;
}

int CSDSXData::EnsureExtensionDictionary(const sds_name entity, sds_name dictionary) {
    rblist::Owned read(sds_entget(entity));
    if (read == nullptr) {
        status = RTERROR;
        return status;
    }
    if (FindExtensionDictionary(read.get(), dictionary)) {
        return RTNORM;
    }
    sds_name made = {0, 0};
    if (CreateDictionary(made) != RTNORM) {
        return status;
    }
    resbuf* groups = sds_buildlist(102, kXDictionaryOpen, 360, made, 102, "}", RTNONE);
    if (groups == nullptr) {
        status = RTERROR;
        return status;
    }
    // The groups go right before the space group (67). A list without one takes them after
    // its handle, where the host keeps them itself.
    if (!rblist::InsertBefore(read.get(), 67, groups)) {
        resbuf* handle = rblist::Find(read.get(), 5);
        if (handle == nullptr) {
            sds_relrb(groups);
            status = RTERROR;
            return status;
        }
        rblist::Last(groups)->rbnext = handle->rbnext;
        handle->rbnext = groups;
    }
    status = sds_entmod(read.get());
    if (status != RTNORM) {
        return status;
    }
    rblist::CopyName(made, dictionary);
    return RTNORM;
}

int CSDSXData::ResetExtensionDictionary(const sds_name entity, sds_name dictionary) {
    rblist::Owned read(sds_entget(entity));
    resbuf* node = XDictionaryNode(read.get());
    if (node == nullptr) {
        status = RTERROR;
        return status;
    }
    sds_name made = {0, 0};
    if (CreateDictionary(made) != RTNORM) {
        return status;
    }
    rblist::CopyName(made, node->resval.rlname);
    status = sds_entmod(read.get());
    if (status != RTNORM) {
        return status;
    }
    rblist::CopyName(made, dictionary);
    return RTNORM;
}

int CSDSXDataPret::WriteRodRecord(const sds_name dictionary, const std::string& key,
                                  const CRodXDataParameters& record) {
    CRodXDataParameters values = record;
    status = WriteRecord(dictionary, key, RodLayout(values, values.HasTypedEntries()));
    return status;
}

int CSDSXDataPret::ReadRodRecord(const sds_name entity, const std::string& key,
                                 CRodXDataParameters& record) {
    rblist::Owned read(sds_entget(entity));
    return ReadRodRecord(read.get(), key, record);
}

int CSDSXDataPret::ReadRodRecord(const resbuf* entityList, const std::string& key,
                                 CRodXDataParameters& record) {
    rblist::Owned entry = FindRecordOf(entityList, key);
    if (entry == nullptr) {
        record = CRodXDataParameters::WithoutRecord();
        return RTNORM;
    }
    // A record without typed entries must not keep those of the record read before.
    record.typedCount.clear();
    record.typedRemark.clear();
    record_fields::FillFromList(entry.get(), RodLayout(record, true));
    return RTNORM;
}

int CSDSXDataPret::WriteProfileRecord(const sds_name dictionary, const std::string& key,
                                      const CRodProfileXDataParameters& record) {
    CRodProfileXDataParameters values = record;
    status = WriteRecord(dictionary, key, ProfileLayout(values));
    return status;
}

int CSDSXDataPret::ReadProfileRecord(const sds_name entity, const std::string& key,
                                     CRodProfileXDataParameters& record) {
    rblist::Owned entry = FindRecord(entity, key);
    if (entry == nullptr) {
        record.Reset();
        return RTNORM;
    }
    record_fields::FillFromList(entry.get(), ProfileLayout(record));
    return RTNORM;
}

int CSDSXDataPret::WriteDescriptionLink(const sds_name dictionary, const std::string& key,
                                        const std::string& type, const std::string& owner,
                                        const sds_point point) {
    CRodDescriptionLink link{type, owner, {point[0], point[1], point[2]}};
    return WriteDescriptionLink(dictionary, key, link);
}

int CSDSXDataPret::WriteDescriptionLink(const sds_name dictionary, const std::string& key,
                                        const CRodDescriptionLink& link) {
    CRodDescriptionLink values = link;
    status =
        WriteRecord(dictionary, key, DescriptionLayout(values.type, values.owner, values.point));
    return status;
}

int CSDSXDataPret::ReadDescriptionLink(const sds_name entity, const std::string& key,
                                       std::string& type, std::string& owner, sds_point point) {
    rblist::Owned entry = FindRecord(entity, key);
    if (entry == nullptr) {
        type.clear();
        owner.clear();
        point[0] = point[1] = point[2] = 0.0;
        return RTNORM;
    }
    record_fields::FillFromList(entry.get(), DescriptionLayout(type, owner, point));
    return RTNORM;
}

int CSDSXDataPret::ReadDescriptionLink(const sds_name entity, const std::string& key,
                                       CRodDescriptionLink& link) {
    return ReadDescriptionLink(entity, key, link.type, link.owner, link.point);
}

int CSDSXDataPret::WriteDimensionLink(const sds_name dictionary, const std::string& key,
                                      const std::string& type, const std::string& owner) {
    std::string typeValue = type;
    std::string ownerValue = owner;
    status = WriteRecord(dictionary, key, DimensionLayout(typeValue, ownerValue));
    return status;
}

int CSDSXDataPret::ReadDimensionLink(const sds_name entity, const std::string& key,
                                     std::string& type, std::string& owner) {
    rblist::Owned entry = FindRecord(entity, key);
    if (entry == nullptr) {
        type.clear();
        owner.clear();
        return RTNORM;
    }
    record_fields::FillFromList(entry.get(), DimensionLayout(type, owner));
    return RTNORM;
}

int CSDSXDataPret::WriteScheduleRows(const std::string& key, const std::vector<CWykazObj>& rows) {
    sds_name named = {0, 0};
    int result = sds_namedobjdict(named);
    if (result != RTNORM) {
        return result;
    }
    for (int n = 0;; ++n) {
        std::string name = EntryName(key, n);
        rblist::Owned found(sds_dictsearch(named, name.c_str(), 1));
        if (found == nullptr) {
            break;
        }
        // Out of the dictionary and erased: a record nothing files is no part of the drawing.
        const resbuf* self = rblist::Find(found.get(), -1);
        if (sds_dictdel(named, name.c_str()) == RTNORM && self != nullptr) {
            sds_entdel(self->resval.rlname);
        }
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        CWykazObj row = rows[i];
        int written = WriteRecord(named, EntryName(key, static_cast<int>(i)), RowLayout(row));
        if (written != RTNORM && result == RTNORM) {
            result = written;
        }
    }
    status = result;
    return result;
}

int CSDSXDataPret::ReadScheduleRows(const std::string& key, std::vector<CWykazObj>& rows,
                                    bool drawingRowsToo) {
    sds_name named = {0, 0};
    int result = sds_namedobjdict(named);
    if (result != RTNORM) {
        return result;
    }
    for (int n = 0;; ++n) {
        rblist::Owned entry(sds_dictsearch(named, EntryName(key, n).c_str(), 0));
        if (entry == nullptr) {
            break;
        }
        CWykazObj row;
        record_fields::FillFromList(entry.get(), RowLayout(row));
        if (row.fromDrawing == 0 || drawingRowsToo) {
            rows.push_back(row);
        }
    }
    return RTNORM;
}
