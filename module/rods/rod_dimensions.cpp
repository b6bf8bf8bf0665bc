// A bar's segment dimension texts: switching them on and off, drawing one per segment, and
// finding the entities that belong to a bar again by the owner handle in their records.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_text_layout.h"
#include "module/ui/toolbar_dlg.h"

namespace {

void ToSds(const rods::Point& p, sds_point out) {
    out[0] = p.x;
    out[1] = p.y;
    out[2] = p.z;
}

bool SameName(const sds_name a, const sds_name b) {
    return a[0] == b[0] && a[1] == b[1];
}

// The drawing's last entity, or {0, 0} when it has none.
std::array<long, 2> LastEntity() {
    sds_name last = {0, 0};
    if (sds_entlast(last) != RTNORM) {
        return {0, 0};
    }
    return {last[0], last[1]};
}

}  // namespace

std::vector<std::array<long, 2>> CObslugaPreta::FindOwnedEntities(
    const std::string& ownerHandle, const std::vector<std::string>& types,
    const std::vector<std::string>& tags) {
    std::vector<std::array<long, 2>> found;
    if (ownerHandle.empty()) {
        return found;
    }
    const std::string key = LoadUiString(rods::kIdRecordKey);
    for (const auto& words : RecordReferences(ownerHandle)) {
        const sds_name entity = {words[0], words[1]};
        resbuf* list = sds_entget(entity);
        const std::string type = CSDSBaseClass::GetTypeName(list);
        sds_relrb(list);
        if (std::find(types.begin(), types.end(), type) == types.end()) {
            continue;
        }
        // Type and owner lead every link record, description and dimension alike.
        std::string tag;
        std::string owner;
        xdata.ReadDimensionLink(entity, key, tag, owner);
        if (owner == ownerHandle && std::find(tags.begin(), tags.end(), tag) != tags.end()) {
            found.push_back({entity[0], entity[1]});
        }
    }
    return found;
}

int CObslugaPreta::DeleteRodDimensions(const sds_name bar) {
    std::vector<std::array<long, 2>> erased;
    for (const auto& words :
         FindOwnedEntities(EntityHandle(bar), {"TEXT", "LINE", "LWPOLYLINE", "HATCH"},
                           {LoadUiString(rods::kIdDimensionTag)})) {
        const sds_name entity = {words[0], words[1]};
        if (sds_entdel(entity) == RTNORM) {
            erased.push_back(words);
        }
    }
    // A copy's group lists its texts: it must not go on naming the erased ones.
    DropDeadGroupMembers(erased);
    return static_cast<int>(erased.size());
}

int CObslugaPreta::ToggleRodDimensions(const sds_name bar) {
    if (!IsBar(bar, LoadUiString(rods::kIdRecordKey), LoadUiString(rods::kIdBarTag))) {
        return 0;
    }
    // Removing is a change of the drawing like drawing is: one undo step either way.
    UndoGroup undo;
    int changed = -DeleteRodDimensions(bar);
    if (changed == 0) {
        std::vector<CSDSPointExt> barVertices;
        if (LoadRodVertices(bar, barVertices) == 1) {
            changed = DrawRodDimensions(bar, barVertices);
        }
    }
    undo.Close();
    sds_sssetfirst(nullptr, nullptr);
    sds_redraw(nullptr, 4);
    return changed;
}

int CObslugaPreta::DrawRodDimensions(const sds_name bar,
                                     const std::vector<CSDSPointExt>& barVertices) {
    const double h = panel != nullptr ? panel->GetDimensionFontSize() : 0.0;
    // The layer is made inside the group, so that the undo step that takes the texts back
    // takes back the layer made for them too.
    UndoGroup undo;
    const std::string layerName = LoadUiString(rods::kIdDimensionLayer);
    layer.Create(layerName, rods::kDimensionLayerColour);
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string tag = LoadUiString(rods::kIdDimensionTag);
    const std::string owner = EntityHandle(bar);
    CRodXDataParameters record;
    xdata.ReadRodRecord(bar, key, record);

    const int n = static_cast<int>(barVertices.size());
    // A hook stroke needs the bar segment beside it to know where its text goes.
    const rods::SegmentRange body = rods::BarSegments(n, record.hooks);
    const bool firstHook = body.first == 1 && n >= 3;
    const bool lastHook = body.last == n - 3 && n >= 3;
    int drawn = 0;
    for (int i = 0; i + 1 < n; ++i) {
        const rods::Point p = rods::At(barVertices[i]);
        const rods::Point q = rods::At(barVertices[i + 1]);
        if ((i == 0 && firstHook) || (i == n - 2 && lastHook)) {
            // The text of a hook is placed from its base, the bar's end, towards its tip.
            const bool first = i == 0 && firstHook;
            const rods::Point tip = first ? p : q;
            const rods::Point base = first ? q : p;
            const rods::Point inward = rods::At(barVertices[first ? 2 : n - 3]);
            sds_point a;
            sds_point b;
            ToSds(tip, a);
            ToSds(base, b);
            const std::array<long, 2> before = LastEntity();
            DrawSegmentDimension(bar, a, b, rods::Angle(base, inward), h);
            const std::array<long, 2> after = LastEntity();
            const sds_name was = {before[0], before[1]};
            const sds_name now = {after[0], after[1]};
            drawn += SameName(was, now) ? 0 : 1;
            continue;
        }
        const bool straight = std::fabs(barVertices[i].bulge) < rods::kEqualTolerance;
        const rods::SegmentText place =
            straight ? rods::PlaceStraightDimension(p, q, h)
                     : rods::PlaceArcDimension(p, q, barVertices[i].bulge, h);
        sds_point at;
        ToSds(place.at, at);
        if (text.Create(place.text, at, h, place.rotation, rods::kTextStyle, 0, place.horizontal,
                        at, place.vertical, layerName, rods::kByLayer) != RTNORM) {
            continue;
        }
        ++drawn;
        sds_name made = {0, 0};
        sds_name dictionary = {0, 0};
        if (sds_entlast(made) == RTNORM &&
            xdata.EnsureExtensionDictionary(made, dictionary) == RTNORM) {
            xdata.WriteDimensionLink(dictionary, key, tag, owner);
        }
    }
    undo.Close();
    return drawn;
}
