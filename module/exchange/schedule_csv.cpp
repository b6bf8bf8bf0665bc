// The schedule's CSV: the row texts as the schedule holds them, the numbers of each line and
// of the totals formatted as the table formats them.
#include "module/exchange/schedule_csv.h"

#include "module/model/steel.h"
#include "module/resources/strings.h"
#include "module/schedule/schedule_math.h"

namespace exchange {
namespace {

constexpr int kStrFirstHeading = 962;  // eight headings, 962 .. 969
constexpr int kHeadingCount = 8;
constexpr int kStrDiameterTotal = 970;
constexpr int kStrGradeTotal = 971;

std::string Line(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        line += (i > 0 ? "," : "") + CsvField(fields[i]);
    }
    return line + "\r\n";
}

}  // namespace

std::string CsvField(const std::string& text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) {
        return text;
    }
    std::string field = "\"";
    for (char c : text) {
        field += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return field + "\"";
}

std::string ScheduleCsv(const std::vector<CWykazObj>& rows) {
    std::vector<std::string> headings;
    for (int i = 0; i < kHeadingCount; ++i) {
        headings.push_back(LoadUiString(kStrFirstHeading + i));
    }
    std::string csv = Line(headings);
    // Rows are numbered by position, as the table numbers them.
    for (size_t r = 0; r < rows.size(); ++r) {
        const CWykazObj& row = rows[r];
        const double metres =
            schedule::ParseWhole(row.count) * schedule::ParseReal(row.length) / 100.0;
        const double unit = UnitMass(schedule::ParseReal(row.diameter));
        csv += Line({std::to_string(r + 1), row.diameter, row.steel, row.length, row.count,
                     schedule::Format("%.2f", metres), schedule::Format("%.3f", unit),
                     schedule::Format("%.2f", unit * metres)});
    }
    const std::vector<schedule::GradeTotal> totals = schedule::GradeTotals(rows);
    for (const schedule::GradeTotal& grade : totals) {
        for (const schedule::DiameterTotal& total : grade.diameters) {
            csv += Line({LoadUiString(kStrDiameterTotal), FormatDiameter(total.diameterMm),
                         SteelName(grade.grade), "", "", schedule::Format("%.2f", total.metres),
                         schedule::Format("%.3f", total.unitMass),
                         schedule::Format("%.2f", total.mass)});
        }
    }
    for (const schedule::GradeTotal& grade : totals) {
        csv += Line({LoadUiString(kStrGradeTotal), "", SteelName(grade.grade), "", "", "", "",
                     schedule::Format("%.2f", grade.mass)});
    }
    return csv;
}

}  // namespace exchange
