// The SVG surface: paths, circles and texts as SVG elements, in the order they come.
#include "host/files/svg_surface.h"

#include <cmath>
#include <cstdio>

#include "host/drawing/font_metrics.h"

namespace host {
namespace {

std::string Colour(const svg::Pen& pen) {
    char colour[8];
    std::snprintf(colour, sizeof colour, "#%06x", pen.colour & 0xFFFFFFu);
    return colour;
}

// The runs of a text as SVG character data: decorated runs in <tspan>s, markup characters
// escaped, control characters (not allowed in XML) as blanks.
std::string Markup(const std::vector<svg::TextRun>& runs) {
    std::string out;
    bool decorated = false;
    for (const svg::TextRun& run : runs) {
        if (decorated)
            out += "</tspan>";
        decorated = run.under || run.over;
        if (decorated) {
            out += std::string("<tspan text-decoration=\"") +
                   (run.under && run.over ? "underline overline"
                    : run.under           ? "underline"
                                          : "overline") +
                   "\">";
        }
        for (const char c : run.text) {
            switch (c) {
                case '&':
                    out += "&amp;";
                    break;
                case '<':
                    out += "&lt;";
                    break;
                case '>':
                    out += "&gt;";
                    break;
                case '"':
                    out += "&quot;";
                    break;
                default:
                    out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
            }
        }
    }
    if (decorated)
        out += "</tspan>";
    return out;
}

}  // namespace

SvgSurface::SvgSurface(std::string& out, double width, double height) : out_(out) {
    out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(width) + "\" height=\"" +
            Number(height) + "\" viewBox=\"0 0 " + Number(width) + " " + Number(height) +
            "\" font-family=\"" + kDejaVuSans.family + ", sans-serif\">\n";
    out_ += "<rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
}

bool SvgSurface::Finish() {
    out_ += "</svg>\n";
    return !broken_;
}

std::string SvgSurface::Number(double value) {
    if (!std::isfinite(value)) {
        broken_ = true;  // never written: the whole export fails instead
        return "0";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

void SvgSurface::Point(double x, double y) {
    d_ += Number(x);
    d_ += ' ';
    d_ += Number(y);
}

void SvgSurface::MoveTo(double x, double y) {
    d_ += 'M';
    Point(x, y);
}

void SvgSurface::LineTo(double x, double y) {
    d_ += " L";
    Point(x, y);
}

void SvgSurface::ArcTo(double r, bool large, bool sweep, double x, double y) {
    d_ += " A";
    d_ += Number(r);
    d_ += ' ';
    d_ += Number(r);
    d_ += large ? " 0 1 " : " 0 0 ";
    d_ += sweep ? "1 " : "0 ";
    Point(x, y);
}

void SvgSurface::EllipticTo(const svg::Elliptic& arc, double x, double y) {
    const svg::Axes axes = svg::EllipseAxes(arc.m);
    const bool large = std::fabs(arc.t1 - arc.t0) > svg::kPi;
    // The positive sweep turns from +x towards +y of the sheet, as a growing parameter does
    // where the arc's matrix keeps orientation.
    const bool sweep = (arc.t1 > arc.t0) == (arc.m[0] * arc.m[3] - arc.m[1] * arc.m[2] > 0);
    // An ellipse turned half a turn is the same ellipse: 0 up to 180 degrees, and no "-0".
    double turn = std::fmod(axes.rotation * 180 / svg::kPi, 180.0);
    if (turn < 0)
        turn += 180;
    if (turn < 0.005 || turn > 179.995)
        turn = 0;
    d_ += " A" + Number(axes.rx) + ' ' + Number(axes.ry) + ' ' + Number(turn) +
          (large ? " 1 " : " 0 ") + (sweep ? "1 " : "0 ");
    Point(x, y);
}

void SvgSurface::ClosePath() {
    d_ += " Z";
}

// The stroke-dasharray of a pen with a pattern ("" for a continuous one): the lengths of its
// dashes and gaps, a pattern that starts with a gap starting with a dash of no length.
std::string SvgSurface::DashArray(const svg::Pen& pen) {
    if (pen.dashes.empty())
        return "";
    std::string list = pen.dashes.front() < 0 ? "0" : "";
    for (double dash : pen.dashes)
        list += (list.empty() ? "" : " ") + Number(std::fabs(dash));
    return " stroke-dasharray=\"" + list + "\"";
}

void SvgSurface::StrokePath(const svg::Pen& pen, double width) {
    out_ += "<path d=\"" + d_ + "\" fill=\"none\" stroke=\"" + Colour(pen) + "\" stroke-width=\"" +
            Number(width) + "\" stroke-linejoin=\"round\" stroke-linecap=\"round\"" +
            DashArray(pen) + "/>\n";
    d_.clear();
}

void SvgSurface::FillPath(const svg::Pen& pen, double opacity) {
    out_ += "<path d=\"" + d_ + "\" fill=\"" + Colour(pen) + "\" fill-rule=\"evenodd\"";
    if (opacity < 1)
        out_ += " fill-opacity=\"" + Number(opacity) + "\"";
    out_ += " stroke=\"none\"/>\n";
    d_.clear();
}

void SvgSurface::Circle(double cx, double cy, double r, const svg::Pen& pen, double width) {
    out_ += "<circle cx=\"" + Number(cx) + "\" cy=\"" + Number(cy) + "\" r=\"" + Number(r) +
            "\" fill=\"none\" stroke=\"" + Colour(pen) + "\" stroke-width=\"" + Number(width) +
            "\"" + DashArray(pen) + "/>\n";
}

void SvgSurface::Disc(double cx, double cy, double r, const svg::Pen& pen) {
    out_ += "<circle cx=\"" + Number(cx) + "\" cy=\"" + Number(cy) + "\" r=\"" + Number(r) +
            "\" fill=\"" + Colour(pen) + "\"/>\n";
}

void SvgSurface::Text(const SheetText& text) {
    static const char* const kAnchor[] = {"start", "middle", "end"};
    const std::string x = Number(text.x), y = Number(text.y);
    out_ += "<text x=\"" + x + "\" y=\"" + y + "\" font-size=\"" + Number(text.size) +
            "\" fill=\"" + Colour(text.pen) + "\" text-anchor=\"" +
            kAnchor[static_cast<int>(text.anchor)] + "\"";
    if (text.rotation != 0)
        out_ += " transform=\"rotate(" + Number(-text.rotation) + " " + x + " " + y + ")\"";
    out_ += ">" + (text.runs ? Markup(*text.runs) : std::string()) + "</text>\n";
}

}  // namespace host
