// The plot walk: which of the drawing's entities a plot shows, where, and with which pen.
// Each visible model-space entity, and each entity of the blocks it inserts, becomes paths,
// circles or texts in drawing coordinates, so that the plot's bounds are known before any
// surface (the SVG picture, the PDF sheet) writes anything. What cannot be drawn is counted.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/drawing/database.h"
#include "host/files/svg_geometry.h"

namespace host {

// The RGB colour (0xRRGGBB) of an AutoCAD colour index 1..255 (others: black). Colour 7,
// white on a dark screen, is drawn black on the white sheet.
uint32_t AciColour(int index);

// Entities a plot leaves out, by kind: kinds it does not draw, broken blocks, and entities
// whose numbers are not finite or absurdly large. Each entity is counted once.
using LeftOut = std::map<std::string, int>;
// "DIMENSION 1, SPLINE 2": the kinds and counts for a message.
std::string LeftOutSummary(const LeftOut& leftOut);

// What a plot shows: the items in drawing coordinates, each with the pen and ink it is drawn
// with on white paper, in the order they are drawn; their bounds; what was left out.
struct PlotItems {
    std::vector<svg::Item> items;
    svg::Bounds bounds;
    LeftOut leftOut;
};

PlotItems WalkDrawing(const Database& drawing);

}  // namespace host
