// The handle map (see handle_map.h). The table probes linearly, and a taken-out handle closes
// its gap by moving later handles of its run back, so that no place is ever marked deleted.
#include "host/drawing/handle_map.h"

#include <algorithm>

namespace host {

namespace {

// The array holds at most four places per handle kept, and some to start with.
size_t DenseBound(size_t handles) {
    return 4 * handles + 4096;
}

}  // namespace

size_t HandleMap::Home(uint64_t handle) const {
    // Multiplied, the high bits of handles that follow one another spread evenly.
    return static_cast<size_t>((handle * 0x9E3779B97F4A7C15ull) >> (64 - bits_));
}

uint32_t HandleMap::Find(uint64_t handle) const {
    if (handle < dense_.size())
        return dense_[handle];
    if (hashed_ == 0)
        return 0;
    const size_t mask = keys_.size() - 1;
    for (size_t i = Home(handle);; i = (i + 1) & mask) {
        if (keys_[i] == handle)
            return slots_[i];
        if (keys_[i] == 0)
            return 0;
    }
}

void HandleMap::Put(uint64_t handle, uint32_t slot) {
    if (handle == 0 || slot == 0)
        return;
    if (handle >= dense_.size() && handle < DenseBound(size_ + 1)) {
        GrowDense(std::min<size_t>(DenseBound(size_ + 1),
                                   std::max<size_t>(2 * dense_.size(), handle + 1)));
    }
    if (handle < dense_.size()) {
        size_ += dense_[handle] == 0 ? 1 : 0;
        dense_[handle] = slot;
        return;
    }
    PutHashed(handle, slot);
}

void HandleMap::PutHashed(uint64_t handle, uint32_t slot) {
    if ((hashed_ + 1) * 3 > keys_.size() * 2)
        GrowTable(keys_.empty() ? 16 : keys_.size() * 2);
    const size_t mask = keys_.size() - 1;
    for (size_t i = Home(handle);; i = (i + 1) & mask) {
        if (keys_[i] == handle) {
            slots_[i] = slot;
            return;
        }
        if (keys_[i] == 0) {
            keys_[i] = handle;
            slots_[i] = slot;
            ++hashed_;
            ++size_;
            return;
        }
    }
}

void HandleMap::Erase(uint64_t handle) {
    if (handle < dense_.size()) {
        size_ -= dense_[handle] != 0 ? 1 : 0;
        dense_[handle] = 0;
        return;
    }
    if (hashed_ == 0)
        return;
    const size_t mask = keys_.size() - 1;
    size_t gap = Home(handle);
    while (keys_[gap] != handle) {
        if (keys_[gap] == 0)
            return;
        gap = (gap + 1) & mask;
    }
    // A later handle of the run moves into the gap when its home is not between the gap and
    // its place: otherwise a lookup from its home would stop at the gap.
    for (size_t i = (gap + 1) & mask; keys_[i] != 0; i = (i + 1) & mask) {
        const size_t home = Home(keys_[i]);
        const bool between = gap <= i ? (gap < home && home <= i) : (gap < home || home <= i);
        if (!between) {
            keys_[gap] = keys_[i];
            slots_[gap] = slots_[i];
            gap = i;
        }
    }
    keys_[gap] = 0;
    slots_[gap] = 0;
    --hashed_;
    --size_;
}

void HandleMap::Reserve(size_t count) {
    // Only room: the array is filled as handles come.
    dense_.reserve(std::min(DenseBound(count), count + count / 4 + 4096));
}

void HandleMap::GrowDense(size_t bound) {
    dense_.resize(bound, 0);
    if (hashed_ == 0)
        return;
    std::vector<uint64_t> keys;
    std::vector<uint32_t> slots;
    keys.swap(keys_);
    slots.swap(slots_);
    size_ -= hashed_;
    hashed_ = 0;
    GrowTable(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == 0)
            continue;
        if (keys[i] < dense_.size()) {
            dense_[keys[i]] = slots[i];
            ++size_;
        } else {
            PutHashed(keys[i], slots[i]);
        }
    }
}

void HandleMap::GrowTable(size_t capacity) {
    std::vector<uint64_t> keys(capacity, 0);
    std::vector<uint32_t> slots(capacity, 0);
    keys.swap(keys_);
    slots.swap(slots_);
    bits_ = 0;
    while ((size_t{1} << bits_) < capacity)
        ++bits_;
    size_ -= hashed_;
    hashed_ = 0;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] != 0)
            PutHashed(keys[i], slots[i]);
    }
}

}  // namespace host
