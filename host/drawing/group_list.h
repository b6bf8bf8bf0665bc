// A compact, ordered list of DXF groups: the form in which the drawing keeps every object.
// Each group is its code followed by its value packed by the kind the code carries, so an
// entity costs a few bytes a group instead of a tagged union with a string per group; what
// repeats from object to object is kept shorter still (codes below 240 in one byte, the
// subclass markers as a number, points in the plane without their zero height; see
// group_list.cpp). A point given in two dimensions keeps that: it reads back flat.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/drawing/group_codes.h"

namespace host {

// An object of a drawing, by its slot; 0 is "none". Distinct from handles and set ids so
// the compiler catches one passed for the other.
struct ObjectId {
    uint32_t value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(ObjectId, ObjectId) = default;
    friend auto operator<=>(ObjectId, ObjectId) = default;
};

// One decoded group. Only the fields of its kind are meaningful; `text` points into the
// list it was read from and lives as long as that list is unchanged.
struct Group {
    int code = 0;
    ValueKind kind = ValueKind::Invalid;
    std::string_view text;        // Text, Handle, Binary
    double point[3] = {0, 0, 0};  // Point
    bool flat = false;            // Point: a file gave only x and y, and gets only them back
    double real = 0;              // Real
    int32_t integer = 0;          // Int16, Int32
    ObjectId id;                  // EntityName
};

class GroupList {
  public:
    class Iterator {
      public:
        const Group& operator*() const { return current_; }
        const Group* operator->() const { return &current_; }
        Iterator& operator++();
        friend bool operator==(const Iterator& a, const Iterator& b) { return a.at_ == b.at_; }
        // Offset of the current group in the list's bytes, for splitting a list.
        size_t Offset() const { return at_; }
        size_t NextOffset() const { return next_; }

      private:
        friend class GroupList;
        Iterator(const GroupList* list, size_t at);
        void Decode();
        const GroupList* list_ = nullptr;
        size_t at_ = 0;
        size_t next_ = 0;
        Group current_;
    };

    Iterator begin() const { return Iterator(this, 0); }
    Iterator end() const { return Iterator(this, bytes_.size()); }
    bool empty() const { return bytes_.empty(); }
    size_t ByteSize() const { return bytes_.size(); }
    size_t Count() const;

    // The appenders trust the caller to pass a code of the matching kind; Add checks it.
    void AddText(int code, std::string_view text);
    void AddPoint(int code, const double point[3]);
    void AddPoint(int code, double x, double y, double z);
    void AddFlatPoint(int code, double x, double y);
    void AddReal(int code, double value);
    void AddInt(int code, int32_t value);
    void AddId(int code, ObjectId id);
    // Appends a group of any kind; false (and nothing appended) when the code is invalid.
    bool Add(const Group& group);
    // Appends the groups of another list, or those in [from, to) byte offsets of it.
    void Append(const GroupList& other);
    void AppendRange(const GroupList& other, size_t from, size_t to);
    // Takes out the groups in [from, to) byte offsets (group boundaries).
    void EraseRange(size_t from, size_t to);

    // The first group with the code, or null.
    bool Find(int code, Group& found) const;

    void Clear() { bytes_.clear(); }
    void Reserve(size_t bytes) { bytes_.reserve(bytes); }
    void Compact() { bytes_.shrink_to_fit(); }
    friend bool operator==(const GroupList&, const GroupList&) = default;

  private:
    void PutCode(int code);
    void PutPoint(int code, const double point[3], bool flat);
    void PutRaw(const void* data, size_t size);
    std::vector<uint8_t> bytes_;
};

}  // namespace host
