// Description and dimension texts of a bar: formats, the reading direction of the line of
// texts, where each piece goes, and which segment carries them.
#include "module/rods/rod_description.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rods {

namespace {

// Formats in full however many digits the values take: a far-off bar's length must not be
// cut short in its description.
template <typename... Values>
std::string Format(const char* format, Values... values) {
    const int needed = std::snprintf(nullptr, 0, format, values...);
    if (needed <= 0) {
        return {};
    }
    std::string text(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, values...);
    text.resize(static_cast<size_t>(needed));
    return text;
}

// Only 4.5 and 5.5 mm of the pick list are not whole millimetres.
bool HasHalfMillimetre(double d) {
    return std::fabs(d - 4.5) < kEqualTolerance || std::fabs(d - 5.5) < kEqualTolerance;
}

double Normalized(double a) {
    while (a < 0.0) {
        a += 2.0 * kPi;
    }
    while (a >= 2.0 * kPi) {
        a -= 2.0 * kPi;
    }
    return a;
}

double EstimatedWidth(const std::string& text, double h) {
    return static_cast<double>(text.size()) * 0.75 * h;
}

bool IsStraight(const Vertex& v) {
    return std::fabs(v.bulge) < kEqualTolerance;
}

}  // namespace

std::string DescriptionMainText(double d, const std::string& spacing, double length) {
    const bool half = HasHalfMillimetre(d);
    if (!spacing.empty()) {
        return Format(half ? "%.1f co %s L= %.0f" : "%.0f co %s L= %.0f", d, spacing.c_str(),
                      length);
    }
    return Format(half ? "%.1f L= %.0f" : "%.0f L= %.0f", d, length);
}

std::string DescriptionMainText(double d, double s, double length) {
    return DescriptionMainText(d, SpacingText(s), length);
}

std::string LeaderMainText(double d, const std::string& spacing, double length) {
    if (std::fabs(length) >= kEqualTolerance) {
        return DescriptionMainText(d, spacing, length);
    }
    const bool half = HasHalfMillimetre(d);
    if (!spacing.empty()) {
        return Format(half ? "%.1f co %s" : "%.0f co %s", d, spacing.c_str());
    }
    return Format(half ? "%.1f" : "%.0f", d);
}

std::string LeaderMainText(double d, double s, double length) {
    return LeaderMainText(d, SpacingText(s), length);
}

std::string SpacingText(double spacing) {
    return spacing > 0.0 ? Format("%.0f", spacing) : std::string();
}

std::string ShownSpacing(const std::string& mainText) {
    const std::string marker = " co ";
    const size_t at = mainText.find(marker);
    if (at == std::string::npos) {
        return {};
    }
    const size_t from = at + marker.size();
    return mainText.substr(from, mainText.find(' ', from) - from);
}

std::string CountText(int count) {
    return count >= 2 ? std::to_string(count) : std::string();
}

std::string SignText(bool smooth) {
    return smooth ? "%%c " : "# ";
}

std::string NumberText(int number) {
    return std::to_string(number);
}

double DescriptionAngle(double alpha, bool& otherSide) {
    otherSide = false;
    const double a = Normalized(alpha);
    if (a <= kPi / 2.0 || a > 11.0 * kPi / 6.0) {
        return a;
    }
    if (a <= 2.0 * kPi / 3.0) {
        otherSide = true;
        return a;
    }
    if (a <= 7.0 * kPi / 6.0) {
        return Normalized(a + kPi);
    }
    if (a <= 5.0 * kPi / 3.0) {
        return a - kPi;
    }
    return a;
}

DescriptionLayout LayoutDescription(const Point& p, const Point& q, double h,
                                    const std::string& mainText, const std::string& countText,
                                    const std::string& numberText) {
    DescriptionLayout out;
    const Point m{(p.x + q.x) / 2.0, (p.y + q.y) / 2.0, (p.z + q.z) / 2.0};
    bool otherSide = false;
    out.angle = DescriptionAngle(Angle(p, q), otherSide);
    out.vertical = otherSide ? kAlignTop : kAlignBaseline;
    const double side = otherSide ? out.angle - kPi / 2.0 : out.angle + kPi / 2.0;
    const Point u{std::cos(out.angle), std::sin(out.angle), 0.0};
    const Point v{std::cos(side), std::sin(side), 0.0};
    auto from = [&](double along, double across) {
        return Point{m.x + along * u.x + across * v.x, m.y + along * u.y + across * v.y, m.z};
    };
    const double wm = EstimatedWidth(mainText, h);
    const double wc = EstimatedWidth(countText, h);
    const double wn = EstimatedWidth(numberText, h);
    const double half = (wm + wc + 1.5 * h + 3.0 * h) / 2.0;
    out.main = from(half - wm, 0.5 * h);
    out.sign = out.main;
    out.count = from(half - wm - 3.0 * h, 0.5 * h);
    out.number = from(-(half + wn - 0.5 * h), 0.5 * h);
    out.circleCentre = from(-(half + wn - 0.5 * h), h);
    out.circleRadius = h;
    return out;
}

int FindDescriptionSegment(const std::vector<Vertex>& vertices, int hooks, const Point& pick,
                           double tolerance) {
    const SegmentRange range = BarSegments(static_cast<int>(vertices.size()), hooks);
    for (int i = range.first; i <= range.last; ++i) {
        if (i < 0 || i + 1 >= static_cast<int>(vertices.size())) {
            continue;
        }
        Point nearest;
        if (IsStraight(vertices[i]) &&
            IsNearSegment(At(vertices[i]), At(vertices[i + 1]), pick, tolerance, nearest)) {
            return i;
        }
    }
    return -1;
}

int DescriptionAnchor(const std::vector<Vertex>& vertices, int hooks, Point& anchor) {
    const SegmentRange range = BarSegments(static_cast<int>(vertices.size()), hooks);
    int bestLevel = -1;
    int bestOther = -1;
    double levelLength = -1.0;
    double otherLength = -1.0;
    for (int i = range.first; i <= range.last; ++i) {
        if (i < 0 || i + 1 >= static_cast<int>(vertices.size()) || !IsStraight(vertices[i])) {
            continue;
        }
        const Point p = At(vertices[i]);
        const Point q = At(vertices[i + 1]);
        const double a = Angle(p, q);
        const double length = Distance2d(p, q);
        const bool level = a < kEqualTolerance || std::fabs(a - kPi) < kEqualTolerance ||
                           2.0 * kPi - a < kEqualTolerance;
        // Lengths within the tolerance are equal, and the first of equal ones is kept: a
        // later leg longer only by the rounding of its vertices must not take the text.
        if (level && length >= levelLength + kEqualTolerance) {
            bestLevel = i;
            levelLength = length;
        } else if (!level && length >= otherLength + kEqualTolerance) {
            bestOther = i;
            otherLength = length;
        }
    }
    const int chosen = bestLevel >= 0 ? bestLevel : bestOther;
    if (chosen >= 0) {
        const Vertex& p = vertices[chosen];
        const Vertex& q = vertices[chosen + 1];
        anchor = {(p.x + q.x) / 2.0, (p.y + q.y) / 2.0, (p.z + q.z) / 2.0};
    }
    return chosen;
}

DimensionPlacement PlaceSegmentDimension(const Point& a, const Point& b, double beta) {
    const double alpha = Angle(b, a);
    const double len = Distance2d(a, b);
    const double pi = kPi;
    const int sector = std::min(7, static_cast<int>(alpha / (pi / 4.0)));
    DimensionPlacement out;
    out.text = Format("%.0f", len);
    auto set = [&](double x, double y, int horizontal, int vertical) {
        out.point = {x, y, 0.0};
        out.horizontal = horizontal;
        out.vertical = vertical;
    };
    switch (sector) {
        case 0:
            if (beta < pi / 6.0 || beta >= 5.0 * pi / 12.0) {
                set(b.x + len / 2.0, a.y, 1, 1);
            } else {
                set(b.x + len / 2.0, b.y, 1, 3);
            }
            break;
        case 1:
            if (beta < 5.0 * pi / 12.0 || beta >= 2.0 * pi / 3.0) {
                set(b.x, b.y + len / 2.0, 2, 2);
            } else {
                set(a.x, b.y + len / 2.0, 0, 2);
            }
            break;
        case 2:
            if (beta < 2.0 * pi / 3.0 || beta >= 11.0 * pi / 12.0) {
                set(a.x, b.y + len / 2.0, 2, 2);
            } else {
                set(b.x, b.y + len / 2.0, 0, 2);
            }
            break;
        case 3:
            if (beta >= 11.0 * pi / 12.0 && beta < 7.0 * pi / 6.0) {
                set(b.x - len / 2.0, a.y, 1, 1);
            } else {
                set(b.x - len / 2.0, b.y, 1, 3);
            }
            break;
        case 4:
            if (beta >= 7.0 * pi / 6.0 && beta < 17.0 * pi / 12.0) {
                set(b.x - len / 2.0, b.y, 1, 1);
            } else {
                set(b.x - len / 2.0, a.y, 1, 3);
            }
            break;
        case 5:
            if (beta < 17.0 * pi / 12.0 || beta >= 5.0 * pi / 3.0) {
                set(b.x, b.y - len / 2.0, 0, 2);
            } else {
                set(a.x, b.y - len / 2.0, 2, 2);
            }
            break;
        case 6:
            if (beta < 5.0 * pi / 3.0 || beta >= 23.0 * pi / 12.0) {
                set(a.x, b.y - len / 2.0, 0, 2);
            } else {
                set(b.x, b.y - len / 2.0, 2, 2);
            }
            break;
        default:
            if (beta >= 19.0 * pi / 12.0 && beta < 11.0 * pi / 6.0) {
                set(b.x + len / 2.0, b.y, 1, 1);
            } else {
                set(b.x + len / 2.0, a.y, 1, 3);
            }
            break;
    }
    return out;
}

}  // namespace rods
