// The type rules of the drawing and the checks of a type's own groups.
#include "host/drawing/object_rules.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace host {
namespace {

constexpr TypeRule kRules[] = {
    {"LINE", Category::Entity, false, "AcDbLine", nullptr, 0},
    {"CIRCLE", Category::Entity, false, "AcDbCircle", nullptr, 0},
    {"ARC", Category::Entity, false, "AcDbCircle", "AcDbArc", 50},
    {"TEXT", Category::Entity, false, "AcDbText", "AcDbText", 73},
    {"LWPOLYLINE", Category::Entity, false, "AcDbPolyline", nullptr, 0},
    {"HATCH", Category::Entity, false, "AcDbHatch", nullptr, 0},
    {"POINT", Category::Entity, false, "AcDbPoint", nullptr, 0},
    {"DICTIONARY", Category::Object, false, "AcDbDictionary", nullptr, 0},
    {"XRECORD", Category::Object, false, "AcDbXrecord", nullptr, 0},
    {"GROUP", Category::Object, false, "AcDbGroup", nullptr, 0},
    {"LAYOUT", Category::Object, true, nullptr, nullptr, 0},
    {"LAYER", Category::TableEntry, false, "AcDbSymbolTableRecord", "AcDbLayerTableRecord", 0},
    {"LTYPE", Category::TableEntry, false, "AcDbSymbolTableRecord", "AcDbLinetypeTableRecord", 0},
    {"STYLE", Category::TableEntry, false, "AcDbSymbolTableRecord", "AcDbTextStyleTableRecord", 0},
    {"APPID", Category::TableEntry, false, "AcDbSymbolTableRecord", "AcDbRegAppTableRecord", 0},
    {"DIMSTYLE", Category::TableEntry, true, "AcDbSymbolTableRecord", "AcDbDimStyleTableRecord", 0},
    {"VPORT", Category::TableEntry, true, "AcDbSymbolTableRecord", "AcDbViewportTableRecord", 0},
    {"VIEW", Category::TableEntry, true, "AcDbSymbolTableRecord", "AcDbViewTableRecord", 0},
    {"UCS", Category::TableEntry, true, "AcDbSymbolTableRecord", "AcDbUCSTableRecord", 0},
    {"BLOCK_RECORD", Category::TableEntry, true, "AcDbSymbolTableRecord", "AcDbBlockTableRecord",
     0},
    {"TABLE", Category::Table, true, nullptr, nullptr, 0},
};

bool Fail(std::string& error, std::string reason) {
    error = std::move(reason);
    return false;
}

using Tally = BodyTally;

// The first (40), a height or a radius, is not negative.
bool NonNegative40(const Tally& tally, const char* what, std::string& error) {
    if (tally.Has(40) && tally.first40 < 0) {
        return Fail(error, std::string("negative ") + what);
    }
    return true;
}

bool Require(const Tally& tally, std::initializer_list<int> codes, std::string_view type,
             std::string& error) {
    for (int code : codes) {
        if (!tally.Has(code)) {
            return Fail(error, std::string(type) + " without group " + std::to_string(code));
        }
    }
    return true;
}

bool ValidateHatch(const GroupList& body, std::string& error) {
    // A polyline boundary path (92 with bit 2) gives its vertex count in 93 and then that many
    // vertices (10, optional 42).
    bool polylinePath = false;
    int expected = -1;
    int seen = 0;
    auto close = [&]() {
        if (expected >= 0 && seen != expected)
            return false;
        expected = -1;
        return true;
    };
    for (const Group& group : body) {
        if (expected >= 0) {
            if (group.code == 10) {
                ++seen;
                continue;
            }
            if (group.code == 42)
                continue;
            if (!close())
                return Fail(error, "HATCH boundary vertex count does not match 93");
        }
        if (group.code == 92)
            polylinePath = (group.integer & 2) != 0;
        if (group.code == 93 && polylinePath) {
            if (group.integer < 0)
                return Fail(error, "HATCH negative vertex count");
            expected = group.integer;
            seen = 0;
        }
    }
    if (!close())
        return Fail(error, "HATCH boundary vertex count does not match 93");
    return true;
}

bool ValidateDictionary(const GroupList& body, std::string& error) {
    // Keys are compared in ASCII upper case, sorted: the group dictionary of a large drawing
    // holds tens of thousands of keys, and comparing each with every other took seconds. (A
    // hash set kept between calls cost more: once grown by one large dictionary, clearing it
    // for each of the many small ones swept all its buckets.)
    // Most dictionaries (every extension dictionary) hold one key: no list for them.
    std::vector<std::string> keys;
    std::string_view firstKey;
    int keyCount = 0;
    bool wantObject = false;
    for (const Group& group : body) {
        if (wantObject) {
            if (group.code != 350 && group.code != 360) {
                return Fail(error, "DICTIONARY key without object");
            }
            if (!group.id)
                return Fail(error, "DICTIONARY entry names no object");
            wantObject = false;
            continue;
        }
        if (group.code == 3) {
            if (++keyCount == 1) {
                firstKey = group.text;
            } else {
                if (keys.empty())
                    keys.push_back(UpperAscii(firstKey));
                keys.push_back(UpperAscii(group.text));
            }
            wantObject = true;
        } else if (group.code == 350 || group.code == 360) {
            return Fail(error, "DICTIONARY object without key");
        }
    }
    if (wantObject)
        return Fail(error, "DICTIONARY key without object");
    std::sort(keys.begin(), keys.end());
    if (std::adjacent_find(keys.begin(), keys.end()) != keys.end())
        return Fail(error, "DICTIONARY key used twice");
    return true;
}

}  // namespace

const TypeRule* FindTypeRule(std::string_view upperName) {
    // Asked for every object a file holds: the first letter and the length sort out most.
    for (const TypeRule& rule : kRules) {
        if (rule.name.size() == upperName.size() && rule.name.front() == upperName.front() &&
            rule.name == upperName) {
            return &rule;
        }
    }
    return nullptr;
}

bool IsCommonEntityCode(int code) {
    switch (code) {
        case 6:
        case 62:
        case 48:
        case 60:
        case 370:
        case 420:
        case 430:
        case 440:
        case 390:
        case 284:
        case 347:
        case 348:
            return true;
        default:
            return false;
    }
}

void BodyTally::Add(const Group& group) {
    if (group.code < 0 || group.code >= 100 || count[group.code]++ != 0)
        return;
    if (group.code == 2)
        first2 = group.text;
    else if (group.code == 40)
        first40 = group.real;
    else if (group.code == 90)
        first90 = group.integer;
}

bool ValidateBody(const TypeRule& rule, const GroupList& body, std::string& error) {
    Tally tally;
    for (const Group& group : body)
        tally.Add(group);
    return ValidateBody(rule, body, tally, error);
}

bool ValidateBody(const TypeRule& rule, const GroupList& body, const BodyTally& tally,
                  std::string& error) {
    const std::string_view type = rule.name;
    if (rule.category == Category::TableEntry || rule.category == Category::Table) {
        if (!tally.Has(2) || tally.first2.empty()) {
            return Fail(error, std::string(type) + " without a name (group 2)");
        }
        if (type == "STYLE" && !NonNegative40(tally, "text height", error))
            return false;
        return true;
    }
    if (type == "LINE")
        return Require(tally, {10, 11}, type, error);
    if (type == "POINT")
        return Require(tally, {10}, type, error);
    if (type == "CIRCLE") {
        return Require(tally, {10, 40}, type, error) && NonNegative40(tally, "radius", error);
    }
    if (type == "ARC") {
        return Require(tally, {10, 40, 50, 51}, type, error) &&
               NonNegative40(tally, "radius", error);
    }
    if (type == "TEXT") {
        return Require(tally, {10, 40, 1}, type, error) &&
               NonNegative40(tally, "text height", error);
    }
    if (type == "LWPOLYLINE") {
        if (tally.count[10] < 2)
            return Fail(error, "LWPOLYLINE with fewer than 2 vertices");
        if (tally.Has(90) && tally.first90 != tally.count[10]) {
            return Fail(error, "LWPOLYLINE vertex count (90) does not match its vertices");
        }
        return true;
    }
    if (type == "HATCH")
        return Require(tally, {2, 91}, type, error) && ValidateHatch(body, error);
    if (type == "DICTIONARY")
        return ValidateDictionary(body, error);
    return true;
}

bool IsCanonicalPolyline(const GroupList& body) {
    // The stages of the one order, each a run of groups.
    enum Stage { Common, Markers, Header, Vertices, Normal, Rest } stage = Common;
    constexpr int kHeader[] = {90, 70, 43, 38, 39};
    int header = 0;
    int perVertex = -1;  // groups seen after the vertex's (10): 40, 41, 42 then an id
    for (const Group& group : body) {
        const int code = group.code;
        switch (stage) {
            case Common:
                if (IsCommonEntityCode(code))
                    continue;
                stage = Markers;
                [[fallthrough]];
            case Markers:
                if (code == 100)
                    continue;
                stage = Header;
                [[fallthrough]];
            case Header:
                if (header < 5) {
                    if (code != kHeader[header])
                        return false;
                    ++header;
                    continue;
                }
                stage = Vertices;
                [[fallthrough]];
            case Vertices:
                if (code == 10) {
                    if (perVertex >= 0 && perVertex < 3)
                        return false;
                    perVertex = 0;
                    continue;
                }
                if (perVertex >= 0 && perVertex < 3 && code == 40 + perVertex) {
                    ++perVertex;
                    continue;
                }
                if (perVertex == 3 && code == 91) {
                    perVertex = 4;
                    continue;
                }
                if (perVertex >= 0 && perVertex < 3)
                    return false;
                if (code != 210)
                    return false;
                stage = Normal;
                continue;
            case Normal:
            case Rest:
                // After the normal: nothing that the order places elsewhere.
                if (code == 10 || code == 210 || code == 100 || IsCommonEntityCode(code) ||
                    (code >= 40 && code <= 43) || code == 90 || code == 91 || code == 70 ||
                    code == 38 || code == 39) {
                    return false;
                }
                stage = Rest;
                continue;
        }
    }
    return stage == Normal || stage == Rest;
}

bool CanonicalPolyline(const GroupList& body, GroupList& out, std::string& error) {
    // Header groups in canonical order, and the per-vertex groups after (10).
    constexpr int kHeader[] = {90, 70, 43, 38, 39};
    constexpr int kPerVertex[] = {40, 41, 42, 91};
    struct Vertex {
        Group point;
        std::optional<Group> extra[4];
    };
    std::optional<Group> header[5];
    std::optional<Group> normal;
    std::vector<Vertex> vertices;
    GroupList common, markers, rest;
    auto slot = [](const int* codes, int size, int code) {
        for (int i = 0; i < size; ++i) {
            if (codes[i] == code)
                return i;
        }
        return -1;
    };
    auto twice = [&](int code) {
        return Fail(error, "LWPOLYLINE with group " + std::to_string(code) + " twice");
    };
    for (const Group& group : body) {
        if (IsCommonEntityCode(group.code)) {
            common.Add(group);
        } else if (group.code == 100) {
            markers.Add(group);
        } else if (int h = slot(kHeader, 5, group.code); h >= 0) {
            if (header[h])
                return twice(group.code);
            header[h] = group;
        } else if (group.code == 10) {
            vertices.push_back(Vertex{group, {}});
        } else if (int v = slot(kPerVertex, 4, group.code); v >= 0) {
            if (vertices.empty()) {
                return Fail(error, "LWPOLYLINE group " + std::to_string(group.code) +
                                       " before its first vertex");
            }
            if (vertices.back().extra[v])
                return twice(group.code);
            vertices.back().extra[v] = group;
        } else if (group.code == 210) {
            if (normal)
                return twice(group.code);
            normal = group;
        } else {
            rest.Add(group);
        }
    }
    out.Clear();
    out.Append(common);
    out.Append(markers);
    if (header[0])
        out.Add(*header[0]);
    else
        out.AddInt(90, static_cast<int32_t>(vertices.size()));
    if (header[1])
        out.Add(*header[1]);
    else
        out.AddInt(70, 0);
    for (int h = 2; h < 5; ++h) {
        if (header[h])
            out.Add(*header[h]);
        else
            out.AddReal(kHeader[h], 0.0);
    }
    for (const Vertex& vertex : vertices) {
        out.Add(vertex.point);
        for (int v = 0; v < 3; ++v) {
            if (vertex.extra[v])
                out.Add(*vertex.extra[v]);
            else
                out.AddReal(kPerVertex[v], 0.0);
        }
        // The vertex id is kept behind the bulge, where readers that end a vertex at its
        // bulge step over it.
        if (vertex.extra[3])
            out.Add(*vertex.extra[3]);
    }
    if (normal)
        out.Add(*normal);
    else
        out.AddPoint(210, 0.0, 0.0, 1.0);
    out.Append(rest);
    return true;
}

GroupList WithSubclassMarkers(const TypeRule& rule, GroupList body) {
    if (rule.marker1 == nullptr)
        return body;
    for (const Group& group : body) {
        if (group.code == 100)
            return body;
    }
    GroupList out;
    auto it = body.begin();
    if (rule.category == Category::Entity) {
        while (it != body.end() && IsCommonEntityCode(it->code)) {
            out.Add(*it);
            ++it;
        }
    }
    out.AddText(100, rule.marker1);
    bool secondDone = rule.marker2 == nullptr;
    if (!secondDone && rule.secondBefore == 0) {
        out.AddText(100, rule.marker2);
        secondDone = true;
    }
    for (; it != body.end(); ++it) {
        if (!secondDone && it->code == rule.secondBefore) {
            out.AddText(100, rule.marker2);
            secondDone = true;
        }
        out.Add(*it);
    }
    if (!secondDone)
        out.AddText(100, rule.marker2);
    return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace host
