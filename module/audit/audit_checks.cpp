// AUDIT's checks: each finding's text says which entity (by handle) or which number is wrong,
// so that the user can find it; whether it can be mended without guessing goes with it.
#include "module/audit/audit_checks.h"

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
constexpr int kStrUnowned = 1102;

// Lengths are centimetres; a turn or bulge that rounding alone changes is the same.
constexpr double kLengthTolerance = 0.005;
constexpr double kRatioTolerance = 1e-4;
constexpr double kFullTurn = 2.0 * 3.14159265358979323846;

std::string Fill(int id, const std::vector<std::string>& values) {
    std::string text = LoadUiString(id);
    for (const std::string& value : values) {
        const size_t at = text.find("%s");
        if (at == std::string::npos) {
            break;
        }
        text.replace(at, 2, value);
    }
    return text;
}

struct Outline {
    std::vector<double> lengths;  // chord of each segment
    std::vector<double> bulges;   // |bulge| of each segment
    std::vector<double> turns;    // |turn| between neighbouring chords
};

Outline OutlineOf(const std::vector<CSDSPointExt>& v) {
    Outline o;
    std::vector<double> directions;
    for (size_t i = 0; i + 1 < v.size(); ++i) {
        const double dx = v[i + 1].x - v[i].x;
        const double dy = v[i + 1].y - v[i].y;
        o.lengths.push_back(std::hypot(dx, dy));
        o.bulges.push_back(std::fabs(v[i].bulge));
        directions.push_back(std::atan2(dy, dx));
    }
    for (size_t i = 0; i + 1 < directions.size(); ++i) {
        const double turn = std::remainder(directions[i + 1] - directions[i], kFullTurn);
        o.turns.push_back(std::fabs(turn));
    }
    return o;
}

bool Alike(const std::vector<double>& a, const std::vector<double>& b, bool reversed,
           double tolerance) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::fabs(a[i] - b[reversed ? b.size() - 1 - i : i]) > tolerance) {
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

}  // namespace

bool SameShape(const std::vector<CSDSPointExt>& a, const std::vector<CSDSPointExt>& b) {
    const Outline x = OutlineOf(a);
    const Outline y = OutlineOf(b);
    for (bool reversed : {false, true}) {
        if (Alike(x.lengths, y.lengths, reversed, kLengthTolerance) &&
            Alike(x.bulges, y.bulges, reversed, kRatioTolerance) &&
            Alike(x.turns, y.turns, reversed, kRatioTolerance)) {
            return true;
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
