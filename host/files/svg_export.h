// A picture of the drawing as the user sees it, in SVG: model-space entities in their layer
// or own colours on a white sheet, scaled to fit, the y axis pointing up as in the drawing.
// Blocks are drawn where they are inserted; what cannot be drawn is counted by kind.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "host/drawing/database.h"
#include "host/files/svg_geometry.h"

namespace host {

// The RGB colour (0xRRGGBB) of an AutoCAD colour index 1..255 (others: black). Colour 7,
// white on a dark screen, is drawn black on the white sheet.
uint32_t AciColour(int index);
// How a colour shows on white paper: light colours (yellow, cyan, pale shades, white), which
// would all but vanish, are darkened keeping their hue.
uint32_t OnPaper(uint32_t rgb);

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

// The pieces the picture draws of each of the entities, in the order given, as `each`
// receives them: in drawing coordinates, with colour (before OnPaper) and pen. An entity the
// picture does not draw on its own (erased, hidden, in a block or paper space, not an
// entity) comes with none. Given every entity in drawing order, the pieces are the picture's.
void PlotEntities(const Database& drawing, const std::vector<ObjectId>& ids,
                  const std::function<void(ObjectId, std::span<const svg::Item>)>& each);

// Writes the SVG of the drawing to `path` (atomically); false with the reason.
bool ExportSvgFile(const Database& drawing, const std::string& path, std::string& error,
                   LeftOut* leftOut = nullptr);

}  // namespace host
