// Drawing a bar's description and segment dimension texts, deleting and redrawing the
// description, and rewriting the texts of its leader descriptions.
#include <array>
#include <vector>

#include "module/entities/sds_base.h"
#include "module/model/steel.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_description.h"
#include "module/ui/toolbar_dlg.h"

namespace {

void ToSds(const rods::Point& p, sds_point out) {
    out[0] = p.x;
    out[1] = p.y;
    out[2] = p.z;
}

}  // namespace

void CObslugaPreta::MarkWithDescriptionLink(const std::string& tag, const std::string& owner,
                                            const sds_point pick) {
    sds_name made = {0, 0};
    sds_name dictionary = {0, 0};
    if (sds_entlast(made) != RTNORM ||
        xdata.EnsureExtensionDictionary(made, dictionary) != RTNORM) {
        return;
    }
    xdata.WriteDescriptionLink(dictionary, LoadUiString(rods::kIdRecordKey), tag, owner, pick);
}

int CObslugaPreta::DrawDescription(const sds_name bar, const sds_point pick,
                                   const std::vector<CSDSPointExt>& barVertices, int number,
                                   int count, double diameterMm) {
    const double spacing = panel != nullptr ? panel->GetSpacing() : 0.0;
    return DrawDescription(bar, pick, barVertices, number,
                           {rods::CountText(count), rods::SpacingText(spacing)}, diameterMm);
}

bool CObslugaPreta::ReadShownCounts(const sds_name bar, rods::ShownCounts& shown) {
    const std::string owner = EntityHandle(bar);
    if (owner.empty()) {
        return false;
    }
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::vector<std::string> tags = {LoadUiString(rods::kIdDescriptionTag)};
    // The pieces beside the bar are the main text (the one with the length), the sign and
    // the count.
    bool found = false;
    for (const auto& words : RecordReferences(owner)) {
        const sds_name entity = {words[0], words[1]};
        if (EntityTypeName(entity) != "TEXT" || !IsTextOfBar(entity, key, owner, tags)) {
            continue;
        }
        const std::string content = CSDSText::GetString(entity);
        if (content.find("L=") != std::string::npos) {
            shown.spacing = rods::ShownSpacing(content);
            found = true;
        } else if (content != rods::SignText(true) && content != rods::SignText(false)) {
            shown.count = content;
        }
    }
    return found;
}

int CObslugaPreta::DrawDescription(const sds_name bar, const sds_point pick,
                                   const std::vector<CSDSPointExt>& barVertices, int number,
                                   const rods::ShownCounts& shown, double diameterMm) {
    const std::string layerName = LoadUiString(rods::kIdDescriptionLayer);
    layer.Create(layerName, rods::kDescriptionLayerColour);
    const double h = panel != nullptr ? panel->GetDescriptionFontSize() : 0.0;
    const std::string key = LoadUiString(rods::kIdRecordKey);
    CRodXDataParameters record;
    xdata.ReadRodRecord(bar, key, record);

    const rods::Point picked{pick[0], pick[1], pick[2]};
    const int segment =
        rods::FindDescriptionSegment(barVertices, record.hooks, picked, PickTolerance());
    if (segment < 0) {
        return 0;
    }
    const std::string owner = EntityHandle(bar);
    const rods::Point p = rods::At(barVertices[segment]);
    const rods::Point q = rods::At(barVertices[segment + 1]);
    textStyle.Create(rods::kSymbolStyle, 10.0, 1.0, 0.0, 0, 0.2, rods::kSymbolFont, "");

    const std::string mainText =
        rods::DescriptionMainText(diameterMm, shown.spacing, rods::BarLength(barVertices));
    const std::string& countText = shown.count;
    const std::string signText = rods::SignText(IsSmoothSteel(record.steel));
    const std::string numberText = rods::NumberText(number);
    const rods::DescriptionLayout lay =
        rods::LayoutDescription(p, q, h, mainText, countText, numberText);

    const std::string pieceTag = LoadUiString(rods::kIdDescriptionTag);
    const std::string numberTag = LoadUiString(rods::kIdDescriptionNumberTag);
    const struct {
        const std::string& content;
        const rods::Point& at;
        int horizontal;
        const std::string& tag;
    } pieces[] = {
        {mainText, lay.main, rods::kAlignLeft, pieceTag},
        {signText, lay.sign, rods::kAlignRight, pieceTag},
        {countText, lay.count, rods::kAlignRight, pieceTag},
        {numberText, lay.number, rods::kAlignCentre, numberTag},
    };
    for (const auto& piece : pieces) {
        sds_point at;
        ToSds(piece.at, at);
        if (text.Create(piece.content, at, h, lay.angle, rods::kTextStyle, 0, piece.horizontal, at,
                        lay.vertical, layerName, rods::kByLayer) == RTNORM) {
            MarkWithDescriptionLink(piece.tag, owner, pick);
        }
    }
    sds_point centre;
    ToSds(lay.circleCentre, centre);
    if (circle.Create(centre, lay.circleRadius, layerName, rods::kContinuous, rods::kByLayer,
                      1.0) == RTNORM) {
        MarkWithDescriptionLink(pieceTag, owner, pick);
    }
    return 1;
}

void CObslugaPreta::DrawSegmentDimension(const sds_name bar, const sds_point a, const sds_point b,
                                         double beta, double height) {
    const rods::DimensionPlacement place =
        rods::PlaceSegmentDimension({a[0], a[1], a[2]}, {b[0], b[1], b[2]}, beta);
    sds_point at;
    ToSds(place.point, at);
    if (text.Create(place.text, at, height, 0.0, rods::kTextStyle, 0, place.horizontal, at,
                    place.vertical, LoadUiString(rods::kIdDimensionLayer),
                    rods::kByLayer) != RTNORM) {
        return;
    }
    sds_name made = {0, 0};
    sds_name dictionary = {0, 0};
    if (sds_entlast(made) == RTNORM &&
        xdata.EnsureExtensionDictionary(made, dictionary) == RTNORM) {
        xdata.WriteDimensionLink(dictionary, LoadUiString(rods::kIdRecordKey),
                                 LoadUiString(rods::kIdDimensionTag), EntityHandle(bar));
    }
}

int CObslugaPreta::DeleteDescription(const sds_name bar) {
    const std::string owner = EntityHandle(bar);
    if (owner.empty()) {
        return 0;
    }
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::vector<std::string> tags = {LoadUiString(rods::kIdDescriptionTag),
                                           LoadUiString(rods::kIdDescriptionNumberTag)};
    std::vector<std::array<long, 2>> erased;
    for (const auto& words : RecordReferences(owner)) {
        const sds_name entity = {words[0], words[1]};
        const std::string type = EntityTypeName(entity);
        if ((type == "TEXT" || type == "CIRCLE") && IsTextOfBar(entity, key, owner, tags) &&
            sds_entdel(entity) == RTNORM) {
            erased.push_back(words);
        }
    }
    // A copy's group lists its texts: it must not go on naming the erased ones.
    DropDeadGroupMembers(erased);
    return static_cast<int>(erased.size());
}

int CObslugaPreta::DescriptionAnchor(const sds_name bar,
                                     const std::vector<CSDSPointExt>& barVertices,
                                     sds_point point) {
    CRodXDataParameters record;
    xdata.ReadRodRecord(bar, LoadUiString(rods::kIdRecordKey), record);
    rods::Point anchor;
    const int segment = rods::DescriptionAnchor(barVertices, record.hooks, anchor);
    if (segment >= 0) {
        ToSds(anchor, point);
    }
    return segment;
}

int CObslugaPreta::RedrawDescription(const sds_name bar,
                                     const std::vector<CSDSPointExt>& barVertices, int number) {
    rods::ShownCounts shown;
    ReadShownCounts(bar, shown);
    if (DeleteDescription(bar) == 0) {
        return 0;
    }
    sds_point anchor = {0, 0, 0};
    if (DescriptionAnchor(bar, barVertices, anchor) < 0) {
        return 0;
    }
    CRodXDataParameters record;
    xdata.ReadRodRecord(bar, LoadUiString(rods::kIdRecordKey), record);
    return DrawDescription(bar, anchor, barVertices, number, shown, record.diameter * 10.0);
}

void CObslugaPreta::RewriteLeaderLink(const sds_name entity, const std::string& owner) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    CRodDescriptionLink link;
    xdata.ReadDescriptionLink(entity, key, link);
    sds_name dictionary = {0, 0};
    if (xdata.ResetExtensionDictionary(entity, dictionary) == RTNORM) {
        xdata.WriteDescriptionLink(dictionary, key, link.type, owner, link.point);
    }
}

void CObslugaPreta::UpdateLeaderTexts(const sds_name bar, bool numberFlag, bool textsFlag,
                                      const std::vector<CSDSPointExt>& barVertices,
                                      const sds_name replacingBar) {
    const std::string owner = EntityHandle(bar);
    if (owner.empty()) {
        return;
    }
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string leaderTag = LoadUiString(rods::kIdLeaderTag);
    const std::string numberTag = LoadUiString(rods::kIdLeaderNumberTag);
    const std::string signTag = LoadUiString(rods::kIdLeaderSignTag);
    const std::string countTag = LoadUiString(rods::kIdLeaderCountTag);
    const std::string mainTag = LoadUiString(rods::kIdLeaderMainTag);
    // The bar that the leader describes from now on carries the values to show.
    CRodXDataParameters record;
    xdata.ReadRodRecord(replacingBar != nullptr ? replacingBar : bar, key, record);
    const std::string newOwner = replacingBar != nullptr ? EntityHandle(replacingBar) : owner;

    for (const auto& words : RecordReferences(owner)) {
        const sds_name entity = {words[0], words[1]};
        CRodDescriptionLink link;
        xdata.ReadDescriptionLink(entity, key, link);
        if (link.owner != owner) {
            continue;
        }
        if (numberFlag && link.type == numberTag) {
            text.SetString(entity, rods::NumberText(record.number));
        } else if (textsFlag && link.type == signTag) {
            text.SetString(entity, rods::SignText(IsSmoothSteel(record.steel)));
        } else if (textsFlag && link.type == mainTag) {
            // The count text stays as it is; the main text keeps its spacing.
            const std::string spacing = rods::ShownSpacing(CSDSText::GetString(entity));
            text.SetString(entity, rods::LeaderMainText(record.diameter * 10.0, spacing,
                                                        rods::BarLength(barVertices)));
        }
        const bool leaderPiece = link.type == leaderTag || link.type == numberTag ||
                                 link.type == signTag || link.type == countTag ||
                                 link.type == mainTag;
        if (leaderPiece && newOwner != owner && !newOwner.empty()) {
            RewriteLeaderLink(entity, newOwner);
        }
    }
}
