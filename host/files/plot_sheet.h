// PLOT's sheet: the plot walk's items on one PDF page of an A-series sheet, at a scale 1:N
// where one drawing unit is one centimetre, centred inside a 10 mm margin, in a frame with a
// title block in the lower right corner.
#pragma once

#include <string>

#include "host/files/plot_walk.h"

namespace host {

struct SheetChoice {
    std::string format = "A3";  // A4, A3, A2, A1 or A0
    bool landscape = true;
    long long scale = 50;  // 1:scale
};

// "A3 poziomy, 420 × 297 mm": the sheet as the title block and messages name it.
std::string SheetName(const SheetChoice& sheet);

// Whether the extents fit inside the sheet's margin at its scale; false for an unknown format.
bool FitsOnSheet(const svg::Bounds& bounds, const SheetChoice& sheet);
// The largest scale at which they fit on that sheet (the smallest N of 1:N).
long long LargestFittingScale(const svg::Bounds& bounds, const SheetChoice& sheet);

// What the title block says besides the scale and the sheet.
struct TitleBlock {
    std::string drawing;  // the drawing's file name
    std::string date;
};

// The PDF of the plot on the sheet; false with the reason when none could be made.
bool PlotPdf(const PlotItems& plot, const SheetChoice& sheet, const TitleBlock& title,
             std::string& bytes, std::string& error);

}  // namespace host
