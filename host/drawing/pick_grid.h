// Where the entities lie, by square cells of the plane, so that a pick looks only at the
// entities near the point instead of measuring every entity of the drawing.
#pragma once

#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "host/drawing/group_list.h"

namespace host {

class Database;

// Kept by the database beside its record index: told of every change of a slot, it files the
// slot's entity (live or erased: an erasure is undone often) under the cells its geometry's
// bounding box covers.
class PickGrid {
  public:
    void Changed(const Database& drawing, ObjectId id);
    // Slots of the entities whose bounding box comes within `reach` of (x, y), each once, in
    // no particular order; a superset of those whose geometry does.
    std::vector<uint32_t> Near(double x, double y, double reach) const;
    // A grid filed afresh from every object of a drawing: for checks, and for a drawing read
    // whole from a file.
    static PickGrid Build(const Database& drawing);
    bool SameCells(const PickGrid& other) const;

  private:
    // A bounding box in single precision, rounded outwards so that it holds the geometry;
    // empty (x0 > x1) for a slot not filed.
    struct Box {
        float x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
        bool Filed() const { return x0 <= x1; }
        friend bool operator==(const Box&, const Box&) = default;
    };
    static Box BoxOf(const Database& drawing, ObjectId id);
    void File(uint32_t slot, const Box& box);
    void Forget(uint32_t slot);
    // The cells a box covers, or false when it covers too many to file (a huge entity is
    // kept in `wide_` and looked at by every pick).
    static bool Cells(const Box& box, std::vector<uint64_t>& cells);

    std::vector<Box> boxes_;  // by slot
    std::unordered_map<uint64_t, std::vector<uint32_t>> cells_;
    std::vector<uint32_t> wide_;
    std::vector<uint64_t> scratch_;  // cells of a box being filed, kept between calls
};

}  // namespace host
