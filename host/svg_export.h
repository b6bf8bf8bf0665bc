// A picture of the drawing as the user sees it, in SVG: model-space entities in their layer
// or own colours on a white sheet, scaled to fit, the y axis pointing up as in the drawing.
#pragma once

#include <cstdint>
#include <string>

#include "host/database.h"

namespace host {

// The RGB colour (0xRRGGBB) of an AutoCAD colour index 1..255 (others: black). Colour 7,
// white on a dark screen, is drawn black on the white sheet.
uint32_t AciColour(int index);

// The SVG text of the drawing's visible entities.
std::string ExportSvg(const Database& drawing);

// Writes the SVG of the drawing to `path` (atomically); false with the reason.
bool ExportSvgFile(const Database& drawing, const std::string& path, std::string& error);

}  // namespace host
