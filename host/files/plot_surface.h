// What a plot is written on: a surface takes paths, circles and texts already on its sheet
// and only writes them (as SVG text, or into a PDF page). Where each item lies on the sheet
// and with which pen it is drawn is decided once, for every surface alike, by DrawPlotItems.
#pragma once

#include <vector>

#include "host/files/svg_geometry.h"

namespace host {

// A text on the sheet: its base line starts at (x, y), the font size is an em in sheet
// units, the turn is in degrees anticlockwise as seen.
struct SheetText {
    enum class Anchor { Start, Middle, End };
    double x = 0, y = 0;
    double size = 0;
    double rotation = 0;
    Anchor anchor = Anchor::Start;
    const std::vector<svg::TextRun>* runs = nullptr;
    svg::Pen pen;
};

// Sheet coordinates have their y axis pointing down, as on a page.
class PlotSurface {
  public:
    virtual ~PlotSurface() = default;
    // A path of one or more rings, built piece by piece, then stroked or filled.
    virtual void MoveTo(double x, double y) = 0;
    virtual void LineTo(double x, double y) = 0;
    // A circular arc of radius r to (x, y): the larger of the two possible when `large`,
    // turning from the sheet's +x towards its +y axis when `sweep` (the flags of SVG's arc).
    virtual void ArcTo(double r, bool large, bool sweep, double x, double y) = 0;
    // An elliptical arc on the sheet, ending at (x, y).
    virtual void EllipticTo(const svg::Elliptic& arc, double x, double y) = 0;
    virtual void ClosePath() = 0;
    // Ends the path: drawn with the pen `width` sheet units wide, round joins and ends, in
    // dashes when the pen has a pattern (circles too).
    virtual void StrokePath(const svg::Pen& pen, double width) = 0;
    // Ends the path: filled (even-odd) with the pen's ink, `opacity` of it covering.
    virtual void FillPath(const svg::Pen& pen, double opacity) = 0;
    virtual void Circle(double cx, double cy, double r, const svg::Pen& pen, double width) = 0;
    virtual void Disc(double cx, double cy, double r, const svg::Pen& pen) = 0;
    virtual void Text(const SheetText& text) = 0;
};

// Where the drawing lies on a sheet: a drawing point (x, y) is drawn at
// ((x - minX) * scale + left, (maxY - y) * scale + top); `unitsPerMm` sheet units make a
// millimetre of paper, the measure of pens.
struct SheetMap {
    double minX = 0, maxY = 0;
    double scale = 1;
    double left = 0, top = 0;
    double unitsPerMm = 1;
};

// Draws the plot's items on the surface: paths, circles, points as small discs, texts on
// their base lines. A pen is at least as wide as the polyline width it draws.
void DrawPlotItems(const std::vector<svg::Item>& items, const SheetMap& sheet,
                   PlotSurface& surface);

}  // namespace host
