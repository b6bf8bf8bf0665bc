// PLOT file.pdf: the drawing on a sheet at a scale, as a PDF page.
#pragma once

#include <cstdint>
#include <string>

namespace host {

// Asks for the sheet, its orientation and the scale (again while the drawing does not fit),
// then writes the PDF whole or not at all. Prints its outcome; false when it failed.
bool PlotDrawingFile(const std::string& path);

// The PDF that PLOT wrote last in this session, for a front end that hands it on.
struct PlottedFile {
    uint64_t serial = 0;  // 0 before the first
    std::string path;
    std::string bytes;
};
const PlottedFile& LastPlottedFile();

// Where a front end plots the drawing: its own file as .pdf, else "rysunek.pdf".
std::string DefaultPlotFile();

}  // namespace host
