// The schedule's arithmetic: row texts, totals per grade and diameter, marks, shape fitting
// and the refit of hooks and bends.
#include "module/schedule/schedule_math.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "module/model/steel.h"
#include "module/rods/rod_geometry.h"

namespace schedule {

namespace {

constexpr double kTolerance = 0.001;

// An arc of (nearly) half a turn or more has no corner where its tangents meet.
constexpr double kLargestUnroundedTurn = rods::kPi - 1e-6;

}  // namespace

double ParseReal(const std::string& text) {
    const double value = std::strtod(text.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

int ParseWhole(const std::string& text) {
    errno = 0;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

std::string TypedCount(const CWykazObj& row) {
    if (row.fromDrawing != 1 || row.count.empty() ||
        (!row.drawnCount.empty() && ParseWhole(row.count) == ParseWhole(row.drawnCount))) {
        return "";
    }
    return row.count;
}

std::string Format(const char* format, double value) {
    const int needed = std::snprintf(nullptr, 0, format, value);
    if (needed <= 0) {
        return {};
    }
    std::string text(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, value);
    text.resize(static_cast<size_t>(needed));
    return text;
}

double TotalLength(const std::string& steelName, double diameterMm,
                   const std::vector<CWykazObj>& rows) {
    double total = 0.0;
    for (const CWykazObj& row : rows) {
        if (row.steel == steelName &&
            std::fabs(ParseReal(row.diameter) - diameterMm) < kTolerance) {
            total += ParseReal(row.length) * ParseWhole(row.count);
        }
    }
    return total;
}

std::vector<double> DiametersOfSteel(const std::string& steelName,
                                     const std::vector<CWykazObj>& rows) {
    std::vector<double> diameters;
    for (const CWykazObj& row : rows) {
        if (row.steel == steelName) {
            diameters.push_back(ParseReal(row.diameter));
        }
    }
    std::sort(diameters.begin(), diameters.end());
    diameters.erase(std::unique(diameters.begin(), diameters.end()), diameters.end());
    return diameters;
}

int DiameterColumn(const std::vector<double>& diameters, double diameterMm) {
    for (size_t j = 0; j < diameters.size(); ++j) {
        if (std::fabs(diameters[j] - diameterMm) < kTolerance) {
            return static_cast<int>(j);
        }
    }
    return -1;
}

std::vector<GradeTotal> GradeTotals(const std::vector<CWykazObj>& rows) {
    std::vector<bool> present(kSteelCount, false);
    for (const CWykazObj& row : rows) {
        present[static_cast<size_t>(SteelIndex(row.steel))] = true;
    }
    std::vector<GradeTotal> totals;
    for (int g = 0; g < kSteelCount; ++g) {
        if (!present[static_cast<size_t>(g)]) {
            continue;
        }
        GradeTotal grade;
        grade.grade = g;
        for (double d : DiametersOfSteel(SteelName(g), rows)) {
            DiameterTotal total;
            total.diameterMm = d;
            total.metres = TotalLength(SteelName(g), d, rows) / 100.0;
            total.unitMass = UnitMass(d);
            total.mass = total.unitMass * total.metres;
            grade.mass += total.mass;
            grade.diameters.push_back(total);
        }
        totals.push_back(grade);
    }
    return totals;
}

MarkCount CountMarks(const std::vector<int>& numbers) {
    MarkCount marks;
    marks.perMark.assign(numbers.size(), 0);
    marks.firstBar.assign(numbers.size(), -1);
    for (size_t i = 0; i < numbers.size(); ++i) {
        const long k = static_cast<long>(numbers[i]) - 1;
        if (k < 0 || k >= static_cast<long>(numbers.size())) {
            ++marks.leftOut;
            continue;
        }
        if (marks.perMark[static_cast<size_t>(k)]++ == 0) {
            marks.firstBar[static_cast<size_t>(k)] = static_cast<int>(i);
        }
    }
    return marks;
}

std::vector<CSDSPointExt> FitShapeInCell(const std::vector<CSDSPointExt>& vertices,
                                         const double corner[3], double width, double height) {
    std::vector<CSDSPointExt> fitted;
    if (vertices.empty() || width <= 0.0 || height <= 0.0) {
        return fitted;
    }
    double minX = vertices[0].x, maxX = vertices[0].x;
    double minY = vertices[0].y, maxY = vertices[0].y;
    for (const CSDSPointExt& v : vertices) {
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
        minY = std::min(minY, v.y);
        maxY = std::max(maxY, v.y);
    }
    const double dx = maxX - minX;
    const double dy = maxY - minY;
    const bool flatX = dx < kTolerance;
    const bool flatY = dy < kTolerance;
    if (flatX && flatY) {
        return fitted;
    }
    const double boxW = 0.9 * width;
    const double boxH = 0.9 * height;
    double scale = 0.0;
    if (flatX) {
        scale = dy / boxH;
    } else if (flatY) {
        scale = dx / boxW;
    } else {
        scale = std::max(dx / boxW, dy / boxH);
    }
    const double left = corner[0] + 0.05 * boxW + (boxW - dx / scale) / 2.0;
    const double bottom = corner[1] + 0.05 * boxH + (boxH - dy / scale) / 2.0;
    for (const CSDSPointExt& v : vertices) {
        // A uniform scale keeps every arc's bulge.
        CSDSPointExt moved(left + (v.x - minX) / scale, bottom + (v.y - minY) / scale, corner[2]);
        moved.bulge = v.bulge;
        fitted.push_back(moved);
    }
    return fitted;
}

void UnroundCorners(std::vector<CSDSPointExt>& v) {
    for (size_t i = 0; i + 1 < v.size(); ++i) {
        const double b = v[i].bulge;
        if (std::fabs(b) < kTolerance) {
            continue;
        }
        const double turn = 4.0 * std::atan(std::fabs(b));
        const double cx = v[i + 1].x - v[i].x;
        const double cy = v[i + 1].y - v[i].y;
        const double chord = std::hypot(cx, cy);
        if (turn >= kLargestUnroundedTurn || chord < kTolerance) {
            continue;
        }
        // The corner lies beyond the arc's middle: right of the chord for a positive bulge.
        const double rise = chord / 2.0 * std::tan(turn / 2.0) * (b > 0.0 ? 1.0 : -1.0);
        const double mx = (v[i].x + v[i + 1].x) / 2.0;
        const double my = (v[i].y + v[i + 1].y) / 2.0;
        CSDSPointExt cornerPoint(mx + cy / chord * rise, my - cx / chord * rise, v[i].z);
        v[i] = cornerPoint;
        v.erase(v.begin() + static_cast<long>(i) + 1);
    }
}

namespace {

// The hook at the tip keeps its direction towards the vertex it hangs on and gets `length`.
void SetHookLength(CSDSPointExt& tip, const CSDSPointExt& base, double length) {
    const double a = rods::Angle(rods::At(tip), rods::At(base));
    const double bulge = tip.bulge;
    tip.SetPoint(base.x - length * std::cos(a), base.y - length * std::sin(a), tip.z);
    tip.bulge = bulge;
}

}  // namespace

int RefitShape(std::vector<CSDSPointExt>& v, int hooks, int rounded, double diameterMm,
               bool smooth) {
    UnroundCorners(v);
    const bool first = hooks == rods::kFirstHook || hooks == rods::kBothHooks;
    const bool last = hooks == rods::kSecondHook || hooks == rods::kBothHooks;
    const size_t hookVertices = (first ? 1 : 0) + (last ? 1 : 0);
    // A hook needs the bar segment it hangs on; a record that claims more hooks than the
    // shape can carry leaves the shape as it is.
    const bool shapeCarriesHooks = v.size() >= hookVertices + 2;
    int result = shapeCarriesHooks ? hooks : rods::kNoHooks;
    if (shapeCarriesHooks && hookVertices > 0) {
        if (!smooth) {
            if (last) {
                v.pop_back();
                v.back().bulge = 0.0;
            }
            if (first) {
                v.erase(v.begin());
            }
            result = rods::kNoHooks;
        } else {
            const double length = rods::HookLength(diameterMm);
            if (first) {
                SetHookLength(v[0], v[1], length);
            }
            if (last) {
                SetHookLength(v[v.size() - 1], v[v.size() - 2], length);
            }
        }
    }
    if (rounded == 1) {
        rods::RoundCorners(v, rods::BendDiameter(diameterMm, smooth), smooth, result);
    }
    return result;
}

}  // namespace schedule
