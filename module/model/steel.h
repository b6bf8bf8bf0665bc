// Reinforcing-steel reference tables: grade names and kinds, the diameter pick list and the
// nominal unit masses that the schedule multiplies with.
#pragma once

#include <array>
#include <string>

// Grades are stored in bar records by index; the order is also the order of every pick list.
inline constexpr int kSteelCount = 16;
inline constexpr std::array<const char*, kSteelCount> kSteelNames = {
    "St0S",  "St3SX", "St3SY", "St3S",  "PB240",  "St50B",  "18G2",  "20G2Y",
    "25G2S", "35G2Y", "34GS",  "RB400", "RB400W", "20G2VY", "RB500", "RB500W"};

// Grades 0..4 are smooth (they get hooks); the rest are ribbed.
inline constexpr int kLastSmoothSteel = 4;

// The schedule grid offers one more entry after the grades: "-" for a row without a grade.
inline constexpr std::array<const char*, kSteelCount + 1> kScheduleSteelNames = {
    "St0S",  "St3SX", "St3SY", "St3S",   "PB240",  "St50B", "18G2",   "20G2Y", "25G2S",
    "35G2Y", "34GS",  "RB400", "RB400W", "20G2VY", "RB500", "RB500W", "-"};

// Diameters in millimetres as offered by every diameter pick list.
inline constexpr int kDiameterCount = 17;
inline constexpr std::array<const char*, kDiameterCount> kDiameterTexts = {
    "4.5", "5",  "5.5", "6",  "8",  "10", "12", "14", "16",
    "18",  "20", "22",  "25", "28", "32", "36", "40"};

// Name of grade `index`; empty for an index outside the table.
std::string SteelName(int index);

// Index of the grade named exactly `name` (case-sensitive); an unknown name falls to 15
// ("RB500W") rather than failing, so a bad text never leaves a bar without a grade.
int SteelIndex(const std::string& name);

// True only for the smooth grades 0..4; any other value, in range or not, is ribbed.
bool IsSmoothSteel(int index);

// Nominal mass in kg per metre of a bar of `diameterMm`; 0.0 when the diameter is not within
// 0.001 (strictly) of a table entry.
double UnitMass(double diameterMm);

// Diameter text of the schedule: "12" for whole values, "4.5" otherwise.
std::string FormatDiameter(double diameterMm);
