// The sds_* functions that make, read, change and delete entities and objects.
#include <algorithm>

#include "host/drawing/session.h"

namespace host {

namespace {

// Ends an sds_* call that may change the drawing: outside a command and an undo group its
// changes become one undo step.
struct CallScope {
    ~CallScope() { GetSession().journal.EndCall(); }
};

int MakeFromList(const resbuf* list, sds_name result) {
    CallScope scope;
    if (list == nullptr)
        return Refuse("empty list");
    GroupList groups;
    std::string error;
    if (!ListToGroups(list, groups, error))
        return Refuse(error);
    ObjectId id = CurrentDrawing().Make(groups, MakeOptions{}, &error);
    if (!id)
        return Refuse(error);
    if (result != nullptr)
        ToName(id, result);
    return RTNORM;
}

}  // namespace

}  // namespace host

using namespace host;

extern "C" {

int sds_entmake(const resbuf* list) {
    return MakeFromList(list, nullptr);
}

int sds_entmakex(const resbuf* list, sds_name result) {
    int status = MakeFromList(list, result);
    if (status != RTNORM && result != nullptr)
        result[0] = result[1] = 0;
    return status;
}

resbuf* sds_entget(const sds_name entity) {
    ObjectId id = LiveFromName(entity);
    if (!id) {
        Refuse("sds_entget: no such entity");
        return nullptr;
    }
    return GroupsToList(CurrentDrawing().FullList(id));
}

int sds_entmod(const resbuf* list) {
    CallScope scope;
    const resbuf* node = list;
    for (long guard = 0; node != nullptr && node->restype != -1 && guard < (1L << 22); ++guard) {
        node = node->rbnext;
    }
    if (node == nullptr || node->restype != -1)
        return Refuse("sds_entmod: list without -1");
    ObjectId id = LiveFromName(node->resval.rlname);
    if (!id)
        return Refuse("sds_entmod: the entity is deleted or unknown");
    GroupList groups;
    std::string error;
    if (!ListToGroups(list, groups, error))
        return Refuse(error);
    if (!CurrentDrawing().Modify(id, groups, &error))
        return Refuse(error);
    return RTNORM;
}

int sds_entdel(const sds_name entity) {
    CallScope scope;
    ObjectId id = FromName(entity);
    if (!id)
        return Refuse("sds_entdel: no such entity");
    Database& drawing = CurrentDrawing();
    bool live = drawing.Find(id)->state == ObjectState::Live;
    if (!drawing.SetErased(id, live))
        return Refuse("sds_entdel: table entries cannot be deleted");
    if (live)
        GetSession().highlighted.erase(id.value);
    return RTNORM;
}

int sds_entlast(sds_name result) {
    if (result == nullptr)
        return Refuse("sds_entlast: no result");
    ObjectId id = CurrentDrawing().LastEntity();
    ToName(id, result);
    return id ? RTNORM : Refuse("sds_entlast: the drawing has no entities");
}

int sds_entnext(const sds_name entity, sds_name result) {
    if (result == nullptr)
        return Refuse("sds_entnext: no result");
    const Database& drawing = CurrentDrawing();
    const std::vector<ObjectId>& order = drawing.EntityOrder();
    auto it = order.begin();
    if (entity != nullptr && (entity[0] != 0 || entity[1] != 0)) {
        ObjectId id = FromName(entity);
        if (!id)
            return Refuse("sds_entnext: no such entity");
        it = std::lower_bound(order.begin(), order.end(), id);
        if (it == order.end() || *it != id)
            it = std::find(order.begin(), order.end(), id);
        if (it != order.end())
            ++it;
    }
    for (; it != order.end(); ++it) {
        if (drawing.FindTopLevel(*it)) {
            ToName(*it, result);
            return RTNORM;
        }
    }
    result[0] = result[1] = 0;
    return Refuse("sds_entnext: no further entity");
}

int sds_handent(const char* handle, sds_name result) {
    if (handle == nullptr || result == nullptr)
        return Refuse("sds_handent: no handle");
    auto parsed = Handle::FromText(handle);
    ObjectId id = parsed ? CurrentDrawing().FindHandle(*parsed) : ObjectId{};
    if (!id)
        return Refuse("sds_handent: no object has handle " + std::string(handle));
    ToName(id, result);
    return RTNORM;
}

int sds_redraw(const sds_name entity, int mode) {
    if (entity == nullptr || (entity[0] == 0 && entity[1] == 0))
        return RTNORM;
    ObjectId id = LiveFromName(entity);
    if (!id)
        return Refuse("sds_redraw: no such entity");
    switch (mode) {
        case 1:
        case 2:
            return RTNORM;
        case 3:
            GetSession().highlighted.insert(id.value);
            return RTNORM;
        case 4:
            GetSession().highlighted.erase(id.value);
            return RTNORM;
        default:
            return Refuse("sds_redraw: unknown mode");
    }
}

}  // extern "C"
