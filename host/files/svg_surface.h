// The SVG surface of a plot: the picture's text, numbers in sheet pixels to two decimals.
#pragma once

#include <string>

#include "host/files/plot_surface.h"

namespace host {

class SvgSurface : public PlotSurface {
  public:
    // Begins the picture, `width` by `height` sheet units, on a white ground.
    SvgSurface(std::string& out, double width, double height);
    // Ends the picture; false when a number in it was not finite (the text is then unsound).
    bool Finish();

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
    std::string Number(double value);
    void Point(double x, double y);
    std::string DashArray(const svg::Pen& pen);

    std::string& out_;
    std::string d_;  // the path being built
    bool broken_ = false;
};

}  // namespace host
