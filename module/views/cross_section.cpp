// WPP: a row of bars seen end-on. The user picks the line of the row and its covers and says
// whether the count or the spacing governs; every bar becomes a disc (a circle and a solid
// hatch of the bar's diameter, grouped), each piece carrying the section's record.
#include <array>
#include <vector>

#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/ui/toolbar_dlg.h"
#include "module/views/section_layout.h"
#include "module/views/view_common.h"

using namespace views;

namespace {

// Asks a cover with its default; Enter keeps it. False when the user gave up.
bool AskCover(int messageId, double& cover) {
    const std::string prompt = CObslugaPreta::PromptWithDefault(LoadUiString(messageId), cover);
    for (int i = 0; i < kMaxRepeatedAnswers; ++i) {
        sds_real value = cover;
        const int result = sds_getreal(prompt.c_str(), &value);
        if (result == RTNORM) {
            cover = value;
            return true;
        }
        if (result == RTNONE) {
            return true;
        }
        if (result == RTCAN || result == RTERROR) {
            return false;
        }
    }
    return false;
}

}  // namespace

void CObslugaPreta::InsertCrossSection() {
    // Everything is asked before the drawing is touched, so that giving up anywhere leaves it
    // as it was (the layer included).
    sds_point start = {0, 0, 0};
    sds_point end = {0, 0, 0};
    if (AskPoint(nullptr, LoadUiString(kIdSectionStart), start) != RTNORM ||
        AskPoint(nullptr, LoadUiString(kIdSectionEnd), end) != RTNORM) {
        return;
    }
    if (!AskCover(kIdLongitudinalCover, defaultLongitudinalCover) ||
        !AskCover(kIdTransverseCover, defaultTransverseCover)) {
        return;
    }
    std::string answer;
    if (AskKeyword(LoadUiString(kIdDistributionPrompt), LoadUiString(kIdDistributionKeywords),
                   lastSectionParameter, answer) != RTNORM) {
        return;
    }
    SectionInput input;
    if (answer == LoadUiString(kIdCountMode)) {
        input.mode = Distribution::Count;
        lastSectionParameter = answer;
    } else {
        input.mode = Distribution::Spacing;
        if (answer == LoadUiString(kIdSpacingMode)) {
            lastSectionParameter = answer;
        }
    }
    input.start = {start[0], start[1]};
    input.end = {end[0], end[1]};
    input.longitudinalCover = defaultLongitudinalCover;
    input.transverseCover = defaultTransverseCover;
    input.diameterMm = panel != nullptr ? panel->GetDiameter() : 0.0;
    input.count = panel != nullptr ? panel->GetCount() : 1;
    input.spacing = panel != nullptr ? panel->GetSpacing() : 0.0;
    const SectionPlan plan = PlanSection(input);
    if (plan.outcome == SectionPlan::Outcome::NoSpacing) {
        Tell(kIdNoSpacing);
        return;
    }
    if (plan.outcome == SectionPlan::Outcome::TooMany) {
        Tell(kIdTooManyDiscs);
        return;
    }
    if (plan.outcome != SectionPlan::Outcome::Drawn) {
        return;
    }

    UndoGroup undo;
    const std::string layerName = EnsureBarLayer(input.diameterMm);
    const std::string key = LoadUiString(rods::kIdRecordKey);
    CRodProfileXDataParameters record;
    record.type = LoadUiString(kIdSectionTag);
    record.diameter = input.diameterMm / 10.0;
    record.steel = panel != nullptr ? panel->GetSteelIndex() : 0;
    record.spacing = plan.spacing;
    record.count = plan.count;
    const double radius = input.diameterMm / 20.0;

    std::vector<std::array<long, 2>> made;
    bool sound = true;
    // Each piece is recorded right after it is made; the two pieces of a disc are grouped.
    auto keep = [&](int status, sds_name set) {
        sds_name entity = {0, 0};
        sds_name dictionary = {0, 0};
        if (!sound || status != RTNORM || sds_entlast(entity) != RTNORM) {
            sound = false;
            return;
        }
        made.push_back({entity[0], entity[1]});
        sds_name grown = {0, 0};
        sound = xdata.EnsureExtensionDictionary(entity, dictionary) == RTNORM &&
                xdata.WriteProfileRecord(dictionary, key, record) == RTNORM &&
                sds_ssadd(entity, set, grown) == RTNORM;
    };
    for (const Point2& at : plan.centres) {
        if (!sound) {
            break;
        }
        const sds_point centre = {at.x, at.y, 0.0};
        sds_name pair = {0, 0};
        if (sds_ssadd(nullptr, nullptr, pair) != RTNORM) {
            sound = false;
            break;
        }
        keep(circle.Create(centre, radius, layerName, rods::kContinuous, rods::kByLayer, 1.0),
             pair);
        if (sound) {
            keep(circleHatch.Create(centre, radius, layerName, rods::kByLayer), pair);
        }
        sound = sound && group.Create(pair, "", 1, 1) == RTNORM;
        sds_ssfree(pair);
    }
    if (!sound) {
        // Half a section is no section: what was made of it goes again, and the user hears.
        for (const auto& words : made) {
            const sds_name entity = {words[0], words[1]};
            sds_entdel(entity);
        }
        Tell(kIdSectionRefused);
    }
    undo.Close();
}
