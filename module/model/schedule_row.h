// One row of the steel schedule: values held as the texts shown, plus the cell flags and the
// row's origin, as the schedule dialog edits them and the drawing stores them.
#pragma once

#include <string>

class CWykazObj {
  public:
    CWykazObj() = default;
    CWykazObj(const CWykazObj&) = default;
    CWykazObj& operator=(const CWykazObj&) = default;
    virtual ~CWykazObj() = default;

    std::string diameter;  // millimetres as shown, FormatDiameter
    int diameterFlags = 0;
    std::string steel;  // grade name
    int steelFlags = 0;
    std::string length;  // developed length of one bar in centimetres, "%.0f"
    int lengthFlags = 0;
    std::string count;  // pieces, decimal
    int countFlags = 0;
    std::string remarks;
    int remarksFlags = 0;
    int fromDrawing = 0;     // 1 when collected from a bar in the drawing
    int applyToDrawing = 0;  // 1 when the drawing's bars take the row's diameter and steel

    // The bar number (mark) a drawing row was collected from, kept up to date while the
    // dialog renumbers bars; never stored, because drawing rows are collected afresh. Rows
    // are found by it rather than by their position, which a deleted row shifts.
    int mark = 0;
    // Handle of the mark's first bar when collected, so that the table finds its shape without
    // a search of the drawing; never stored either.
    std::string barHandle;
    // Of a drawing row: the number of bars drawn with the mark, and what the mark's bars held
    // as typed when collected (the count "" when none). `count` and `remarks` show what the
    // designer typed, kept on the bars when the dialog closes.
    std::string drawnCount;
    std::string keptCount;
    std::string keptRemark;
};

// A set bit of this value in a cell flag word shows the cell disabled.
inline constexpr int kCellDisabled = 2;
