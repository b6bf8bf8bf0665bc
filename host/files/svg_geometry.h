// The pieces a plot is made of (the SVG picture, the PDF sheet), in drawing coordinates: paths
// of straight, bulged and elliptical segments, circles, texts, each with its pen; and the
// affine maps that carry a block's or a plane's pieces into the drawing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/drawing/text_extent.h"

namespace host::svg {

constexpr double kPi = 3.14159265358979323846;
// A coordinate or size beyond this is a broken value, not something anyone drew.
constexpr double kAbsurd = 1e15;

// x' = a x + c y + e, y' = b x + d y + f (the order of SVG's matrix()).
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    bool identity = true;

    static Affine Of(double a, double b, double c, double d, double e, double f);
    static Affine Translation(double x, double y) { return Of(1, 0, 0, 1, x, y); }
    static Affine Rotation(double radians);
    static Affine Scaling(double sx, double sy) { return Of(sx, 0, 0, sy, 0, 0); }
    // This map applied after `inner`: p -> this(inner(p)).
    Affine After(const Affine& inner) const;
    void Apply(double& x, double& y) const;
    // The linear part only (for directions).
    void ApplyLinear(double& x, double& y) const;
    double Det() const { return a * d - b * c; }
    // Whether circles stay circles: a rotation with a uniform scale, mirrored or not.
    bool Conformal() const;
    double Scale() const;
};

// How an entity's own plane (extrusion direction `normal`, elevation z) lies on the drawing's
// XY plane, by the arbitrary-axis rule of drawing files.
Affine PlaneToDrawing(const double normal[3], double z);

// An elliptical segment: centre + M (cos t, sin t) for t from t0 to t1 (either way), with
// M = (m[0] m[2]; m[1] m[3]).
struct Elliptic {
    double cx = 0, cy = 0;
    double m[4] = {1, 0, 0, 1};
    double t0 = 0, t1 = 0;
};

// A vertex and the segment to the next one: straight (bulge 0), a circular arc (bulge = tan of
// a quarter of its turn, positive anticlockwise) or, when `arc` is set, elliptical.
struct Vertex {
    double x = 0, y = 0, bulge = 0;
    std::optional<Elliptic> arc;
};
using Ring = std::vector<Vertex>;

// What an item is drawn with on paper: the ink as printed on white (0xRRGGBB) and the pen's
// weight in millimetres. (A dash pattern would belong here too.)
struct Pen {
    uint32_t colour = 0;
    double weight = 0;
    // The pattern of the line type: dash, gap, dash... (a gap negative, 0 a dot), in drawing
    // units with LTSCALE applied on an item, in sheet units on a surface; empty: continuous.
    std::vector<double> dashes;
};

// Characters of a text as shown ("%%c" already "Ø"), with the decoration they carry.
struct TextRun {
    std::string text;
    bool under = false, over = false;
};

struct Item {
    enum class Kind { Path, Circle, Text } kind = Kind::Path;
    Pen pen;
    std::vector<Ring> rings;
    bool closed = false;
    bool fill = false;
    double opacity = 1.0;
    double width = 0.0;  // drawing units; 0 draws the thinnest line
    double cx = 0, cy = 0, r = 0;
    std::vector<TextRun> runs;
    double advance = 0;  // width of the text as drawn, in ems of its font
    double height = 0, rotation = 0;
    int horizontal = 0, vertical = 0;
};

struct Bounds {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool any = false;
    void Add(double x, double y);
};

// A ring of a circular arc from start to end angle (radians, anticlockwise).
Ring ArcRing(double cx, double cy, double r, double start, double end, bool closed);
// A ring of an elliptical arc (see Elliptic) from t0 up to t1 > t0, in pieces of at most half
// a turn.
Ring EllipseRing(double cx, double cy, const double m[4], double t0, double t1, bool closed);

// Texts are measured in the picture's font as the drawing measures them (text_extent.h).
using host::EmOfHeight;
using host::TextAdvanceEm;
// The width in ems of a text's runs, as shown.
double TextAdvanceEm(const std::vector<TextRun>& runs);
// Where a text's base line starts, for the text's insertion point, alignment and turn: the
// picture places every text on its base line, whatever the reader makes of other baselines.
void TextBaseline(const Item& text, double& x, double& y);

// Widens the bounds by everything the item covers on the sheet.
void AddItemBounds(const Item& item, Bounds& bounds);

// Carries an item by the map; arcs and circles that the map squeezes become elliptical.
void TransformItem(Item& item, const Affine& map);

// Whether every coordinate and size of the item is finite and within kAbsurd.
bool Sane(const Item& item);

// The semi-axes and the rotation (radians) of the ellipse that M makes of the unit circle.
struct Axes {
    double rx = 0, ry = 0, rotation = 0;
};
Axes EllipseAxes(const double m[4]);

}  // namespace host::svg
