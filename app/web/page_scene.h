// The drawing as the page keeps it, on the session's side: after each answer, the entities
// that changed since the last prompt (from the drawing's change log) are plotted again by the
// plot walk of the SVG export and handed to the hub as JSON of their pieces, keyed by handle.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "app/web/web_hub.h"
#include "host/drawing/database.h"
#include "host/files/svg_geometry.h"

namespace app::web {

// The colours of the page's scene, each given a number once for the session.
class Palette {
  public:
    // The number of a colour (0xRRGGBB as the plot inks it on paper).
    int Index(uint32_t paper);
    // "#rrggbb" by number.
    const std::vector<std::string>& Colours() const { return colours_; }

  private:
    std::map<uint32_t, int> indexes_;
    std::vector<std::string> colours_;
};

// One entity as the page draws it, a JSON array:
//   [handle, order, minX, minY, maxX, maxY, colour, pieces]
// in drawing coordinates; `colour` (its first piece's) is what the page draws where the
// entity is too small to show, and `pieces` a JSON text that the page reads only when it
// draws the entity whole: an array of pieces, each an array led by its kind:
//   [0,colour,pen,width,closed,[ring,...],dashes?]  a line: ring = [x,y,bulge, x,y,bulge...]
//   [1,colour,opacity,[ring,...]]           a fill (even-odd)
//   [2,colour,pen,width,x,y,r,dashes?]      a circle
//   [3,colour,x,y]                          a dot (a point's disc, 1.5 pixels)
//   [4,colour,x,y,size,anchor,turn,text]    a text on its base line: size in drawing units
//                                           (the font's em), anchor 0 start 1 middle 2 end,
//                                           turn in degrees anticlockwise
// Colours are numbers in the palette; pens are millimetres on paper and widths drawing
// units, so that the page draws a line max(width × zoom, pen at 96 dpi, 1 pixel) wide.
// `dashes`, only for a line type with a pattern: dash, gap, dash... in drawing units (a gap
// negative, 0 a dot).
std::string EntityJson(std::string_view handle, uint32_t order,
                       std::span<const host::svg::Item> items, Palette& palette);

class PageScene {
  public:
    // Plots again what changed in the current drawing since the last call (everything the
    // first time and whenever the drawing was replaced, or a layer, line type, block or
    // LTSCALE changed) and hands it to the hub. Returns the hub's scene version.
    uint64_t Update(WebHub& hub);

  private:
    // The entities to plot again for the changed objects; false when the whole picture may
    // have changed.
    bool Affected(const host::Database& drawing, const std::vector<host::ObjectId>& changed,
                  std::vector<host::ObjectId>& plot) const;
    bool Shown(host::ObjectId id) const { return id.value < shown_.size() && shown_[id.value]; }

    bool started_ = false;
    long drawing_ = 0;          // the drawing's serial when last plotted
    uint64_t version_ = 0;      // and its version
    double linetypeScale_ = 0;  // and its LTSCALE
    std::vector<bool> shown_;   // slot -> the page holds the entity
    Palette palette_;
};

}  // namespace app::web
