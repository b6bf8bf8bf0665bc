// The PDF surface of a plot: one page drawn with cairo, in points (1/72 inch), texts as real
// text in DejaVu Sans.
#pragma once

#include <memory>
#include <string>

#include "host/files/plot_surface.h"

namespace host {

class PdfSurface : public PlotSurface {
  public:
    // A page `width` by `height` points, white; `title` goes into the document's information.
    PdfSurface(double width, double height, const std::string& title);
    ~PdfSurface() override;
    PdfSurface(const PdfSurface&) = delete;
    PdfSurface& operator=(const PdfSurface&) = delete;

    // Ends the page and the document: its bytes, or false with the reason.
    bool Finish(std::string& bytes, std::string& error);

    void MoveTo(double x, double y) override;
    void LineTo(double x, double y) override;
    void ArcTo(double r, bool large, bool sweep, double x, double y) override;
    void EllipticTo(const svg::Elliptic& arc, double x, double y) override;
    void ClosePath() override;
    void StrokePath(const svg::Pen& pen, double width) override;
    void FillPath(const svg::Pen& pen, double opacity) override;
    void Circle(double cx, double cy, double r, const svg::Pen& pen, double width) override;
    void Disc(double cx, double cy, double r, const svg::Pen& pen) override;
    void Text(const SheetText& text) override;

  private:
    struct Cairo;
    std::unique_ptr<Cairo> cairo_;
};

}  // namespace host
