// The grid of entity bounding boxes that picking looks in (see pick_grid.h).
#include "host/drawing/pick_grid.h"

#include <algorithm>
#include <cmath>

#include "host/drawing/database.h"
#include "host/drawing/entity_geometry.h"

namespace host {

namespace {

// Cells of 64 drawing units: a bar's texts and leaders fall in a few; a pick aperture of a
// few units looks in one to four.
constexpr double kCell = 64.0;
constexpr long kMostCells = 256;

int64_t CellIndex(double v) {
    return static_cast<int64_t>(std::floor(v / kCell));
}

uint64_t Key(int64_t ix, int64_t iy) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(ix)) << 32) | static_cast<uint32_t>(iy);
}

void RemoveOne(std::vector<uint32_t>& items, uint32_t item) {
    auto it = std::find(items.begin(), items.end(), item);
    if (it != items.end()) {
        *it = items.back();
        items.pop_back();
    }
}

// Single precision halves the memory of the boxes; rounding outwards keeps each box around
// its geometry, so that what is near is still found.
float Down(double v) {
    const float f = static_cast<float>(v);
    return static_cast<double>(f) > v ? std::nextafter(f, -INFINITY) : f;
}

float Up(double v) {
    const float f = static_cast<float>(v);
    return static_cast<double>(f) < v ? std::nextafter(f, INFINITY) : f;
}

}  // namespace

bool PickGrid::Cells(const Box& box, std::vector<uint64_t>& cells) {
    cells.clear();
    if (!std::isfinite(box.x0) || !std::isfinite(box.y0) || !std::isfinite(box.x1) ||
        !std::isfinite(box.y1) || std::fabs(box.x0) > 1e15f || std::fabs(box.y0) > 1e15f ||
        std::fabs(box.x1) > 1e15f || std::fabs(box.y1) > 1e15f) {
        return false;
    }
    const int64_t ix0 = CellIndex(box.x0), ix1 = CellIndex(box.x1);
    const int64_t iy0 = CellIndex(box.y0), iy1 = CellIndex(box.y1);
    if ((ix1 - ix0 + 1) * (iy1 - iy0 + 1) > kMostCells)
        return false;
    for (int64_t ix = ix0; ix <= ix1; ++ix) {
        for (int64_t iy = iy0; iy <= iy1; ++iy)
            cells.push_back(Key(ix, iy));
    }
    return true;
}

void PickGrid::Forget(uint32_t slot) {
    if (slot >= boxes_.size() || !boxes_[slot].Filed())
        return;
    std::vector<uint64_t>& cells = scratch_;
    if (Cells(boxes_[slot], cells)) {
        for (uint64_t key : cells) {
            auto cell = cells_.find(key);
            if (cell == cells_.end())
                continue;
            RemoveOne(cell->second, slot);
            if (cell->second.empty())
                cells_.erase(cell);
        }
    } else {
        RemoveOne(wide_, slot);
    }
    boxes_[slot] = Box{};
}

PickGrid::Box PickGrid::BoxOf(const Database& drawing, ObjectId id) {
    Box box;
    const Object* object = drawing.Find(id);
    if (!object || object->category != Category::Entity || object->state == ObjectState::Absent)
        return box;
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
    auto take = [&](Vec2 p) {
        x0 = std::fmin(x0, p.x);
        y0 = std::fmin(y0, p.y);
        x1 = std::fmax(x1, p.x);
        y1 = std::fmax(y1, p.y);
    };
    const std::vector<Piece> pieces = EntityPieces(drawing, *object);
    for (const Piece& piece : pieces) {
        take(piece.a);
        take(piece.b);
        if (piece.kind == Piece::Kind::Arc) {
            // The whole circle: an arc lies within it.
            take({piece.centre.x - piece.radius, piece.centre.y - piece.radius});
            take({piece.centre.x + piece.radius, piece.centre.y + piece.radius});
        }
    }
    if (pieces.empty())
        return box;
    // NaN coordinates give an empty box: filed with the wide ones, looked at by every pick.
    box = Box{Down(x0), Down(y0), Up(x1), Up(y1)};
    if (!box.Filed())
        box = Box{-INFINITY, -INFINITY, INFINITY, INFINITY};
    return box;
}

void PickGrid::File(uint32_t slot, const Box& box) {
    if (!box.Filed())
        return;
    if (slot >= boxes_.size())
        boxes_.resize(slot + 1);
    boxes_[slot] = box;
    std::vector<uint64_t>& cells = scratch_;
    if (Cells(box, cells)) {
        for (uint64_t key : cells)
            cells_[key].push_back(slot);
    } else {
        wide_.push_back(slot);
    }
}

void PickGrid::Changed(const Database& drawing, ObjectId id) {
    Forget(id.value);
    File(id.value, BoxOf(drawing, id));
}

std::vector<uint32_t> PickGrid::Near(double x, double y, double reach) const {
    std::vector<uint32_t> found;
    const Box around{Down(x - reach), Down(y - reach), Up(x + reach), Up(y + reach)};
    std::vector<uint64_t> cells;
    if (!Cells(around, cells)) {
        // A reach wider than the grid is worth: every filed entity.
        for (uint32_t slot = 0; slot < boxes_.size(); ++slot) {
            if (boxes_[slot].Filed())
                found.push_back(slot);
        }
        return found;
    }
    found = wide_;
    for (uint64_t key : cells) {
        auto cell = cells_.find(key);
        if (cell == cells_.end())
            continue;
        for (uint32_t slot : cell->second) {
            const Box& box = boxes_[slot];
            if (box.x0 <= around.x1 && box.x1 >= around.x0 && box.y0 <= around.y1 &&
                box.y1 >= around.y0) {
                found.push_back(slot);
            }
        }
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

PickGrid PickGrid::Build(const Database& drawing) {
    PickGrid grid;
    grid.boxes_.resize(drawing.SlotCount());
    grid.cells_.reserve(drawing.EntityOrder().size());
    for (uint32_t slot = 1; slot < drawing.SlotCount(); ++slot)
        grid.File(slot, BoxOf(drawing, ObjectId{slot}));
    return grid;
}

bool PickGrid::SameCells(const PickGrid& other) const {
    // Slots past the end of either are not filed.
    const size_t common = std::min(boxes_.size(), other.boxes_.size());
    auto filedFrom = [common](const std::vector<Box>& boxes) {
        return std::any_of(boxes.begin() + static_cast<std::ptrdiff_t>(common), boxes.end(),
                           [](const Box& box) { return box.Filed(); });
    };
    return std::equal(boxes_.begin(), boxes_.begin() + static_cast<std::ptrdiff_t>(common),
                      other.boxes_.begin()) &&
           !filedFrom(boxes_) && !filedFrom(other.boxes_);
}

}  // namespace host
