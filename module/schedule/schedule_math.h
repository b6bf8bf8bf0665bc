// The schedule's arithmetic without the host: parsing row texts as the table reads them, the
// totals and diameter lists per grade, counting bars per mark, fitting a bar's shape into a
// table cell, and rebuilding a bar's hooks and bends for another diameter.
#pragma once

#include <string>
#include <vector>

#include "module/entities/point_ext.h"
#include "module/model/schedule_row.h"

namespace schedule {

// Leading number of a row text as the table reads it: "" or text without a number is 0;
// values beyond the range of whole numbers are clamped, never undefined.
double ParseReal(const std::string& text);
int ParseWhole(const std::string& text);

// The count a drawing row keeps for its mark as typed: "" when the row shows the number of
// bars drawn with the mark (or no count at all), the row's count otherwise.
std::string TypedCount(const CWykazObj& row);

// printf into a string of whatever length the value needs.
std::string Format(const char* format, double value);

// Sum of length × count (centimetres) of the rows of exactly `steelName` whose diameter lies
// within 0.001 of `diameterMm`.
double TotalLength(const std::string& steelName, double diameterMm,
                   const std::vector<CWykazObj>& rows);
// The distinct diameters of the rows of exactly `steelName`, ascending.
std::vector<double> DiametersOfSteel(const std::string& steelName,
                                     const std::vector<CWykazObj>& rows);
// Position of the first of `diameters` within 0.001 of `diameterMm`, -1 when none.
int DiameterColumn(const std::vector<double>& diameters, double diameterMm);

// The summary of the schedule for one grade: per distinct diameter of the rows named exactly
// by the grade, the total length, the unit mass and the mass, and the grade's mass. Grades come
// in index order, each that a row's steel stands for (an unknown name stands for "RB500W",
// as the table's columns have it, but adds nothing to its totals). The table prints these
// and the exported schedule writes them: both from this one sum.
struct DiameterTotal {
    double diameterMm = 0.0;
    double metres = 0.0;    // total length
    double unitMass = 0.0;  // kg/m
    double mass = 0.0;      // kg
};
struct GradeTotal {
    int grade = 0;
    std::vector<DiameterTotal> diameters;
    double mass = 0.0;  // kg, the sum of the unrounded masses
};
std::vector<GradeTotal> GradeTotals(const std::vector<CWykazObj>& rows);

// Bars per mark: slot k counts the bars numbered k + 1, for marks 1 .. numbers.size().
// Numbers outside that range cannot be a row; they are counted in `leftOut` instead.
struct MarkCount {
    std::vector<int> perMark;
    std::vector<int> firstBar;  // index in `numbers` of the first bar of each mark, -1 none
    int leftOut = 0;
};
MarkCount CountMarks(const std::vector<int>& numbers);

// The vertices scaled into the box of `width` × `height` at `corner` (lower left), inside a
// margin, centred, keeping proportions. A shape on one horizontal or vertical line is scaled
// by its other extent; a shape on one point gives nothing.
std::vector<CSDSPointExt> FitShapeInCell(const std::vector<CSDSPointExt>& vertices,
                                         const double corner[3], double width, double height);

// Each arc of a rounded corner goes back to the corner where its two tangents meet; arcs of
// (nearly) half a turn or more, which have no such corner, stay arcs.
void UnroundCorners(std::vector<CSDSPointExt>& vertices);

// Rebuilds a bar's shape for a new diameter and steel: rounded corners taken back to sharp,
// hooks removed for ribbed steel or given the hook length of the new diameter, corners rounded
// again with the new bend diameter when the bar was rounded. The new hook code.
int RefitShape(std::vector<CSDSPointExt>& vertices, int hooks, int rounded, double diameterMm,
               bool smooth);

}  // namespace schedule
