// Where the entities lie, by square cells of the plane, so that a pick looks only at the
// entities near the point instead of measuring every entity of the drawing.
#pragma once

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
    // A grid filed afresh from every object of a drawing, for checks.
    static PickGrid Build(const Database& drawing);
    bool SameCells(const PickGrid& other) const { return boxes_ == other.boxes_; }

  private:
    struct Box {
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        friend bool operator==(const Box&, const Box&) = default;
    };
    void Forget(uint32_t slot);
    // The cells a box covers, or false when it covers too many to file (a huge entity is
    // kept in `wide_` and looked at by every pick).
    static bool Cells(const Box& box, std::vector<uint64_t>& cells);

    std::unordered_map<uint32_t, Box> boxes_;
    std::unordered_map<uint64_t, std::vector<uint32_t>> cells_;
    std::vector<uint32_t> wide_;
};

}  // namespace host
