// The distribution of a cross-section's discs between the covers of its line.
#include "module/views/section_layout.h"

#include <cmath>

namespace views {

namespace {
constexpr double kEqual = 0.001;
}

SectionPlan PlanSection(const SectionInput& in) {
    SectionPlan plan;
    const double dx = in.end.x - in.start.x;
    const double dy = in.end.y - in.start.y;
    const double a = std::atan2(dy, dx);
    const Point2 u = {std::cos(a), std::sin(a)};
    const Point2 v = {-u.y, u.x};  // 90° counter-clockwise: the left of start→end
    const double length = std::hypot(dx, dy) - 2.0 * in.longitudinalCover;
    const double bar = in.diameterMm / 10.0;
    const double fit = bar > 0.0 ? std::floor(length / bar) : 0.0;
    if (!(fit >= 1.0)) {
        return plan;  // the covers leave no room for one bar
    }
    const long nMax = fit > 1e9 ? 1000000000L : static_cast<long>(fit);
    long m = 1;
    double s = 0.0;
    if (in.mode == Distribution::Count) {
        // A count of one or less is a single bar; intervals beyond what fits are capped below
        // the number that fits, so the discs stay clear of one another.
        long k = in.count > 1 ? in.count - 1 : 0;
        if (k > nMax) {
            k = nMax - 1;
        }
        if (k > 0) {
            s = length / static_cast<double>(k);
            m = k + 1;
        }
    } else {
        if (!(in.spacing > 0.0)) {
            plan.outcome = SectionPlan::Outcome::NoSpacing;
            return plan;
        }
        const double q = length / in.spacing;
        const double t = std::trunc(std::fmin(q, 2e9));
        long k = static_cast<long>(t) + 1;
        bool capped = false;
        if (k > nMax) {
            k = nMax - 1;
            capped = true;
        }
        m = std::fabs(t - q) < kEqual ? k : k + 1;
        if (m < 1) {
            m = 1;
        }
        s = in.spacing;
        // Keeping the panel's spacing for fewer bars than it asks for would pile them at the
        // start and leave a gap before the last: they are spread evenly instead.
        if (capped) {
            s = m >= 2 ? length / static_cast<double>(m - 1) : 0.0;
        }
    }
    if (m > kMaxDiscs) {
        plan.outcome = SectionPlan::Outcome::TooMany;
        return plan;
    }
    const Point2 first = {in.start.x + in.longitudinalCover * u.x + in.transverseCover * v.x,
                          in.start.y + in.longitudinalCover * u.y + in.transverseCover * v.y};
    plan.centres.push_back(first);
    for (long i = 1; i + 1 < m; ++i) {
        const double at = static_cast<double>(i) * s;
        plan.centres.push_back({first.x + at * u.x, first.y + at * u.y});
    }
    if (m >= 2) {
        plan.centres.push_back({in.end.x - in.longitudinalCover * u.x + in.transverseCover * v.x,
                                in.end.y - in.longitudinalCover * u.y + in.transverseCover * v.y});
    }
    plan.spacing = s;
    plan.count = static_cast<int>(m);
    plan.outcome = SectionPlan::Outcome::Drawn;
    return plan;
}

}  // namespace views
