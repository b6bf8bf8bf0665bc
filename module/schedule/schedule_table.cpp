// The schedule table: frame, grid lines, headers, one line per row with its total length under
// its grade and diameter, the summary of lengths and masses per grade, title and notes, and in
// the full form a small drawing of each bar's shape.
#include <array>
#include <map>

#include "module/model/steel.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/schedule/schedule_math.h"
#include "module/schedule/schedule_scan.h"
#include "module/ui/toolbar_dlg.h"

namespace {

constexpr int kStrTableLayer = 74;
constexpr int kStrDiameter = 75;
constexpr int kStrMillimetres = 76;
constexpr int kStrLength = 77;
constexpr int kStrCentimetres = 78;
constexpr int kStrPieces = 79;
constexpr int kStrTotalLengthHeader = 80;
constexpr int kStrTotalLength = 81;
constexpr int kStrUnitMass = 82;
constexpr int kStrMass = 83;
constexpr int kStrMassPerGrade = 84;
constexpr int kStrTitle = 85;
constexpr int kStrConcrete = 86;
constexpr int kStrSteelNote = 87;
constexpr int kStrNumber = 113;
constexpr int kStrCount = 15;
constexpr int kStrShape = 156;

// The frame stands out from the grid lines.
constexpr int kFrameColour = 3;
// A layer needs a real colour: "by layer" (256) is no colour of a layer, and a file carrying
// it is refused by strict readers. The table's layer takes the colour new layers get.
constexpr int kTableLayerColour = 7;

constexpr const char* kSmoothSign = "%%c";
constexpr const char* kRibbedSign = "#";

// A real grade name; anything else ("-", a typed text) is no grade of its own.
bool IsGradeName(const std::string& name) {
    return SteelName(SteelIndex(name)) == name;
}

struct Layout {
    double h = 0, rowHeight = 0, shapeWidth = 0;
    int kinds = 0;
    bool smoothPresent = false, ribbedPresent = false;
    std::array<int, kSteelCount> columns{};        // n(g)
    std::array<double, kSteelCount> blockStart{};  // D(g)
    std::array<std::vector<double>, kSteelCount> diameters{};
    int allColumns = 0;               // W
    double width = 0, height = 0;     // TW, TH
    double left = 0, firstBlock = 0;  // L, D0
};

}  // namespace

void CObslugaPreta::DrawSchedule(const std::vector<CWykazObj>& rows, sds_point p, bool full) {
    Layout t;
    t.h = panel != nullptr ? panel->GetDescriptionFontSize() : 1.0;
    const double h = t.h;
    const int n = static_cast<int>(rows.size());
    t.rowHeight = full ? 12.0 * h : 4.0 * h;
    t.shapeWidth = full ? 1.5 * t.rowHeight : 0.0;
    std::array<int, kSteelCount> perGrade{};
    for (const CWykazObj& row : rows) {
        const int g = SteelIndex(row.steel);
        ++perGrade[static_cast<size_t>(g)];
        (IsSmoothSteel(g) ? t.smoothPresent : t.ribbedPresent) = true;
    }
    t.kinds = (t.smoothPresent ? 1 : 0) + (t.ribbedPresent ? 1 : 0);
    for (int g = 0; g < kSteelCount; ++g) {
        const int c = perGrade[static_cast<size_t>(g)];
        t.columns[static_cast<size_t>(g)] = c > 0 ? std::max(c, 4) : 0;
        t.allColumns += t.columns[static_cast<size_t>(g)];
        t.diameters[static_cast<size_t>(g)] = schedule::DiametersOfSteel(SteelName(g), rows);
    }
    const double K = t.kinds;
    t.width = 24.0 * h + 8.0 * h * K + 8.0 * h * t.allColumns;
    t.height = 48.0 * h + n * t.rowHeight;
    const double x0 = p[0];
    const double y0 = p[1];
    const double z = p[2];
    t.left = x0 + t.shapeWidth;
    t.firstBlock = t.left + 24.0 * h + 8.0 * h * K;
    double next = t.firstBlock;
    for (int g = 0; g < kSteelCount; ++g) {
        t.blockStart[static_cast<size_t>(g)] = next;
        next += 8.0 * h * t.columns[static_cast<size_t>(g)];
    }
    const double right = x0 + t.shapeWidth + t.width;
    const double L = t.left;
    const double D0 = t.firstBlock;
    const double yN = y0 - 12.0 * h - n * t.rowHeight;

    UndoGroup undo;
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string barTag = LoadUiString(rods::kIdBarTag);
    const std::string layerName = LoadUiString(kStrTableLayer);
    layer.Create(layerName, kTableLayerColour);
    auto drawLine = [&](double xa, double ya, double xb, double yb) {
        const sds_point a = {xa, ya, z};
        const sds_point b = {xb, yb, z};
        line.Create(a, b, layerName, rods::kContinuous, rods::kByLayer, 1.0);
    };
    auto drawText = [&](const std::string& value, double x, double y, double height, bool centred) {
        const sds_point at = {x, y, z};
        text.Create(value, at, height, 0.0, rods::kTextStyle, 0, centred ? 1 : 0, at, 2, layerName,
                    rods::kByLayer);
    };

    // Frame.
    const std::vector<CSDSPointExt> frame = {
        {x0, y0, z}, {right, y0, z}, {right, y0 - t.height, z}, {x0, y0 - t.height, z}};
    polyline.Create(frame, true, layerName, rods::kContinuous, kFrameColour);

    // Lines across.
    drawLine(x0, y0 - 12.0 * h, right, y0 - 12.0 * h);
    for (int i = 1; i <= n; ++i) {
        const double y = y0 - 12.0 * h - i * t.rowHeight;
        drawLine(x0, y, right, y);
    }
    for (int j = 1; j <= 8; ++j) {
        drawLine(L, yN - 4.0 * h * j, right, yN - 4.0 * h * j);
    }
    drawLine(L + 8.0 * h, y0 - 6.0 * h, L + 8.0 * h + 8.0 * h * K, y0 - 6.0 * h);
    drawLine(D0, y0 - 4.0 * h, right, y0 - 4.0 * h);
    drawLine(D0, y0 - 8.0 * h, right, y0 - 8.0 * h);

    // Lines down.
    if (full) {
        drawLine(x0 + t.shapeWidth, y0, x0 + t.shapeWidth, y0 - t.height);
    }
    drawLine(L + 8.0 * h, y0, L + 8.0 * h, yN - 20.0 * h);
    for (int j = 0; j <= t.kinds; ++j) {
        const double x = L + 16.0 * h + 8.0 * h * j;
        drawLine(x, (t.kinds == 2 && j == 0) ? y0 - 6.0 * h : y0, x, yN - 20.0 * h);
    }
    drawLine(D0, y0, D0, y0 - t.height);
    bool blockDrawn = false;
    for (int g = 0; g < kSteelCount; ++g) {
        const int cols = t.columns[static_cast<size_t>(g)];
        const double D = t.blockStart[static_cast<size_t>(g)];
        if (cols == 0) {
            continue;
        }
        for (int j = 1; j < cols; ++j) {
            drawLine(D + 8.0 * h * j, y0 - 8.0 * h, D + 8.0 * h * j, y0 - t.height + 4.0 * h);
        }
        drawLine(D + 8.0 * h * cols, y0 - 4.0 * h, D + 8.0 * h * cols, y0 - t.height);
        blockDrawn = true;
    }
    // The last block's right edge lies on the frame.
    sds_name last = {0, 0};
    if (blockDrawn && sds_entlast(last) == RTNORM) {
        sds_entdel(last);
    }

    // Header texts.
    if (full) {
        drawText(LoadUiString(kStrShape), x0 + t.shapeWidth / 2.0, y0 - 6.0 * h, h, true);
    }
    drawText(LoadUiString(kStrNumber), L + 4.0 * h, y0 - 6.0 * h, h, true);
    drawText(LoadUiString(kStrDiameter), L + 8.0 * h + 4.0 * h * K, y0 - 1.5 * h, h, true);
    drawText(LoadUiString(kStrMillimetres), L + 8.0 * h + 4.0 * h * K, y0 - 4.5 * h, h, true);
    if (t.kinds == 2) {
        drawText(kSmoothSign, L + 12.0 * h, y0 - 9.0 * h, 2.0 * h, true);
        drawText(kRibbedSign, L + 20.0 * h, y0 - 9.0 * h, 2.0 * h, true);
    } else if (t.kinds == 1) {
        drawText(t.smoothPresent ? kSmoothSign : kRibbedSign, L + 12.0 * h, y0 - 9.0 * h, 2.0 * h,
                 true);
    }
    drawText(LoadUiString(kStrLength), L + 12.0 * h + 8.0 * h * K, y0 - 4.5 * h, h, true);
    drawText(LoadUiString(kStrCentimetres), L + 12.0 * h + 8.0 * h * K, y0 - 7.5 * h, h, true);
    drawText(LoadUiString(kStrCount), L + 20.0 * h + 8.0 * h * K, y0 - 4.5 * h, h, true);
    drawText(LoadUiString(kStrPieces), L + 20.0 * h + 8.0 * h * K, y0 - 7.5 * h, h, true);
    drawText(LoadUiString(kStrTotalLengthHeader),
             L + 22.0 * h + 8.0 * h * K + 4.0 * h * t.allColumns, y0 - 2.0 * h, h, true);
    for (int g = 0; g < kSteelCount; ++g) {
        const int cols = t.columns[static_cast<size_t>(g)];
        if (cols == 0) {
            continue;
        }
        const double D = t.blockStart[static_cast<size_t>(g)];
        drawText(SteelName(g), D + 4.0 * h * cols, y0 - 6.0 * h, h, true);
        const std::vector<double>& ds = t.diameters[static_cast<size_t>(g)];
        for (size_t j = 0; j < ds.size(); ++j) {
            const std::string sign = IsSmoothSteel(g) ? kSmoothSign : kRibbedSign;
            drawText(sign + FormatDiameter(ds[j]), D + 4.0 * h + 8.0 * h * static_cast<double>(j),
                     y0 - 10.0 * h, h, true);
        }
    }

    // Shapes of the drawing rows: each by the handle of its mark's first bar, kept since the
    // rows were collected; one pass over the bars only when a bar was replaced since.
    if (full) {
        std::map<int, std::array<long, 2>> firstOfMark;
        bool scanned = false;
        auto firstBar = [&](const CWykazObj& row, int mark, sds_name bar) {
            CRodXDataParameters record;
            if (!row.barHandle.empty() && sds_handent(row.barHandle.c_str(), bar) == RTNORM &&
                IsBar(bar, key, barTag) && xdata.ReadRodRecord(bar, key, record) == RTNORM &&
                record.number == mark) {
                return true;
            }
            if (!scanned) {
                for (const rods::BarEntry& entry : ScheduleBars(xdata)) {
                    firstOfMark.emplace(entry.record.number,
                                        std::array<long, 2>{entry.name[0], entry.name[1]});
                }
                scanned = true;
            }
            auto found = firstOfMark.find(mark);
            if (found == firstOfMark.end()) {
                return false;
            }
            bar[0] = found->second[0];
            bar[1] = found->second[1];
            return true;
        };
        for (int r = 0; r < n; ++r) {
            const CWykazObj& row = rows[static_cast<size_t>(r)];
            sds_name bar = {0, 0};
            if (row.fromDrawing == 1 && firstBar(row, row.mark > 0 ? row.mark : r + 1, bar)) {
                const sds_point corner = {x0, y0 - 12.0 * h - (r + 1) * t.rowHeight, z};
                DrawBarShape(bar, corner, t.shapeWidth, t.rowHeight);
            }
        }
    }

    // Row texts.
    for (int r = 0; r < n; ++r) {
        const CWykazObj& row = rows[static_cast<size_t>(r)];
        const double y = y0 - 12.0 * h - (r + 0.5) * t.rowHeight;
        const int g = SteelIndex(row.steel);
        drawText(std::to_string(r + 1), L + 4.0 * h, y, h, true);
        const bool secondKind = t.kinds == 2 && !IsSmoothSteel(g);
        drawText(row.diameter, secondKind ? L + 20.0 * h : L + 12.0 * h, y, h, true);
        drawText(row.length, L + 12.0 * h + 8.0 * h * K, y, h, true);
        drawText(row.count, L + 20.0 * h + 8.0 * h * K, y, h, true);
        const int j = IsGradeName(row.steel)
                          ? schedule::DiameterColumn(t.diameters[static_cast<size_t>(g)],
                                                     schedule::ParseReal(row.diameter))
                          : -1;
        if (j >= 0) {
            const double metres =
                schedule::ParseWhole(row.count) * schedule::ParseReal(row.length) / 100.0;
            drawText(schedule::Format("%.2f", metres),
                     t.blockStart[static_cast<size_t>(g)] + 4.0 * h + 8.0 * h * j, y, h, true);
        }
    }

    // Summary.
    const double labelX = L + 12.0 * h + 4.0 * h * K;
    drawText(LoadUiString(kStrTotalLength), labelX, yN - 22.0 * h, h, true);
    drawText(LoadUiString(kStrUnitMass), labelX, yN - 26.0 * h, h, true);
    drawText(LoadUiString(kStrMass), labelX, yN - 30.0 * h, h, true);
    drawText(LoadUiString(kStrMassPerGrade), labelX, yN - 34.0 * h, h, true);
    std::string gradesNote = LoadUiString(kStrSteelNote);
    for (const schedule::GradeTotal& grade : schedule::GradeTotals(rows)) {
        const int cols = t.columns[static_cast<size_t>(grade.grade)];
        gradesNote += SteelName(grade.grade) + " ";
        const double D = t.blockStart[static_cast<size_t>(grade.grade)];
        for (size_t j = 0; j < grade.diameters.size(); ++j) {
            const schedule::DiameterTotal& total = grade.diameters[j];
            const double x = D + 4.0 * h + 8.0 * h * static_cast<double>(j);
            drawText(schedule::Format("%.2f", total.metres), x, yN - 22.0 * h, h, true);
            drawText(schedule::Format("%.3f", total.unitMass), x, yN - 26.0 * h, h, true);
            drawText(schedule::Format("%.2f", total.mass), x, yN - 30.0 * h, h, true);
        }
        drawText(schedule::Format("%.2f", grade.mass), D + 4.0 * h * cols, yN - 34.0 * h, h, true);
    }

    drawText(LoadUiString(kStrTitle), x0, y0 + 4.0 * h, h, false);
    drawText(LoadUiString(kStrConcrete), x0, y0 - t.height - 4.0 * h, h, false);
    drawText(gradesNote, x0, y0 - t.height - 8.0 * h, h, false);
    undo.Close();
    // The command does not use the point afterwards; the shape column moves the table proper.
    p[0] = L;
}

void CObslugaPreta::DrawBarShape(const sds_name bar, const sds_point cellCorner, double cellWidth,
                                 double cellHeight) {
    std::vector<CSDSPointExt> shape;
    LoadRodVertices(bar, shape);
    const double corner[3] = {cellCorner[0], cellCorner[1], cellCorner[2]};
    const std::vector<CSDSPointExt> fitted =
        schedule::FitShapeInCell(shape, corner, cellWidth, cellHeight);
    if (fitted.size() >= 2) {
        polyline.Create(fitted, false, LoadUiString(kStrTableLayer), rods::kContinuous,
                        rods::kByLayer);
    }
}
