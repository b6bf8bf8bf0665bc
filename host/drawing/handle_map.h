// The drawing's handles to slots. Handles are mostly consecutive numbers from 1 up (a drawing
// gives them out in turn, and files keep them): those below a bound are kept in an array by
// their value, 4 bytes a handle, where neighbours share a cache line; the bound grows with the
// handles kept so that the array stays at least a quarter full. Any other handle goes to a
// flat table of open addressing. A node-based map cost about 40 bytes an object, and a cache
// miss for every lookup.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace host {

class HandleMap {
  public:
    // The slot filed under a handle (not 0), or 0.
    uint32_t Find(uint64_t handle) const;
    // Files a slot (not 0) under a handle (not 0), replacing the slot filed there before.
    void Put(uint64_t handle, uint32_t slot);
    // Takes the handle out.
    void Erase(uint64_t handle);
    size_t Size() const { return size_; }
    // Room for about `count` handles.
    void Reserve(size_t count);
    // Calls f(handle, slot) for every handle filed, in no particular order.
    template <class F>
    void ForEach(F f) const {
        for (size_t i = 0; i < dense_.size(); ++i) {
            if (dense_[i] != 0)
                f(uint64_t{i}, dense_[i]);
        }
        for (size_t i = 0; i < keys_.size(); ++i) {
            if (keys_[i] != 0)
                f(keys_[i], slots_[i]);
        }
    }

  private:
    size_t Home(uint64_t handle) const;
    void GrowTable(size_t capacity);
    // Widens the array to `bound` handles, moving those of the table below it in.
    void GrowDense(size_t bound);
    void PutHashed(uint64_t handle, uint32_t slot);

    std::vector<uint32_t> dense_;  // slot by handle below dense_.size(); 0: none
    std::vector<uint64_t> keys_;   // the table: 0 is a free place
    std::vector<uint32_t> slots_;
    size_t hashed_ = 0;  // handles in the table
    size_t size_ = 0;    // handles in all
    int bits_ = 0;       // the table's capacity is 2^bits_
};

}  // namespace host
