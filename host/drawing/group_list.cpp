// Packing and unpacking of group lists. Each group starts with a tag byte:
//   0 .. 239  the group code itself, then the value;
//   kWide     the code in 2 bytes, then the value;
//   kMarker   a subclass marker (100) by its number in kMarkers, 1 byte;
//   kFlat     a point given in two dimensions: the code in 2 bytes, then x and y;
//   kLevel    a point whose height is exactly +0: the code in 2 bytes, then x and y.
// Values: texts as a variable-length size and the bytes, points 24 bytes, reals 8, 16-bit
// integers 2, 32-bit integers and object ids 4. A group has one packing only, so that equal
// lists have equal bytes.
#include "host/drawing/group_list.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string_view>
#include <vector>

namespace host {

namespace {

constexpr uint8_t kWide = 0xF0;
constexpr uint8_t kMarker = 0xF1;
constexpr uint8_t kFlat = 0xF2;
constexpr uint8_t kLevel = 0xF3;

// The subclass markers the drawing and its files use, kept as a number each: every object
// carries one or two.
constexpr std::string_view kMarkers[] = {
    "AcDbEntity",
    "AcDbLine",
    "AcDbCircle",
    "AcDbArc",
    "AcDbText",
    "AcDbPolyline",
    "AcDbHatch",
    "AcDbPoint",
    "AcDbDictionary",
    "AcDbXrecord",
    "AcDbGroup",
    "AcDbSymbolTable",
    "AcDbSymbolTableRecord",
    "AcDbLayerTableRecord",
    "AcDbLinetypeTableRecord",
    "AcDbTextStyleTableRecord",
    "AcDbRegAppTableRecord",
    "AcDbDimStyleTable",
    "AcDbDimStyleTableRecord",
    "AcDbViewportTableRecord",
    "AcDbViewTableRecord",
    "AcDbUCSTableRecord",
    "AcDbBlockTableRecord",
    "AcDbBlockBegin",
    "AcDbBlockEnd",
    "AcDbPlotSettings",
    "AcDbLayout",
    "AcDbMText",
    "AcDbBlockReference",
    "AcDbAttribute",
    "AcDbAttributeDefinition",
    "AcDbEllipse",
    "AcDbSpline",
    "AcDbDictionaryWithDefault",
};

int MarkerNumber(std::string_view text) {
    // Asked for every marker of every object read: looked for among those of its length.
    constexpr size_t kLongest = 32;
    static_assert(std::all_of(std::begin(kMarkers), std::end(kMarkers),
                              [](std::string_view marker) { return marker.size() <= kLongest; }));
    struct ByLength {
        std::array<std::vector<uint8_t>, kLongest + 1> numbers;
        ByLength() {
            for (size_t i = 0; i < std::size(kMarkers); ++i)
                numbers[kMarkers[i].size()].push_back(static_cast<uint8_t>(i));
        }
    };
    static const ByLength byLength;
    if (text.size() > kLongest)
        return -1;
    // Every marker starts "AcDb": the letter after it sorts out most.
    for (uint8_t number : byLength.numbers[text.size()]) {
        if (kMarkers[number][4] == text[4] && kMarkers[number] == text)
            return number;
    }
    return -1;
}

template <typename T>
T Load(const uint8_t* at) {
    T value;
    std::memcpy(&value, at, sizeof(T));
    return value;
}

bool PositiveZero(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits == 0;
}

}  // namespace

GroupList::Iterator::Iterator(const GroupList* list, size_t at) : list_(list), at_(at) {
    Decode();
}

GroupList::Iterator& GroupList::Iterator::operator++() {
    at_ = next_;
    Decode();
    return *this;
}

void GroupList::Iterator::Decode() {
    const std::vector<uint8_t>& bytes = list_->bytes_;
    if (at_ >= bytes.size()) {
        at_ = bytes.size();
        next_ = at_;
        return;
    }
    const uint8_t* p = bytes.data() + at_;
    current_ = Group{};
    const uint8_t tag = *p++;
    if (tag < kWide) {
        current_.code = tag;
    } else if (tag == kMarker) {
        current_.code = 100;
        current_.kind = ValueKind::Text;
        current_.text = kMarkers[*p++];
        next_ = static_cast<size_t>(p - bytes.data());
        return;
    } else {
        current_.code = Load<int16_t>(p);
        p += 2;
        if (tag == kFlat || tag == kLevel) {
            current_.kind = ValueKind::Point;
            current_.flat = tag == kFlat;
            std::memcpy(current_.point, p, 16);
            next_ = static_cast<size_t>(p + 16 - bytes.data());
            return;
        }
    }
    current_.kind = KindOfGroup(current_.code);
    switch (current_.kind) {
        case ValueKind::Text:
        case ValueKind::Handle:
        case ValueKind::Binary: {
            size_t size = 0;
            int shift = 0;
            while (true) {
                uint8_t byte = *p++;
                size |= static_cast<size_t>(byte & 0x7f) << shift;
                if ((byte & 0x80) == 0)
                    break;
                shift += 7;
            }
            current_.text = std::string_view(reinterpret_cast<const char*>(p), size);
            p += size;
            break;
        }
        case ValueKind::Point:
            std::memcpy(current_.point, p, 24);
            p += 24;
            break;
        case ValueKind::Real:
            current_.real = Load<double>(p);
            p += 8;
            break;
        case ValueKind::Int16:
            current_.integer = Load<int16_t>(p);
            p += 2;
            break;
        case ValueKind::Int32:
            current_.integer = Load<int32_t>(p);
            p += 4;
            break;
        case ValueKind::EntityName:
            current_.id = ObjectId{Load<uint32_t>(p)};
            p += 4;
            break;
        case ValueKind::Invalid:
            // Only Add writes groups, and it refuses invalid codes: a corrupt list.
            std::abort();
    }
    next_ = static_cast<size_t>(p - bytes.data());
}

size_t GroupList::Count() const {
    size_t count = 0;
    for (auto it = begin(); it != end(); ++it)
        ++count;
    return count;
}

void GroupList::PutCode(int code) {
    if (code >= 0 && code < kWide) {
        bytes_.push_back(static_cast<uint8_t>(code));
        return;
    }
    bytes_.push_back(kWide);
    const int16_t value = static_cast<int16_t>(code);
    PutRaw(&value, 2);
}

void GroupList::PutRaw(const void* data, size_t size) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + size);
}

void GroupList::AddText(int code, std::string_view text) {
    if (code == 100) {
        if (const int marker = MarkerNumber(text); marker >= 0) {
            bytes_.push_back(kMarker);
            bytes_.push_back(static_cast<uint8_t>(marker));
            return;
        }
    }
    PutCode(code);
    size_t size = text.size();
    do {
        uint8_t byte = size & 0x7f;
        size >>= 7;
        if (size != 0)
            byte |= 0x80;
        bytes_.push_back(byte);
    } while (size != 0);
    PutRaw(text.data(), text.size());
}

void GroupList::PutPoint(int code, const double point[3], bool flat) {
    if (flat || PositiveZero(point[2])) {
        bytes_.push_back(flat ? kFlat : kLevel);
        const int16_t value = static_cast<int16_t>(code);
        PutRaw(&value, 2);
        PutRaw(point, 16);
        return;
    }
    PutCode(code);
    PutRaw(point, 24);
}

void GroupList::AddPoint(int code, const double point[3]) {
    PutPoint(code, point, false);
}

void GroupList::AddPoint(int code, double x, double y, double z) {
    double point[3] = {x, y, z};
    AddPoint(code, point);
}

void GroupList::AddFlatPoint(int code, double x, double y) {
    const double point[3] = {x, y, 0};
    PutPoint(code, point, true);
}

void GroupList::AddReal(int code, double value) {
    PutCode(code);
    PutRaw(&value, 8);
}

void GroupList::AddInt(int code, int32_t value) {
    PutCode(code);
    if (KindOfGroup(code) == ValueKind::Int16) {
        int16_t narrow = static_cast<int16_t>(value);
        PutRaw(&narrow, 2);
    } else {
        PutRaw(&value, 4);
    }
}

void GroupList::AddId(int code, ObjectId id) {
    PutCode(code);
    PutRaw(&id.value, 4);
}

bool GroupList::Add(const Group& group) {
    switch (KindOfGroup(group.code)) {
        case ValueKind::Text:
        case ValueKind::Handle:
        case ValueKind::Binary:
            AddText(group.code, group.text);
            return true;
        case ValueKind::Point:
            PutPoint(group.code, group.point, group.flat);
            return true;
        case ValueKind::Real:
            AddReal(group.code, group.real);
            return true;
        case ValueKind::Int16:
        case ValueKind::Int32:
            AddInt(group.code, group.integer);
            return true;
        case ValueKind::EntityName:
            AddId(group.code, group.id);
            return true;
        case ValueKind::Invalid:
            break;
    }
    return false;
}

void GroupList::Append(const GroupList& other) {
    AppendRange(other, 0, other.bytes_.size());
}

void GroupList::AppendRange(const GroupList& other, size_t from, size_t to) {
    if (from >= to || to > other.bytes_.size())
        return;
    if (&other == this) {
        std::vector<uint8_t> copy(bytes_.begin() + from, bytes_.begin() + to);
        bytes_.insert(bytes_.end(), copy.begin(), copy.end());
        return;
    }
    bytes_.insert(bytes_.end(), other.bytes_.begin() + from, other.bytes_.begin() + to);
}

void GroupList::EraseRange(size_t from, size_t to) {
    if (from >= to || to > bytes_.size())
        return;
    bytes_.erase(bytes_.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes_.begin() + static_cast<std::ptrdiff_t>(to));
}

bool GroupList::Find(int code, Group& found) const {
    for (const Group& group : *this) {
        if (group.code == code) {
            found = group;
            return true;
        }
    }
    return false;
}

}  // namespace host
