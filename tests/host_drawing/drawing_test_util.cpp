// Helpers of the drawing-core tests.
#include "drawing_test_util.h"

#include <cstdio>
#include <sstream>

#include "host/drawing/document.h"

namespace host_test {

void DrawingTest::SetUp() {
    host::NewDrawing();
    liveAtStart_ = host::LiveResbufCount();
}

void DrawingTest::TearDown() {
    EXPECT_EQ(host::LiveResbufCount(), liveAtStart_) << "a result-buffer list was not released";
}

namespace {

std::string Reference(const host::Database& drawing, host::ObjectId id) {
    const host::Object* object = drawing.Find(id);
    if (!id)
        return "none";
    return object ? "#" + object->handle.ToText() : "absent" + std::to_string(id.value);
}

}  // namespace

std::string GroupText(const host::Group& group, const host::Database* drawing) {
    std::ostringstream out;
    out.precision(17);
    out << "(" << group.code << " ";
    switch (group.kind) {
        case host::ValueKind::Point:
            out << group.point[0] << "," << group.point[1] << "," << group.point[2];
            break;
        case host::ValueKind::Real: out << group.real; break;
        case host::ValueKind::Int16:
        case host::ValueKind::Int32: out << group.integer; break;
        case host::ValueKind::EntityName:
            out << (drawing ? Reference(*drawing, group.id) : "@" + std::to_string(group.id.value));
            break;
        default: out << group.text;
    }
    return out.str() + ")";
}

std::string ObjectText(const host::Database& drawing, host::ObjectId id) {
    std::string out;
    for (const host::Group& group : drawing.FullList(id)) {
        if (group.code != -1)
            out += GroupText(group, &drawing);
    }
    return out;
}

std::string Dump() {
    const host::Database& drawing = host::CurrentDrawing();
    std::string out = "seed " + drawing.HandleSeed().ToText() + " last " +
                      Reference(drawing, drawing.LastEntity()) + "\n";
    for (uint32_t slot = 1; slot < drawing.SlotCount(); ++slot) {
        const host::Object* object = drawing.Find(host::ObjectId{slot});
        if (object) {
            out += (object->state == host::ObjectState::Erased ? "erased " : "live ") +
                   ObjectText(drawing, host::ObjectId{slot}) + "\n";
        }
    }
    return out;
}

namespace {

resbuf* Tail(resbuf* list) {
    while (list->rbnext != nullptr)
        list = list->rbnext;
    return list;
}

// Makes the entity from the list and releases the list.
int MakeFrom(resbuf* list) {
    int status = sds_entmake(list);
    sds_relrb(list);
    return status;
}

}  // namespace

int MakeLine(double x1, double y1, double x2, double y2, const char* layer) {
    sds_point a = {x1, y1, 0}, b = {x2, y2, 0};
    return MakeFrom(sds_buildlist(RTDXF0, "line", 8, layer, 6, "CONTINUOUS", 62, 256, 48, 1.0, 10,
                                  a, 11, b, RTNONE));
}

int MakeCircle(double x, double y, double radius, const char* layer) {
    sds_point c = {x, y, 0};
    return MakeFrom(sds_buildlist(RTDXF0, "circle", 8, layer, 6, "CONTINUOUS", 62, 256, 48, 1.0, 10,
                                  c, 40, radius, RTNONE));
}

int MakeText(const char* text, double x, double y, double height, int horizontal, int vertical) {
    sds_point p = {x, y, 0};
    return MakeFrom(sds_buildlist(RTDXF0, "text", 8, "Opisy prętów", 62, 256, 10, p, 40, height, 1,
                                  text, 50, 0.0, 7, "STANDARD", 71, 0, 72, horizontal, 11, p, 73,
                                  vertical, RTNONE));
}

int MakePolyline(const double (*points)[2], int count, const double* bulges) {
    resbuf* list =
        sds_buildlist(RTDXF0, "LWPOLYLINE", 8, "Zbrojenie", 6, "CONTINUOUS", 62, 256, 90,
                      static_cast<long>(count), 70, 0, 43, 0.0, 38, 0.0, 39, 0.0, RTNONE);
    for (int i = 0; i < count; ++i) {
        sds_point p = {points[i][0], points[i][1], 0};
        Tail(list)->rbnext =
            sds_buildlist(10, p, 40, 0.0, 41, 0.0, 42, bulges ? bulges[i] : 0.0, RTNONE);
    }
    sds_point normal = {0, 0, 1};
    Tail(list)->rbnext = sds_buildlist(210, normal, RTNONE);
    return MakeFrom(list);
}

int MakeDisc(double x, double y, double radius) {
    sds_point last = {x - radius, y, 0}, first = {x + radius, y, 0};
    return MakeFrom(sds_buildlist(RTDXF0, "HATCH", 8, "0", 62, 256, 10, last, 2, "SOLID", 70, 1, 71,
                                  0, 91, 1L, 92, 7L, 72, 1, 73, 1, 93, 2L, 10, first, 42, 1.0, 10,
                                  last, 42, 1.0, 97, 0L, 75, 0, 76, 1, 47, 0.0, 98, 1L, 10, last,
                                  RTNONE));
}

int MakeDictionary(sds_name result) {
    resbuf* list = sds_buildlist(RTDXF0, "DICTIONARY", 100, "AcDbDictionary", RTNONE);
    int status = sds_entmakex(list, result);
    sds_relrb(list);
    return status;
}

int MakeBarRecord(const char* tag, int number, sds_name result) {
    resbuf* list = sds_buildlist(RTDXF0, "XRECORD", 100, "AcDbXrecord", 1, tag, 70, 1, 140, 1.2, 70,
                                 0, 70, number, 70, 7, 70, 1, 70, 0, RTNONE);
    int status = sds_entmakex(list, result);
    sds_relrb(list);
    return status;
}

int AttachExtensionDictionary(const sds_name entity, sds_name dictionary) {
    int status = MakeDictionary(dictionary);
    if (status != RTNORM)
        return status;
    resbuf* list = sds_entget(entity);
    if (list == nullptr)
        return RTERROR;
    resbuf* before = list;
    while (before->rbnext != nullptr && before->rbnext->restype != 67)
        before = before->rbnext;
    if (before->rbnext == nullptr) {
        sds_relrb(list);
        return RTERROR;
    }
    resbuf* groups = sds_buildlist(102, "{ACAD_XDICTIONARY", 360, dictionary, 102, "}", RTNONE);
    Tail(groups)->rbnext = before->rbnext;
    before->rbnext = groups;
    status = sds_entmod(list);
    sds_relrb(list);
    return status;
}

int MakeMarkedBar(const double (*points)[2], int count, const double* bulges, int number,
                  sds_name bar) {
    sds_name dictionary, record;
    int status = MakePolyline(points, count, bulges);
    if (status == RTNORM)
        status = sds_entlast(bar);
    if (status == RTNORM)
        status = AttachExtensionDictionary(bar, dictionary);
    if (status == RTNORM)
        status = MakeBarRecord("Pręt", number, record);
    return status == RTNORM ? sds_dictadd(dictionary, "ORV_ARMAVO", record) : status;
}

int MakeGroup(const char* key, const char* description, std::initializer_list<const long*> members,
              sds_name group) {
    sds_name named, groups;
    sds_namedobjdict(named);
    resbuf* entry = sds_dictsearch(named, "ACAD_GROUP", 0);
    if (entry == nullptr)
        return RTERROR;
    groups[0] = entry->resval.rlname[0];
    groups[1] = entry->resval.rlname[1];
    resbuf* list = sds_buildlist(RTDXF0, "GROUP", 102, "{ACAD_REACTORS", 330, groups, 102, "}", 300,
                                 description, 70, 1, 71, 1, RTNONE);
    resbuf* tail = Tail(list);
    for (const long* member : members) {
        tail->rbnext = sds_newrb(340);
        tail = tail->rbnext;
        tail->resval.rlname[0] = member[0];
        tail->resval.rlname[1] = member[1];
    }
    int status = sds_entmakex(list, group);
    sds_relrb(list);
    if (status == RTNORM) {
        Tail(entry)->rbnext = sds_buildlist(3, key, 350, group, RTNONE);
        status = sds_entmod(entry);
    }
    sds_relrb(entry);
    return status;
}

std::string ListText(const resbuf* list) {
    std::ostringstream out;
    for (const resbuf* node = list; node != nullptr; node = node->rbnext) {
        const resval& v = node->resval;
        out << "(" << node->restype << " ";
        switch (host::KindOfGroup(node->restype)) {
            case host::ValueKind::Text:
            case host::ValueKind::Handle: out << v.rstring; break;
            case host::ValueKind::Point:
                out << v.rpoint[0] << "," << v.rpoint[1] << "," << v.rpoint[2];
                break;
            case host::ValueKind::Real: out << v.rreal; break;
            case host::ValueKind::Int16: out << v.rint; break;
            case host::ValueKind::Int32: out << v.rlong; break;
            case host::ValueKind::EntityName: out << "<name>"; break;
            default: out << "?";
        }
        out << ")";
    }
    return out.str();
}

const resbuf* FindGroup(const resbuf* list, int code) {
    for (; list != nullptr; list = list->rbnext) {
        if (list->restype == code)
            return list;
    }
    return nullptr;
}

long LastName(int which) {
    sds_name name = {0, 0};
    sds_entlast(name);
    return name[which];
}

}  // namespace host_test
