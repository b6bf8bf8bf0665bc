// What the reshaping options share: the bars of the same number, drawing a bar again with
// its record, making its texts again for the bars that replace it, and highlighting it.
#include <array>
#include <vector>

#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"

std::vector<std::array<long, 2>> CObslugaPreta::ReshapeSameNumberBars(const sds_name bar,
                                                                      int number) {
    std::vector<std::array<long, 2>> found;
    for (const auto& words : BarsNumbered(number)) {
        if (words[0] != bar[0] || words[1] != bar[1]) {
            found.push_back(words);
        }
    }
    return found;
}

bool CObslugaPreta::ReshapeDrawBar(const std::vector<CSDSPointExt>& barVertices,
                                   const CRodXDataParameters& record, sds_name made) {
    const std::string layerName = EnsureBarLayer(record.diameter * 10.0);
    if (barVertices.size() < 2 ||
        polyline.Create(barVertices, false, layerName, rods::kContinuous, rods::kByLayer) !=
            RTNORM ||
        sds_entlast(made) != RTNORM) {
        return false;
    }
    sds_name dictionary = {0, 0};
    if (xdata.EnsureExtensionDictionary(made, dictionary) != RTNORM ||
        xdata.WriteRodRecord(dictionary, LoadUiString(rods::kIdRecordKey), record) != RTNORM) {
        // A polyline without its record would be an ordinary line to every later command.
        sds_entdel(made);
        return false;
    }
    return true;
}

void CObslugaPreta::ReshapeTexts(const sds_name oldBar,
                                 const std::vector<std::array<long, 2>>& parts) {
    const bool dimensions = DeleteRodDimensions(oldBar) > 0;
    rods::ShownCounts shown;
    ReadShownCounts(oldBar, shown);
    const bool description = DeleteDescription(oldBar) > 0;
    const std::string key = LoadUiString(rods::kIdRecordKey);
    std::vector<CSDSPointExt> first;
    for (size_t i = 0; i < parts.size(); ++i) {
        const sds_name part = {parts[i][0], parts[i][1]};
        std::vector<CSDSPointExt> partVertices;
        if (LoadRodVertices(part, partVertices) != 1) {
            continue;
        }
        if (i == 0) {
            first = partVertices;
        }
        if (dimensions) {
            DrawRodDimensions(part, partVertices);
        }
        sds_point anchor = {0, 0, 0};
        if (description && DescriptionAnchor(part, partVertices, anchor) >= 0) {
            CRodXDataParameters record;
            xdata.ReadRodRecord(part, key, record);
            DrawDescription(part, anchor, partVertices, record.number, shown,
                            record.diameter * 10.0);
        }
    }
    if (!parts.empty()) {
        // The leaders follow the bar that carries on its number, so that they stay part of
        // a live bar's group.
        const sds_name firstPart = {parts[0][0], parts[0][1]};
        UpdateLeaderTexts(oldBar, true, true, first, firstPart);
    }
}

bool CObslugaPreta::ReshapeReplace(const sds_name oldBar,
                                   const std::vector<CSDSPointExt>& barVertices,
                                   const double offset[2], const CRodXDataParameters& record,
                                   sds_name made) {
    std::vector<CSDSPointExt> moved = barVertices;
    for (CSDSPointExt& v : moved) {
        v.x += offset[0];
        v.y += offset[1];
    }
    if (!ReshapeDrawBar(moved, record, made)) {
        return false;
    }
    const std::vector<std::array<long, 2>> before = RecordReferences(EntityHandle(oldBar));
    ReshapeTexts(oldBar, {{made[0], made[1]}});
    sds_entdel(oldBar);
    DropDeadGroupMembers(before);
    sds_redraw(made, 1);
    return true;
}

bool CObslugaPreta::ReshapeBarAndSameNumber(
    const sds_name bar, const std::vector<CSDSPointExt>& barVertices, const sds_point origin,
    const CRodXDataParameters& record, const std::function<void(CRodXDataParameters&)>& adjust) {
    const double none[2] = {0.0, 0.0};
    sds_name made = {0, 0};
    if (!ReshapeReplace(bar, barVertices, none, record, made)) {
        return false;
    }
    const std::string key = LoadUiString(rods::kIdRecordKey);
    for (const auto& words : ReshapeSameNumberBars(made, record.number)) {
        const sds_name other = {words[0], words[1]};
        std::vector<CSDSPointExt> otherVertices;
        if (LoadRodVertices(other, otherVertices) != 1) {
            continue;
        }
        const double offset[2] = {otherVertices[0].x - origin[0], otherVertices[0].y - origin[1]};
        CRodXDataParameters own;
        xdata.ReadRodRecord(other, key, own);
        adjust(own);
        sds_name copy = {0, 0};
        ReshapeReplace(other, barVertices, offset, own, copy);
    }
    return true;
}
