// The renumbering step for views: projection lines carry their bar's number in their record,
// and the leaders on projections and sections show a number in their number text; both follow
// the bars' old→new mapping. Views of the freed number describe bars that are gone: they are
// given 0, which no bar can carry, rather than come to name the bar that takes the number over.
#include <array>
#include <charconv>
#include <map>
#include <string>
#include <vector>

#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_description.h"

namespace {

constexpr int kIdHorizontalProjectionTag = 47;
constexpr int kIdVerticalProjectionTag = 48;
constexpr int kIdSectionTag = 96;
// Entities of `type` whose record is of the kind `tag`, in drawing order.
std::vector<std::array<long, 2>> RecordsOfKind(const char* type, const std::string& tag) {
    sds_name found = {0, 0};
    if (sds_ssgetrecordkind(type, LoadUiString(rods::kIdRecordKey).c_str(), tag.c_str(), nullptr, 0,
                            found) != RTNORM) {
        return {};
    }
    std::vector<std::array<long, 2>> members = SelectionMembers(found);
    sds_ssfree(found);
    return members;
}

// The whole number a text shows, or false when it shows anything else.
bool ShownNumber(const std::string& text, int& number) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    return error == std::errc() && stop == end && !text.empty();
}

}  // namespace

void CObslugaPreta::RenumberViews(const std::map<int, int>& renumbered, int freed) {
    if (renumbered.empty()) {
        return;
    }
    std::map<int, int> mapping = renumbered;
    mapping[freed] = 0;
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string horizontal = LoadUiString(kIdHorizontalProjectionTag);
    const std::string vertical = LoadUiString(kIdVerticalProjectionTag);
    const std::string section = LoadUiString(kIdSectionTag);

    for (const std::string& tag : {horizontal, vertical}) {
        for (const auto& words : RecordsOfKind("LINE", tag)) {
            const sds_name line = {words[0], words[1]};
            CRodXDataParameters record;
            xdata.ReadRodRecord(line, key, record);
            if (const auto to = mapping.find(record.number); to != mapping.end()) {
                record.number = to->second;
                ReplaceRodRecord(line, record);
            }
        }
    }

    // The text first: most leaders show a number the renumbering leaves alone.
    for (const auto& words : RecordsOfKind("TEXT", LoadUiString(rods::kIdLeaderNumberTag))) {
        const sds_name numberText = {words[0], words[1]};
        int shown = 0;
        if (!ShownNumber(CSDSText::GetString(numberText), shown)) {
            continue;
        }
        const auto to = mapping.find(shown);
        if (to == mapping.end()) {
            continue;
        }
        CRodDescriptionLink link;
        xdata.ReadDescriptionLink(numberText, key, link);
        sds_name owner = {0, 0};
        if (sds_handent(link.owner.c_str(), owner) == RTNORM &&
            (IsProjectionLine(owner, key, horizontal, vertical) ||
             (EntityTypeName(owner) == "CIRCLE" && IsCrossSectionDisc(owner, key, section)))) {
            text.SetString(numberText, rods::NumberText(to->second));
        }
    }
}
