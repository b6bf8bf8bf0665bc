// Texts and placement of a bar's description and of its segment dimension texts, computed
// without the host so that the drawing operations only make what these functions decide.
#pragma once

#include <string>
#include <vector>

#include "module/rods/rod_geometry.h"

namespace rods {

// Description texts ---------------------------------------------------------------------------

// Diameter, spacing ("co") and developed length ("L=") of the description beside the bar.
std::string DescriptionMainText(double diameterMm, double spacing, double length);
// The same for the text on a leader, which leaves the length out when it is zero.
std::string LeaderMainText(double diameterMm, double spacing, double length);
// The same with the spacing as a description shows it ("" leaves "co" out).
std::string DescriptionMainText(double diameterMm, const std::string& spacing, double length);
std::string LeaderMainText(double diameterMm, const std::string& spacing, double length);
// How a spacing is shown after "co": whole centimetres, "" for none.
std::string SpacingText(double spacing);
// The spacing a main text shows after "co", "" when it shows none: what a description rebuilt
// for a changed bar keeps.
std::string ShownSpacing(const std::string& mainText);
// The count of bars, shown only from two bars up.
std::string CountText(int count);
// The host's diameter sign for smooth steel, "#" for ribbed, each followed by a blank.
std::string SignText(bool smooth);
std::string NumberText(int number);

// Description placement -----------------------------------------------------------------------

// Text alignment codes as the text entity takes them.
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignCentre = 1;
inline constexpr int kAlignRight = 2;
inline constexpr int kAlignBaseline = 0;
inline constexpr int kAlignBottom = 1;
inline constexpr int kAlignMiddle = 2;
inline constexpr int kAlignTop = 3;

struct DescriptionLayout {
    double angle = 0.0;  // rotation of every text, 0 .. 2π
    int vertical = 0;    // kAlignBaseline on the left of the reading direction, else kAlignTop
    Point main;          // left-aligned main text
    Point sign;          // right-aligned sign text, ending where the main text begins
    Point count;         // right-aligned count text
    Point number;        // centred number text
    Point circleCentre;  // circle around the number
    double circleRadius = 0.0;
};

// Text angle for a segment of direction `alpha` so that the line reads from left to right or
// from bottom to top; `otherSide` is set where the texts hang on the far side of the bar.
double DescriptionAngle(double alpha, bool& otherSide);

// Lays the line of texts out along segment pq, centred on its midpoint, with text height h.
// Widths are estimated from the character counts of the given texts.
DescriptionLayout LayoutDescription(const Point& p, const Point& q, double h,
                                    const std::string& mainText, const std::string& countText,
                                    const std::string& numberText);

// Index of the first straight bar segment (hook strokes skipped) near `pick`, or -1.
int FindDescriptionSegment(const std::vector<Vertex>& vertices, int hooks, const Point& pick,
                           double tolerance);

// Where a description goes when nobody picks a point: the midpoint of the longest horizontal
// straight bar segment, else of the longest other straight one. Returns the segment index or -1.
int DescriptionAnchor(const std::vector<Vertex>& vertices, int hooks, Point& anchor);

// Segment dimension texts ---------------------------------------------------------------------

struct DimensionPlacement {
    Point point;
    int horizontal = 0;
    int vertical = 0;
    std::string text;  // the segment length in whole centimetres
};

// Placement of the length text of segment ab, from the direction b→a and the direction beta of
// the neighbouring segment, so that the text keeps clear of the bar.
DimensionPlacement PlaceSegmentDimension(const Point& a, const Point& b, double beta);

}  // namespace rods
