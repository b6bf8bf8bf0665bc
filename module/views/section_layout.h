// Where the discs of a cross-section go: the bars of a row spread along a line between the
// covers, by count or by spacing, computed without the host.
#pragma once

#include <vector>

namespace views {

struct Point2 {
    double x = 0.0;
    double y = 0.0;
};

enum class Distribution { Count, Spacing };

struct SectionInput {
    Point2 start, end;             // the line along which the bars lie
    double longitudinalCover = 0;  // kept free at each end of the line
    double transverseCover = 0;    // shifts the row to the left of start→end
    Distribution mode = Distribution::Count;
    double diameterMm = 0;
    int count = 0;       // count mode
    double spacing = 0;  // spacing mode
};

struct SectionPlan {
    enum class Outcome { Drawn, NoRoom, NoSpacing, TooMany };
    Outcome outcome = Outcome::NoRoom;
    std::vector<Point2> centres;
    double spacing = 0.0;  // recorded on every disc
    int count = 0;         // recorded on every disc: the number of discs
};

// More discs than a drawing can sensibly hold in one row are refused, not drawn for minutes.
inline constexpr long kMaxDiscs = 10000;

SectionPlan PlanSection(const SectionInput& in);

}  // namespace views
