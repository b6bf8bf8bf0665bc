// The sheet of a plot: paper sizes, the fit of the drawing at a scale, the frame and the
// title block, all in millimetres of paper until they reach the PDF surface in points.
#include "host/files/plot_sheet.h"

#include <algorithm>
#include <cmath>

#include "host/files/pdf_surface.h"

namespace host {
namespace {

constexpr double kPtPerMm = 72 / 25.4;
constexpr double kMarginMm = 10;
constexpr double kMmPerUnit = 10;  // one drawing unit is one centimetre
// The title block: four rows, a column of labels and one of values.
constexpr double kRowMm = 6, kLabelMm = 20, kValueMm = 80;
constexpr double kLabelHeightMm = 1.8, kValueHeightMm = 2.5, kPaddingMm = 1.5;
// Pens of the frame and of the title block's inner lines.
constexpr double kFramePenMm = 0.5, kRulePenMm = 0.25;

struct Paper {
    double width = 0, height = 0;  // millimetres, as the sheet is turned
};

bool PaperOf(const SheetChoice& sheet, Paper& paper) {
    static const struct {
        const char* name;
        double shortSide, longSide;
    } kSheets[] = {
        {"A4", 210, 297}, {"A3", 297, 420}, {"A2", 420, 594}, {"A1", 594, 841}, {"A0", 841, 1189}};
    for (const auto& known : kSheets) {
        if (sheet.format == known.name) {
            paper = sheet.landscape ? Paper{known.longSide, known.shortSide}
                                    : Paper{known.shortSide, known.longSide};
            return true;
        }
    }
    return false;
}

// The extents in drawing units, an empty drawing as a point.
void Extents(const svg::Bounds& bounds, double& dx, double& dy) {
    dx = bounds.any ? bounds.maxX - bounds.minX : 0;
    dy = bounds.any ? bounds.maxY - bounds.minY : 0;
}

bool Fits(double dx, double dy, const Paper& paper, double scale) {
    // A hair of tolerance, so that extents that fit exactly are not refused for rounding.
    constexpr double kHairMm = 1e-6;
    return dx * kMmPerUnit / scale <= paper.width - 2 * kMarginMm + kHairMm &&
           dy * kMmPerUnit / scale <= paper.height - 2 * kMarginMm + kHairMm;
}

// Draws on the surface in millimetres of paper.
class Sheet {
  public:
    explicit Sheet(PlotSurface& surface) : surface_(surface) {}
    void Rectangle(double x0, double y0, double x1, double y1, double penMm) {
        surface_.MoveTo(x0 * kPtPerMm, y0 * kPtPerMm);
        surface_.LineTo(x1 * kPtPerMm, y0 * kPtPerMm);
        surface_.LineTo(x1 * kPtPerMm, y1 * kPtPerMm);
        surface_.LineTo(x0 * kPtPerMm, y1 * kPtPerMm);
        surface_.ClosePath();
        Stroke(penMm);
    }
    void Line(double x0, double y0, double x1, double y1, double penMm) {
        surface_.MoveTo(x0 * kPtPerMm, y0 * kPtPerMm);
        surface_.LineTo(x1 * kPtPerMm, y1 * kPtPerMm);
        Stroke(penMm);
    }
    // A text on its base line at (x, y), capitals `height` high, narrowed to `room` at most.
    void Text(double x, double y, double height, double room, const std::string& content) {
        const std::vector<svg::TextRun> runs{svg::TextRun{content}};
        const double advance = svg::TextAdvanceEm(runs);
        double em = svg::EmOfHeight(height);
        if (advance * em > room)
            em = room / advance;
        SheetText text;
        text.x = x * kPtPerMm;
        text.y = y * kPtPerMm;
        text.size = em * kPtPerMm;
        text.runs = &runs;
        surface_.Text(text);
    }

  private:
    void Stroke(double penMm) { surface_.StrokePath(svg::Pen{0x000000, penMm}, penMm * kPtPerMm); }
    PlotSurface& surface_;
};

void DrawTitleBlock(Sheet& sheet, const Paper& paper, const SheetChoice& choice,
                    const TitleBlock& title) {
    const double right = paper.width - kMarginMm, bottom = paper.height - kMarginMm;
    const double left = right - kLabelMm - kValueMm, top = bottom - 4 * kRowMm;
    const std::string rows[4][2] = {{"Rysunek", title.drawing},
                                    {"Skala", "1:" + std::to_string(choice.scale)},
                                    {"Arkusz", SheetName(choice)},
                                    {"Data", title.date}};
    for (int row = 0; row < 4; ++row) {
        const double base = top + (row + 1) * kRowMm - (kRowMm - kValueHeightMm) / 2;
        if (row > 0)
            sheet.Line(left, top + row * kRowMm, right, top + row * kRowMm, kRulePenMm);
        sheet.Text(left + kPaddingMm, base, kLabelHeightMm, kLabelMm - 2 * kPaddingMm,
                   rows[row][0]);
        sheet.Text(left + kLabelMm + kPaddingMm, base, kValueHeightMm, kValueMm - 2 * kPaddingMm,
                   rows[row][1]);
    }
    sheet.Line(left + kLabelMm, top, left + kLabelMm, bottom, kRulePenMm);
    sheet.Rectangle(left, top, right, bottom, kFramePenMm);
}

}  // namespace

std::string SheetName(const SheetChoice& sheet) {
    Paper paper;
    if (!PaperOf(sheet, paper))
        return sheet.format;
    auto mm = [](double v) { return std::to_string(static_cast<int>(v)); };
    return sheet.format + (sheet.landscape ? " poziomy, " : " pionowy, ") + mm(paper.width) +
           " × " + mm(paper.height) + " mm";
}

bool FitsOnSheet(const svg::Bounds& bounds, const SheetChoice& sheet) {
    Paper paper;
    double dx = 0, dy = 0;
    Extents(bounds, dx, dy);
    return PaperOf(sheet, paper) && sheet.scale >= 1 &&
           Fits(dx, dy, paper, static_cast<double>(sheet.scale));
}

long long LargestFittingScale(const svg::Bounds& bounds, const SheetChoice& sheet) {
    Paper paper;
    if (!PaperOf(sheet, paper))
        return 0;
    double dx = 0, dy = 0;
    Extents(bounds, dx, dy);
    const double need = std::max(dx * kMmPerUnit / (paper.width - 2 * kMarginMm),
                                 dy * kMmPerUnit / (paper.height - 2 * kMarginMm));
    auto scale = static_cast<long long>(std::max(1.0, std::ceil(need) - 1));
    while (!Fits(dx, dy, paper, static_cast<double>(scale)))
        ++scale;
    return scale;
}

bool PlotPdf(const PlotItems& plot, const SheetChoice& sheet, const TitleBlock& title,
             std::string& bytes, std::string& error) {
    Paper paper;
    if (!PaperOf(sheet, paper) || !FitsOnSheet(plot.bounds, sheet)) {
        error = "rysunek nie mieści się na arkuszu " + sheet.format +
                " w skali 1:" + std::to_string(sheet.scale);
        return false;
    }
    double dx = 0, dy = 0;
    Extents(plot.bounds, dx, dy);
    const double mmPerUnit = kMmPerUnit / static_cast<double>(sheet.scale);
    SheetMap map;
    map.minX = plot.bounds.any ? plot.bounds.minX : 0;
    map.maxY = plot.bounds.any ? plot.bounds.maxY : 0;
    map.scale = mmPerUnit * kPtPerMm;
    map.left = (paper.width - dx * mmPerUnit) / 2 * kPtPerMm;
    map.top = (paper.height - dy * mmPerUnit) / 2 * kPtPerMm;
    map.unitsPerMm = kPtPerMm;

    PdfSurface surface(paper.width * kPtPerMm, paper.height * kPtPerMm, title.drawing);
    DrawPlotItems(plot.items, map, surface);
    Sheet frame(surface);
    frame.Rectangle(kMarginMm, kMarginMm, paper.width - kMarginMm, paper.height - kMarginMm,
                    kFramePenMm);
    DrawTitleBlock(frame, paper, sheet, title);
    return surface.Finish(bytes, error);
}

}  // namespace host
