// Segment length texts and leader descriptions: reading direction, side and offsets.
#include "module/rods/rod_text_layout.h"

#include <cmath>
#include <cstdio>

namespace rods {

namespace {

// Whole centimetres, in full however many digits they take.
std::string WholeText(double value) {
    const int needed = std::snprintf(nullptr, 0, "%.0f", value);
    if (needed <= 0) {
        return {};
    }
    std::string text(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.0f", value);
    text.resize(static_cast<size_t>(needed));
    return text;
}

double Normalized(double a) {
    a = std::fmod(a, 2.0 * kPi);
    return a < 0.0 ? a + 2.0 * kPi : a;
}

// Rotation of a segment's text for the segment's direction a, so that it reads from left to
// right or upwards; `above` is set for the steep band left of vertical, where the text stands
// on the far side instead of hanging below.
double ReadingRotation(double a, bool& above) {
    above = a > kPi / 2.0 && a <= 2.0 * kPi / 3.0;
    if (a > 2.0 * kPi / 3.0 && a <= 7.0 * kPi / 6.0) {
        return Normalized(a + kPi);
    }
    if (a > 7.0 * kPi / 6.0 && a <= 5.0 * kPi / 3.0) {
        return a - kPi;
    }
    return a;
}

Point Moved(const Point& from, double angle, double distance) {
    return {from.x + distance * std::cos(angle), from.y + distance * std::sin(angle), from.z};
}

double EstimatedWidth(const std::string& text, double h) {
    return static_cast<double>(text.size()) * 0.75 * h;
}

}  // namespace

double SegmentLength(const Vertex& from, const Vertex& to) {
    const double chord = Distance2d(At(from), At(to));
    if (std::fabs(from.bulge) < kEqualTolerance || chord == 0.0) {
        return chord;
    }
    const double theta = std::fabs(4.0 * std::atan(from.bulge));
    return (chord / 2.0) / std::sin(theta / 2.0) * theta;
}

SegmentText PlaceStraightDimension(const Point& p, const Point& q, double h) {
    SegmentText out;
    bool above = false;
    out.rotation = ReadingRotation(Angle(p, q), above);
    const Point middle{(p.x + q.x) / 2.0, (p.y + q.y) / 2.0, (p.z + q.z) / 2.0};
    out.at = Moved(middle, above ? out.rotation + kPi / 2.0 : out.rotation - kPi / 2.0, h / 2.0);
    out.horizontal = 1;
    out.vertical = above ? 0 : 3;
    out.text = WholeText(Distance2d(p, q));
    return out;
}

SegmentText PlaceArcDimension(const Point& p, const Point& q, double bulge, double h) {
    SegmentText out;
    bool above = false;
    out.rotation = ReadingRotation(Angle(p, q), above);
    const double chord = Distance2d(p, q);
    const Point middle{(p.x + q.x) / 2.0, (p.y + q.y) / 2.0, (p.z + q.z) / 2.0};
    // A positive bulge turns counter-clockwise from p to q: the arc swells to the right of the
    // chord, so its middle and the outward side lie to the right.
    const double right = Angle(p, q) - kPi / 2.0;
    const double outward = bulge > 0.0 ? right : right + kPi;
    const Point arcMiddle = Moved(middle, right, chord / 2.0 * bulge);
    out.at = Moved(arcMiddle, outward, h / 2.0);
    out.horizontal = 1;
    // The text stands on its bottom when the outward side is its upper side, else hangs.
    const double up = out.rotation + kPi / 2.0;
    const bool outwardIsUp =
        std::cos(outward) * std::cos(up) + std::sin(outward) * std::sin(up) > 0;
    out.vertical = outwardIsUp ? 1 : 3;
    Vertex from(p.x, p.y, p.z);
    from.bulge = bulge;
    out.text = WholeText(SegmentLength(from, Vertex(q.x, q.y, q.z)));
    return out;
}

LeaderLayout LayoutLeader(const Point& second, const Point& direction, double h,
                          const std::string& mainText, const std::string& countText,
                          bool numberOnly) {
    LeaderLayout out;
    const double wc = EstimatedWidth(countText, h);
    const double wm = EstimatedWidth(mainText, h);
    out.width = wc + wm + 1.5 * h + 3.0 * h;
    out.shelf = numberOnly ? 2.0 * h : 1.25 * out.width;
    const double side = direction.x >= second.x ? 1.0 : -1.0;
    out.shelfEnd = {second.x + side * out.shelf, second.y, second.z};
    out.radius = h;
    out.circleCentre = {out.shelfEnd.x + side * h, out.shelfEnd.y, 0.0};
    // The line of texts sits on the shelf, pulled back towards -X whichever side it lies on.
    const double middleX = (second.x + out.shelfEnd.x) / 2.0;
    const double x0 = middleX + out.width / 2.0 - wm - 0.15 * out.width;
    const double y0 = second.y + 0.5 * h;
    out.main = {x0, y0, 0.0};
    out.count = {x0 - 3.0 * h, y0, 0.0};
    return out;
}

}  // namespace rods
