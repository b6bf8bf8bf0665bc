// The bars of the drawing as the host's record index gives them: the bars, their count, their
// numbers, what the numbers leave free and the bars of one number, without reading every
// entity of the drawing.
#include <array>
#include <string>
#include <vector>

#include "module/entities/resbuf_util.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"

namespace {

// A bar is a polyline whose record, filed under the record key, is of the bar type; its
// number is the third whole number (group 70) of the record, after the ordinal and the hooks.
constexpr const char* kBarEntity = "LWPOLYLINE";
constexpr int kNumberCode = 70;
constexpr int kNumberPlace = 2;

std::vector<std::array<long, 2>> Members(sds_name set) {
    std::vector<std::array<long, 2>> names;
    long length = 0;
    sds_sslength(set, &length);
    names.reserve(static_cast<size_t>(length));
    for (long i = 0; i < length; ++i) {
        sds_name entity = {0, 0};
        if (sds_ssname(set, i, entity) == RTNORM) {
            names.push_back({entity[0], entity[1]});
        }
    }
    sds_ssfree(set);
    return names;
}

// The bars, or those of one number.
std::vector<std::array<long, 2>> Bars(const resbuf* number) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string tag = LoadUiString(rods::kIdBarTag);
    sds_name found = {0, 0};
    if (sds_ssgetrecordkind(kBarEntity, key.c_str(), tag.c_str(), number, kNumberPlace, found) !=
        RTNORM) {
        return {};
    }
    return Members(found);
}

}  // namespace

std::vector<rods::BarEntry> CObslugaPreta::ListBars() {
    std::vector<rods::BarEntry> bars;
    const std::string key = LoadUiString(rods::kIdRecordKey);
    for (const auto& words : Bars(nullptr)) {
        rods::BarEntry entry;
        rblist::CopyName(words.data(), entry.name);
        xdata.ReadRodRecord(entry.name, key, entry.record);
        bars.push_back(entry);
    }
    return bars;
}

int CObslugaPreta::BarCount() {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string tag = LoadUiString(rods::kIdBarTag);
    long count = 0;
    sds_recordkindcount(kBarEntity, key.c_str(), tag.c_str(), nullptr, 0, &count);
    return static_cast<int>(count);
}

rods::Numbering CObslugaPreta::BarNumbering() {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string tag = LoadUiString(rods::kIdBarTag);
    long used = 0;
    long firstFree = 1;
    sds_recordfieldnumbering(kBarEntity, key.c_str(), tag.c_str(), kNumberCode, kNumberPlace, &used,
                             &firstFree);
    return {static_cast<int>(used), static_cast<int>(firstFree)};
}

std::vector<int> CObslugaPreta::BarNumbers() {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string tag = LoadUiString(rods::kIdBarTag);
    resbuf* values = nullptr;
    std::vector<int> numbers;
    if (sds_recordfieldvalues(kBarEntity, key.c_str(), tag.c_str(), kNumberCode, kNumberPlace,
                              &values) != RTNORM) {
        return numbers;
    }
    for (const resbuf* node = values; node != nullptr; node = node->rbnext) {
        numbers.push_back(node->resval.rint);
    }
    sds_relrb(values);
    return numbers;
}

std::vector<std::array<long, 2>> CObslugaPreta::BarsNumbered(int number) {
    resbuf field;
    field.rbnext = nullptr;
    field.restype = kNumberCode;
    field.resval.rint = static_cast<short>(number);
    return Bars(&field);
}
