// SVG export: the plot walk's items, scaled to fit the picture, on the SVG surface.
#include "host/files/svg_export.h"

#include <algorithm>
#include <cmath>

#include "host/files/dxf_writer.h"
#include "host/files/svg_surface.h"

namespace host {
namespace {

constexpr double kWidth = 1200.0;
constexpr double kMargin = 20.0;
// The sheet is drawn at 96 dots to the inch, so pens keep their weight on paper.
constexpr double kPxPerMm = 96.0 / 25.4;

}  // namespace

std::string ExportSvg(const Database& drawing, LeftOut* leftOut, SvgPlacement* placement) {
    PlotItems plot = WalkDrawing(drawing);
    svg::Bounds& bounds = plot.bounds;
    if (!bounds.any)
        bounds.Add(0, 0);
    const double dx = std::max(bounds.maxX - bounds.minX, 1e-9);
    const double dy = std::max(bounds.maxY - bounds.minY, 1e-9);
    double scale = std::min((kWidth - 2 * kMargin) / dx, (kWidth - 2 * kMargin) / dy);
    if (!std::isfinite(scale) || scale <= 0)
        scale = 1.0;
    std::string svg;
    SvgSurface surface(svg, dx * scale + 2 * kMargin, dy * scale + 2 * kMargin);
    DrawPlotItems(plot.items, SheetMap{bounds.minX, bounds.maxY, scale, kMargin, kMargin, kPxPerMm},
                  surface);
    const bool sound = surface.Finish();
    if (leftOut)
        *leftOut = std::move(plot.leftOut);
    if (placement)
        *placement = SvgPlacement{bounds.minX, bounds.maxY, scale, kMargin};
    return sound ? svg : std::string();
}

bool ExportSvgFile(const Database& drawing, const std::string& path, std::string& error,
                   LeftOut* leftOut) {
    const std::string svg = ExportSvg(drawing, leftOut);
    if (svg.empty()) {
        error = "obraz rysunku zawierałby liczby nieskończone";
        return false;
    }
    return WriteFileAtomically(path, svg, error);
}

}  // namespace host
