// Steel grade lookups and the unit mass table.
#include "module/model/steel.h"

#include <cmath>
#include <cstdio>

namespace {

struct MassEntry {
    double diameterMm;
    double kgPerMetre;
};

// Table values, not a density formula: 45 and 50 mm carry the rounded masses the schedule
// has always printed.
constexpr std::array<MassEntry, 28> kUnitMasses = {{
    {3, 0.055},  {3.5, 0.075}, {4, 0.098},  {4.5, 0.126}, {5, 0.154},  {5.5, 0.187}, {6, 0.222},
    {7, 0.302},  {8, 0.395},   {10, 0.617}, {12, 0.888},  {14, 1.208}, {15, 1.387},  {16, 1.578},
    {18, 1.998}, {20, 2.466},  {22, 2.984}, {24, 3.551},  {25, 3.853}, {26, 4.168},  {28, 4.834},
    {30, 5.549}, {32, 6.313},  {35, 7.55},  {36, 7.99},   {40, 9.87},  {45, 12.5},   {50, 15.4},
}};

// Two diameters match when they differ by less than 0.001, and a difference of exactly 0.001
// is a miss. Typed decimals such as 12.001 lie a hair under 0.001 from 12 in binary, so the
// bound sits a little below 0.001: far below any real diameter step, far above rounding noise.
constexpr double kTolerance = 0.001 - 1e-9;

bool Within(double a, double b) {
    return std::fabs(a - b) < kTolerance;
}

}  // namespace

std::string SteelName(int index) {
    if (index < 0 || index >= kSteelCount) {
        return {};
    }
    return kSteelNames[static_cast<size_t>(index)];
}

int SteelIndex(const std::string& name) {
    for (int i = 0; i < kSteelCount; ++i) {
        if (name == kSteelNames[static_cast<size_t>(i)]) {
            return i;
        }
    }
    return kSteelCount - 1;
}

bool IsSmoothSteel(int index) {
    return index >= 0 && index <= kLastSmoothSteel;
}

double UnitMass(double diameterMm) {
    double mass = 0.0;
    for (const MassEntry& entry : kUnitMasses) {
        if (Within(diameterMm, entry.diameterMm)) {
            mass = entry.kgPerMetre;
        }
    }
    return mass;
}

std::string FormatDiameter(double diameterMm) {
    char text[64];
    // Huge values print hundreds of digits; the second pass sizes the text by snprintf's count.
    bool whole = Within(diameterMm, std::trunc(diameterMm));
    int needed = std::snprintf(text, sizeof text, whole ? "%.0f" : "%.1f", diameterMm);
    if (needed < 0) {
        return {};
    }
    if (static_cast<size_t>(needed) < sizeof text) {
        return std::string(text, static_cast<size_t>(needed));
    }
    std::string big(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(big.data(), big.size(), whole ? "%.0f" : "%.1f", diameterMm);
    big.resize(static_cast<size_t>(needed));
    return big;
}
