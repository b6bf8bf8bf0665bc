// A picture of the drawing as the user sees it, in SVG: model-space entities in their layer
// or own colours on a white sheet, scaled to fit, the y axis pointing up as in the drawing.
// Blocks are drawn where they are inserted; what cannot be drawn is counted by kind.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "host/drawing/database.h"

namespace host {

// The RGB colour (0xRRGGBB) of an AutoCAD colour index 1..255 (others: black). Colour 7,
// white on a dark screen, is drawn black on the white sheet.
uint32_t AciColour(int index);

// Entities the picture leaves out, by kind: kinds it does not draw, broken blocks, and
// entities whose numbers are not finite or absurdly large. Each entity is counted once.
using LeftOut = std::map<std::string, int>;
// "DIMENSION 1, SPLINE 2": the kinds and counts for a message.
std::string LeftOutSummary(const LeftOut& leftOut);

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
