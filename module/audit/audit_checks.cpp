// AUDIT's checks: each finding's text says which entity (by handle) or which number is wrong,
// so that the user can find it; whether it can be mended without guessing goes with it.
#include "module/audit/audit_checks.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>

#include "module/resources/strings.h"

namespace audit {
namespace {

constexpr int kStrGap = 977;
constexpr int kStrBelowOne = 978;
constexpr int kStrMixed = 979;
constexpr int kStrDiameterWord = 980;
constexpr int kStrSteelWord = 981;
constexpr int kStrShapeWord = 982;
constexpr int kStrOrphan = 983;
constexpr int kStrGroup = 984;
constexpr int kStrNumberText = 985;
constexpr int kStrProjectionWithoutBar = 1010;
constexpr int kStrProjectionDiffers = 1011;
constexpr int kStrViewLeader = 1012;
constexpr int kStrSectionLeaderWithoutBar = 1013;
constexpr int kStrSectionLeaderDiffers = 1014;
constexpr int kStrUnowned = 1102;

// Lengths are centimetres; a turn or bulge that rounding alone changes is the same.
constexpr double kLengthTolerance = 0.005;
constexpr double kRatioTolerance = 1e-4;
constexpr double kFullTurn = 2.0 * 3.14159265358979323846;

std::string Fill(int id, const std::vector<std::string>& values) {
    std::string text = LoadUiString(id);
    size_t from = 0;
    for (const std::string& value : values) {
        // Looked for after the values already put in: a text may show "%s" itself.
        const size_t at = text.find("%s", from);
        if (at == std::string::npos) {
            break;
        }
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return text;
}

struct Outline {
    std::vector<double> lengths;  // chord of each segment
    std::vector<double> bulges;   // bulge of each segment, positive turning left
    std::vector<double> turns;    // turn between neighbouring chords, positive to the left
};

Outline OutlineOf(const std::vector<CSDSPointExt>& v) {
    Outline o;
    std::vector<double> directions;
    for (size_t i = 0; i + 1 < v.size(); ++i) {
        const double dx = v[i + 1].x - v[i].x;
        const double dy = v[i + 1].y - v[i].y;
        o.lengths.push_back(std::hypot(dx, dy));
        o.bulges.push_back(v[i].bulge);
        directions.push_back(std::atan2(dy, dx));
    }
    for (size_t i = 0; i + 1 < directions.size(); ++i) {
        o.turns.push_back(std::remainder(directions[i + 1] - directions[i], kFullTurn));
    }
    return o;
}

// Whether b read forwards or backwards, its values taken with `sign`, is a; angles compare
// round the circle (half a turn to the left is half a turn to the right).
bool Alike(const std::vector<double>& a, const std::vector<double>& b, bool reversed, double sign,
           double tolerance, bool angles = false) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        double difference = a[i] - sign * b[reversed ? b.size() - 1 - i : i];
        if (angles) {
            difference = std::remainder(difference, kFullTurn);
        }
        if (std::fabs(difference) > tolerance) {
            return false;
        }
    }
    return true;
}

std::string MissingNumbers(const std::set<int>& numbers) {
    std::string missing;
    int expected = 1;
    auto add = [&](int from, int to) {
        missing += (missing.empty() ? "" : ", ") + std::to_string(from);
        if (to > from) {
            missing += "–" + std::to_string(to);
        }
    };
    for (int number : numbers) {
        if (number > expected) {
            add(expected, number - 1);
        }
        expected = number + 1;
    }
    return missing;
}

// "średnicą, stalą": how a view differs from the bar it names, "" when it does not.
std::string Differences(double diameter, int steel, const BarSeen& bar) {
    std::string what;
    if (std::fabs(diameter - bar.diameter) > 1e-6) {
        what = LoadUiString(kStrDiameterWord);
    }
    if (steel != bar.steel) {
        what += (what.empty() ? "" : ", ") + LoadUiString(kStrSteelWord);
    }
    return what;
}

// Projections and the leaders on views: each names a bar mark by its number, which only the
// designer can put right.
void CheckViews(const DrawingSeen& drawing, const std::map<int, const BarSeen*>& firstOfNumber,
                std::vector<Finding>& findings) {
    std::map<std::string, const ViewSeen*> viewByHandle;
    for (const ViewSeen& view : drawing.views) {
        viewByHandle[view.handle] = &view;
        if (view.section) {
            continue;
        }
        const std::string number = std::to_string(view.number);
        const auto bar = firstOfNumber.find(view.number);
        if (bar == firstOfNumber.end()) {
            findings.push_back({FindingKind::ProjectionWithoutBar,
                                Fill(kStrProjectionWithoutBar, {view.handle, number}), false});
        } else if (const std::string what = Differences(view.diameter, view.steel, *bar->second);
                   !what.empty()) {
            findings.push_back({FindingKind::ProjectionDiffers,
                                Fill(kStrProjectionDiffers, {view.handle, number, what}), false});
        }
    }
    for (const LinkSeen& link : drawing.links) {
        const auto view = viewByHandle.find(link.owner);
        if (!link.leaderNumberText || view == viewByHandle.end()) {
            continue;
        }
        const ViewSeen& seen = *view->second;
        if (!seen.section) {
            if (link.text != std::to_string(seen.number)) {
                findings.push_back({FindingKind::ViewLeaderMismatch,
                                    Fill(kStrViewLeader, {seen.handle, link.handle, link.text,
                                                          std::to_string(seen.number)}),
                                    false});
            }
            continue;
        }
        int number = 0;
        const char* end = link.text.data() + link.text.size();
        const auto [stop, error] = std::from_chars(link.text.data(), end, number);
        const auto bar =
            error == std::errc() && stop == end ? firstOfNumber.find(number) : firstOfNumber.end();
        if (bar == firstOfNumber.end()) {
            findings.push_back(
                {FindingKind::SectionLeaderWithoutBar,
                 Fill(kStrSectionLeaderWithoutBar, {seen.handle, link.handle, link.text}), false});
        } else if (const std::string what = Differences(seen.diameter, seen.steel, *bar->second);
                   !what.empty()) {
            findings.push_back(
                {FindingKind::SectionLeaderDiffers,
                 Fill(kStrSectionLeaderDiffers, {seen.handle, link.handle, link.text, what}),
                 false});
        }
    }
}

}  // namespace

bool SameShape(const std::vector<CSDSPointExt>& a, const std::vector<CSDSPointExt>& b) {
    const Outline x = OutlineOf(a);
    const Outline y = OutlineOf(b);
    // Read from the other end every turn goes the other way; a mirror image turns every one
    // the other way too. Turns keep their order against one another: a U is no Z.
    for (bool reversed : {false, true}) {
        for (bool mirrored : {false, true}) {
            const double sign = reversed != mirrored ? -1.0 : 1.0;
            if (Alike(x.lengths, y.lengths, reversed, 1.0, kLengthTolerance) &&
                Alike(x.bulges, y.bulges, reversed, sign, kRatioTolerance) &&
                Alike(x.turns, y.turns, reversed, sign, kRatioTolerance, true)) {
                return true;
            }
        }
    }
    return false;
}

std::vector<Finding> Check(const DrawingSeen& drawing) {
    std::vector<Finding> findings;
    std::set<int> numbers;
    std::map<int, const BarSeen*> firstOfNumber;
    std::map<std::string, const BarSeen*> barByHandle;
    for (const BarSeen& bar : drawing.bars) {
        barByHandle[bar.handle] = &bar;
        if (bar.number < 1) {
            findings.push_back({FindingKind::NumberBelowOne,
                                Fill(kStrBelowOne, {bar.handle, std::to_string(bar.number)}),
                                false});
            continue;
        }
        numbers.insert(bar.number);
        firstOfNumber.emplace(bar.number, &bar);
    }
    if (const std::string missing = MissingNumbers(numbers); !missing.empty()) {
        findings.insert(findings.begin(),
                        {FindingKind::NumberingGap, Fill(kStrGap, {missing}), true});
    }
    std::map<int, std::set<int>> differences;  // number -> kinds of difference (word ids)
    for (const BarSeen& bar : drawing.bars) {
        auto first = firstOfNumber.find(bar.number);
        if (first == firstOfNumber.end() || first->second == &bar) {
            continue;
        }
        const BarSeen& other = *first->second;
        if (std::fabs(bar.diameter - other.diameter) > 1e-6) {
            differences[bar.number].insert(kStrDiameterWord);
        }
        if (bar.steel != other.steel) {
            differences[bar.number].insert(kStrSteelWord);
        }
        if (!SameShape(bar.vertices, other.vertices)) {
            differences[bar.number].insert(kStrShapeWord);
        }
    }
    for (const auto& [number, words] : differences) {
        std::string what;
        for (int word : words) {
            what += (what.empty() ? "" : ", ") + LoadUiString(word);
        }
        findings.push_back(
            {FindingKind::MixedMark, Fill(kStrMixed, {std::to_string(number), what}), false});
    }
    // One finding per owner that is gone, naming all its pieces, in the order of the drawing.
    std::vector<std::string> goneOwners;
    std::map<std::string, std::string> piecesOfGone;
    for (const LinkSeen& link : drawing.links) {
        if (barByHandle.count(link.owner) == 0 && drawing.otherOwners.count(link.owner) == 0) {
            std::string& pieces = piecesOfGone[link.owner];
            if (pieces.empty()) {
                goneOwners.push_back(link.owner);
            }
            pieces += (pieces.empty() ? "" : ", ") + link.type + " " + link.handle;
        }
    }
    for (const std::string& owner : goneOwners) {
        findings.push_back(
            {FindingKind::OrphanPiece, Fill(kStrOrphan, {owner, piecesOfGone[owner]}), true});
    }
    for (const GroupSeen& group : drawing.groups) {
        if (group.erasedMembers > 0) {
            findings.push_back({FindingKind::ErasedGroupMember,
                                Fill(kStrGroup, {group.name, std::to_string(group.erasedMembers)}),
                                true});
        }
    }
    for (const LinkSeen& link : drawing.links) {
        auto bar = barByHandle.find(link.owner);
        if (!link.numberText || bar == barByHandle.end()) {
            continue;
        }
        const std::string shown = std::to_string(bar->second->number);
        if (link.text != shown) {
            findings.push_back(
                {FindingKind::NumberTextMismatch,
                 Fill(kStrNumberText, {link.handle, link.text, bar->second->handle, shown}),
                 false});
        }
    }
    CheckViews(drawing, firstOfNumber, findings);
    if (!drawing.unowned.empty()) {
        std::string records;
        for (const UnownedSeen& record : drawing.unowned) {
            records += (records.empty() ? "" : ", ") + record.type + " " + record.handle;
        }
        findings.push_back({FindingKind::UnownedRecord, Fill(kStrUnowned, {records}), true});
    }
    return findings;
}

}  // namespace audit
