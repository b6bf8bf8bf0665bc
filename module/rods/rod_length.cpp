// Length editing: the shorten/lengthen sub-prompt, the length and bar prompts, and moving one
// end of the picked straight segment (with everything beyond it) for the bar and the bars of
// its number.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "module/entities/pick.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_geometry.h"

namespace {

constexpr int kIdShortenKeyword = 16;
constexpr int kIdLengthPrompt = 43;
constexpr int kIdLengthKeywords = 44;
constexpr int kIdLengthenKeyword = 45;
constexpr int kIdShortenBy = 51;
constexpr int kIdPickToShorten = 52;
constexpr int kIdLengthenBy = 53;
constexpr int kIdPickToLengthen = 54;
constexpr int kIdNotBar = 1000;
// A host that keeps giving answers that fit nothing must not hold a prompt for ever.
constexpr int kMaxRepeatedAnswers = 1000;

void EndOperation() {
    sds_sssetfirst(nullptr, nullptr);
    sds_redraw(nullptr, 4);
}

// Asks for bars with `prompt` and changes each; the edit length was asked before.
template <typename Change>
void PickBarsAndChange(const std::string& prompt, const Change& change) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string barTag = LoadUiString(rods::kIdBarTag);
    const std::string refusal = LoadUiString(kIdNotBar);
    for (int refused = 0; refused < kMaxRepeatedAnswers;) {
        sds_name bar = {0, 0};
        sds_point at = {0, 0, 0};
        const int result = PickAccepted(
            prompt, [&](sds_name entity) { return IsBar(entity, key, barTag); }, refusal, bar, at);
        if (result == RTCAN || result == RTERROR) {
            return;
        }
        if (result != RTNORM) {
            ++refused;
            continue;
        }
        refused = 0;
        change(at, bar);
        EndOperation();
    }
}

}  // namespace

void CObslugaPreta::EditRodLength() {
    const std::string keywords = LoadUiString(kIdLengthKeywords);
    const std::string lengthen = LoadUiString(kIdLengthenKeyword);
    const std::string shorten = LoadUiString(kIdShortenKeyword);
    std::string chosen;
    while (AskSubOption(LoadUiString(kIdLengthPrompt), keywords, LastLengthMode, true, chosen)) {
        if (chosen == lengthen) {
            LastLengthMode = chosen;
            LengthenRods();
        } else {
            if (chosen == shorten) {
                LastLengthMode = chosen;
            }
            ShortenRods();
        }
    }
}

namespace {

// Asks the edit length until it is not negative; false when the user gave up.
bool AskEditLength(const std::string& message, double& length) {
    for (int i = 0; i < kMaxRepeatedAnswers; ++i) {
        sds_real value = length;
        const int result =
            sds_getreal(CObslugaPreta::PromptWithDefault(message, length).c_str(), &value);
        if (result == RTCAN || result == RTERROR) {
            return false;
        }
        if (result == RTNONE) {
            return true;  // Enter keeps the length shown
        }
        if (result == RTNORM && value >= 0.0 && std::isfinite(value)) {
            length = value;
            return true;
        }
    }
    return false;
}

}  // namespace

void CObslugaPreta::ShortenRods() {
    if (!AskEditLength(LoadUiString(kIdShortenBy), defaultEditLength)) {
        return;
    }
    PickBarsAndChange(
        LoadUiString(kIdPickToShorten),
        [this](const sds_point at, const sds_name bar) { ChangeRodLength(at, bar, true); });
}

void CObslugaPreta::LengthenRods() {
    if (!AskEditLength(LoadUiString(kIdLengthenBy), defaultEditLength)) {
        return;
    }
    PickBarsAndChange(
        LoadUiString(kIdPickToLengthen),
        [this](const sds_point at, const sds_name bar) { ChangeRodLength(at, bar, false); });
}

bool CObslugaPreta::ChangeRodLength(const sds_point pick, const sds_name bar, bool shorten) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    std::vector<CSDSPointExt> v;
    if (LoadRodVertices(bar, v) != 1) {
        return false;
    }
    CRodXDataParameters record;
    xdata.ReadRodRecord(bar, key, record);
    const int n = static_cast<int>(v.size());
    const rods::SegmentRange range = rods::BarSegments(n, record.hooks);
    const double tolerance = PickTolerance();
    const rods::Point p{pick[0], pick[1], 0.0};
    int k = -1;
    for (int i = std::max(range.first, 0); i <= range.last && i + 1 < n; ++i) {
        if (std::fabs(v[i].bulge) < rods::kEqualTolerance &&
            rods::IsNearLine(rods::At(v[i]), rods::At(v[i + 1]), p, tolerance)) {
            k = i;
            break;
        }
    }
    if (k < 0) {
        return false;
    }
    const double L = defaultEditLength;
    const double segment = rods::Distance2d(rods::At(v[k]), rods::At(v[k + 1]));
    // A segment shortened to nothing has no direction left: the bar would be broken.
    if (segment < rods::kEqualTolerance || (shorten && segment - L < rods::kEqualTolerance)) {
        return false;
    }
    const bool startMoves =
        rods::Distance2d(p, rods::At(v[k])) < rods::Distance2d(p, rods::At(v[k + 1]));
    const double ux = (v[k + 1].x - v[k].x) / segment;
    const double uy = (v[k + 1].y - v[k].y) / segment;
    // Shortening moves the end towards the other end of the segment, lengthening away.
    const double sign = (startMoves == shorten) ? 1.0 : -1.0;
    sds_point origin = {v[0].x, v[0].y, 0.0};
    std::vector<CSDSPointExt> changed = v;
    for (int i = startMoves ? 0 : k + 1; i < (startMoves ? k + 1 : n); ++i) {
        changed[i].x += sign * L * ux;
        changed[i].y += sign * L * uy;
    }
    UndoGroup undo;
    ReshapeBarAndSameNumber(bar, changed, origin, record, [](CRodXDataParameters&) {});
    undo.Close();
    return true;
}
