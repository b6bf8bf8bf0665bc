// Writing the drawing as a DXF R2013 (AC1027) text file in UTF-8, with the structure a
// strict reader expects, and saving it so that a failed save never damages a file.
#pragma once

#include <string>

#include "host/drawing/database.h"

namespace host {

// A copy of the drawing with what a file needs besides the drawing's own objects: the
// active viewport, the layout dictionary and the layouts of model and paper space, the
// BLOCK and ENDBLK of both spaces. A drawing read from a file has them already, so that
// saving it again gives the same file.
Database PrepareForFile(const Database& drawing);

// The text of a DXF file of a drawing prepared by PrepareForFile. Deleted objects, and
// objects owned by them, are left out, and references to them dropped.
std::string WriteDxf(const Database& drawing);

// The same text as WriteDxf(PrepareForFile(drawing)), without copying the drawing: what the
// file needs is added to the drawing itself for the writing and taken out again, so that the
// drawing, its indexes and its undo journal are as they were.
std::string WriteDrawingDxf(Database& drawing);

// Writes the drawing to `path` through a temporary file in the same folder, renamed over
// the old file only when every byte is written. False, with the reason, otherwise.
bool SaveDxfFile(Database& drawing, const std::string& path, std::string& error);

// Writes any bytes to a file the same way (also used for SVG).
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace host
