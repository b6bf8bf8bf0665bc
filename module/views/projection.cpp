// WRP: projection lines of bars. A bar drawn in its shape in one view shows in the view
// beside it as a straight line over its extent along X ("RzutPoziomy") or Y ("RzutPionowy"),
// which the user drags into place; every line carries a copy of the bar's record.
#include <algorithm>
#include <vector>

#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/views/view_common.h"

using namespace views;

namespace {

constexpr double kEqual = 0.001;

struct Name {
    sds_name id = {0, 0};
};

// The bar's vertices without its hook strokes.
std::vector<CSDSPointExt> BodyVertices(std::vector<CSDSPointExt> vertices, int hooks) {
    if ((hooks == 1 || hooks == 3) && !vertices.empty()) {
        vertices.erase(vertices.begin());
    }
    if ((hooks == 2 || hooks == 3) && !vertices.empty()) {
        vertices.pop_back();
    }
    return vertices;
}

}  // namespace

void CObslugaPreta::InsertProjection() {
    const std::string message = LoadUiString(kIdProjectionPrompt);
    const std::string keywords = LoadUiString(kIdProjectionKeywords);
    for (;;) {
        std::string answer;
        if (AskKeyword(message, keywords, lastProjectionDirection, answer) != RTNORM) {
            return;
        }
        if (answer == LoadUiString(kIdHorizontal)) {
            lastProjectionDirection = answer;
            ProjectHorizontal();
        } else if (answer == LoadUiString(kIdVertical)) {
            lastProjectionDirection = answer;
            ProjectVertical();
        }
    }
}

namespace {

// One projection: `vertical` false draws along the bar's top over its width, true along its
// right side over its height.
void Project(CObslugaPreta& rod, bool vertical) {
    sds_name bar = {0, 0};
    if (!rod.PickRod(LoadUiString(kIdPickBar), bar)) {
        rod.EndRodOperation();
        return;
    }
    const std::string key = LoadUiString(rods::kIdRecordKey);
    CRodXDataParameters record;
    rod.xdata.ReadRodRecord(bar, key, record);
    const bool main = record.diameter >= 1.2;
    const std::string layerName = LoadUiString(main ? rods::kIdMainBarLayer : rods::kIdBarLayer);
    const int colour = main ? rods::kMainBarLayerColour : rods::kBarLayerColour;

    UndoGroup undo;
    rod.HighlightRodGroup(bar);
    std::vector<CSDSPointExt> all;
    if (CObslugaPreta::LoadRodVertices(bar, all) != 1) {
        undo.Close();
        rod.EndRodOperation();
        return;
    }
    const std::vector<CSDSPointExt> body = BodyVertices(all, record.hooks);
    if (body.empty()) {
        undo.Close();
        rod.EndRodOperation();
        return;
    }
    // Along the line (X for a horizontal projection) the extremes; across it the largest.
    const int along = vertical ? 1 : 0;
    const int across = vertical ? 0 : 1;
    auto coordinate = [](const CSDSPointExt& v, int axis) { return axis == 0 ? v.x : v.y; };
    double low = coordinate(body.front(), along);
    double high = low;
    double top = coordinate(body.front(), across);
    for (const CSDSPointExt& v : body) {
        low = std::min(low, coordinate(v, along));
        high = std::max(high, coordinate(v, along));
        top = std::max(top, coordinate(v, across));
    }
    if (high - low < kEqual) {
        undo.Close();  // no extent in that direction: no line
        rod.EndRodOperation();
        return;
    }
    sds_point from = {0, 0, 0};
    sds_point to = {0, 0, 0};
    from[along] = low;
    to[along] = high;
    from[across] = to[across] = top;
    sds_name line = {0, 0};
    sds_name set = {0, 0};
    if (rod.line.Create(from, to, layerName, rods::kContinuous, colour, 1.0) != RTNORM ||
        sds_entlast(line) != RTNORM || sds_ssadd(line, nullptr, set) != RTNORM) {
        undo.Close();
        rod.EndRodOperation();
        return;
    }
    sds_name output = {0, 0};
    sds_point displacement = {0, 0, 0};
    const std::string axis = vertical ? "x" : "y";
    if (!rod.DragRodGroup(set, output, displacement, "_MOVE", axis)) {
        sds_entdel(line);
    } else {
        rod.OfferShift(axis, line);
        rod.OfferRepeat(axis, line, output);
        record.type = LoadUiString(vertical ? kIdVerticalTag : kIdHorizontalTag);
        long length = 0;
        sds_sslength(output, &length);
        for (long i = 0; i < length; ++i) {
            sds_name made = {0, 0};
            sds_name dictionary = {0, 0};
            resbuf* list = nullptr;
            if (sds_ssname(output, i, made) != RTNORM || (list = sds_entget(made)) == nullptr) {
                continue;
            }
            const bool isLine = CSDSBaseClass::GetTypeName(list) == "LINE";
            sds_relrb(list);
            if (isLine && rod.xdata.EnsureExtensionDictionary(made, dictionary) == RTNORM) {
                rod.xdata.WriteRodRecord(dictionary, key, record);
            }
        }
    }
    undo.Close();
    rod.EndRodOperation({set, output});
}

}  // namespace

void CObslugaPreta::ProjectHorizontal() {
    Project(*this, false);
}

void CObslugaPreta::ProjectVertical() {
    Project(*this, true);
}
