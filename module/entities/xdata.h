// Extension dictionaries of entities, and the XRECORDs in which the module keeps its data:
// one record per marked entity, and the schedule rows in the named object dictionary.
#pragma once

#include <string>
#include <vector>

#include "module/entities/sds_base.h"
#include "module/model/rod_records.h"
#include "module/model/schedule_row.h"

class CSDSXData : public CSDSBaseClass {
  public:
    // Makes an empty ownerless dictionary.
    int CreateDictionary(sds_name dictionary);
    // The entity's extension dictionary, made and attached when it has none.
    int EnsureExtensionDictionary(const sds_name entity, sds_name dictionary);
    // Attaches a new, empty extension dictionary in place of the entity's present one (which
    // stays in the drawing, unreferenced). RTERROR and no change when it has none.
    int ResetExtensionDictionary(const sds_name entity, sds_name dictionary);
    // The extension dictionary named in an entity's list; false when it has none.
    static bool FindExtensionDictionary(const resbuf* entityList, sds_name dictionary);
};

// Writers add an entry under `key` to `dictionary` (an existing entry is not removed first:
// callers reset the dictionary before rewriting) and return RTNORM, or the first host code
// that refused. Readers take the record of `entity` under `key`; they never fail: a missing
// dictionary or entry gives the record's without-record defaults.
class CSDSXDataPret : public CSDSXData {
  public:
    int WriteRodRecord(const sds_name dictionary, const std::string& key,
                       const CRodXDataParameters& record);
    int ReadRodRecord(const sds_name entity, const std::string& key, CRodXDataParameters& record);
    // The same from the entity's list as sds_entget gives it.
    int ReadRodRecord(const resbuf* entityList, const std::string& key,
                      CRodXDataParameters& record);

    int WriteProfileRecord(const sds_name dictionary, const std::string& key,
                           const CRodProfileXDataParameters& record);
    int ReadProfileRecord(const sds_name entity, const std::string& key,
                          CRodProfileXDataParameters& record);

    int WriteDescriptionLink(const sds_name dictionary, const std::string& key,
                             const std::string& type, const std::string& owner,
                             const sds_point point);
    int ReadDescriptionLink(const sds_name entity, const std::string& key, std::string& type,
                            std::string& owner, sds_point point);
    int WriteDescriptionLink(const sds_name dictionary, const std::string& key,
                             const CRodDescriptionLink& link);
    int ReadDescriptionLink(const sds_name entity, const std::string& key,
                            CRodDescriptionLink& link);

    int WriteDimensionLink(const sds_name dictionary, const std::string& key,
                           const std::string& type, const std::string& owner);
    int ReadDimensionLink(const sds_name entity, const std::string& key, std::string& type,
                          std::string& owner);

    // Replaces every stored row "<key>0", "<key>1", ... by `rows`; the records replaced are
    // erased. The result of sds_namedobjdict, or the first host code that refused a row.
    int WriteScheduleRows(const std::string& key, const std::vector<CWykazObj>& rows);
    // Appends the stored rows, in key order up to the first missing one, except those that
    // were collected from the drawing (unless `drawingRowsToo`).
    int ReadScheduleRows(const std::string& key, std::vector<CWykazObj>& rows,
                         bool drawingRowsToo = false);
};
