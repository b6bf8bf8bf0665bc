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

}  // namespace

bool PickGrid::Cells(const Box& box, std::vector<uint64_t>& cells) {
    cells.clear();
    if (!std::isfinite(box.x0) || !std::isfinite(box.y0) || !std::isfinite(box.x1) ||
        !std::isfinite(box.y1) || std::fabs(box.x0) > 1e15 || std::fabs(box.y0) > 1e15 ||
        std::fabs(box.x1) > 1e15 || std::fabs(box.y1) > 1e15) {
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
    auto found = boxes_.find(slot);
    if (found == boxes_.end())
        return;
    std::vector<uint64_t> cells;
    if (Cells(found->second, cells)) {
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
    boxes_.erase(found);
}

void PickGrid::Changed(const Database& drawing, ObjectId id) {
    Forget(id.value);
    const Object* object = drawing.Find(id);
    if (!object || object->category != Category::Entity || object->state == ObjectState::Absent)
        return;
    const std::vector<Piece> pieces = EntityPieces(drawing, *object);
    if (pieces.empty())
        return;
    Box box{INFINITY, INFINITY, -INFINITY, -INFINITY};
    auto take = [&box](Vec2 p) {
        box.x0 = std::fmin(box.x0, p.x);
        box.y0 = std::fmin(box.y0, p.y);
        box.x1 = std::fmax(box.x1, p.x);
        box.y1 = std::fmax(box.y1, p.y);
    };
    for (const Piece& piece : pieces) {
        take(piece.a);
        take(piece.b);
        if (piece.kind == Piece::Kind::Arc) {
            // The whole circle: an arc lies within it.
            take({piece.centre.x - piece.radius, piece.centre.y - piece.radius});
            take({piece.centre.x + piece.radius, piece.centre.y + piece.radius});
        }
    }
    std::vector<uint64_t> cells;
    if (Cells(box, cells)) {
        for (uint64_t key : cells)
            cells_[key].push_back(id.value);
    } else {
        wide_.push_back(id.value);
    }
    boxes_.emplace(id.value, box);
}

std::vector<uint32_t> PickGrid::Near(double x, double y, double reach) const {
    std::vector<uint32_t> found = wide_;
    const Box around{x - reach, y - reach, x + reach, y + reach};
    std::vector<uint64_t> cells;
    if (!Cells(around, cells)) {
        // A reach wider than the grid is worth: every filed entity.
        for (const auto& [slot, box] : boxes_)
            found.push_back(slot);
        return found;
    }
    for (uint64_t key : cells) {
        auto cell = cells_.find(key);
        if (cell == cells_.end())
            continue;
        for (uint32_t slot : cell->second) {
            const Box& box = boxes_.at(slot);
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
    for (uint32_t slot = 1; slot < drawing.SlotCount(); ++slot)
        grid.Changed(drawing, ObjectId{slot});
    return grid;
}

}  // namespace host
