// A picture of the drawing as the user sees it, in SVG: the plot walk's items on a white
// sheet 1200 px across at most, scaled to fit, the y axis pointing up as in the drawing.
#pragma once

#include <string>

#include "host/drawing/database.h"
#include "host/files/plot_walk.h"

namespace host {

// Where the drawing lies in the picture: a drawing point (x, y) is drawn at
// ((x - minX) * scale + margin, (maxY - y) * scale + margin), so that a front end showing the
// picture can turn a click on it back into a drawing point.
struct SvgPlacement {
    double minX = 0.0;
    double maxY = 0.0;
    double scale = 1.0;
    double margin = 0.0;
};

// The SVG text of the drawing's visible entities; empty when no sound picture could be made.
std::string ExportSvg(const Database& drawing, LeftOut* leftOut = nullptr,
                      SvgPlacement* placement = nullptr);

// Writes the SVG of the drawing to `path` (atomically); false with the reason.
bool ExportSvgFile(const Database& drawing, const std::string& path, std::string& error,
                   LeftOut* leftOut = nullptr);

}  // namespace host
