// Selection sets: sds_ssget ("X" with a filter on type and layer; "I" the pick-first set),
// sds_ssgetrecordref (entities by a text of their records), sds_ssgetgroups (an entity's
// groups), sds_ssgetnear (what a pick at a point found), the set functions and the pick-first
// selection.
#include <algorithm>
#include <cstring>

#include "host/drawing/group_codes.h"
#include "host/drawing/object_rules.h"
#include "host/drawing/picking.h"
#include "host/drawing/session.h"

namespace host {

namespace {

// Whether a text matches a filter value: a comma-separated list of names, any case.
bool MatchesAny(std::string_view value, std::string_view filter) {
    while (true) {
        size_t comma = filter.find(',');
        std::string_view item = filter.substr(0, comma);
        while (!item.empty() && item.front() == ' ')
            item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ')
            item.remove_suffix(1);
        if (item == "*" || EqualNoCase(item, value))
            return true;
        if (comma == std::string_view::npos)
            return false;
        filter.remove_prefix(comma + 1);
    }
}

struct Filter {
    std::vector<std::string> types;
    std::vector<std::string> layers;
    bool Accepts(const Database& drawing, const Object& object) const {
        for (const std::string& type : types) {
            if (!MatchesAny(drawing.TypeName(object), type))
                return false;
        }
        for (const std::string& layer : layers) {
            if (!MatchesAny(drawing.LayerName(object), layer))
                return false;
        }
        return true;
    }
};

bool ReadFilter(const resbuf* list, Filter& filter, std::string& error) {
    long guard = 0;
    for (const resbuf* node = list; node != nullptr; node = node->rbnext) {
        if (++guard > 100000) {
            error = "filter list too long or circular";
            return false;
        }
        int code = node->restype == RTDXF0 ? 0 : node->restype;
        if ((code != 0 && code != 8) || node->resval.rstring == nullptr) {
            error = "filter on group " + std::to_string(code) + " is not supported";
            return false;
        }
        (code == 0 ? filter.types : filter.layers).emplace_back(node->resval.rstring);
    }
    return true;
}

std::vector<ObjectId> LiveMembers(const std::vector<ObjectId>& members) {
    std::vector<ObjectId> live;
    for (ObjectId id : members) {
        if (CurrentDrawing().FindLive(id))
            live.push_back(id);
    }
    return live;
}

}  // namespace

}  // namespace host

using namespace host;

extern "C" {

int sds_ssget(const char* mode, const void* /*point1*/, const void* /*point2*/,
              const resbuf* filter, sds_name result) {
    if (result == nullptr)
        return Refuse("sds_ssget: no result");
    std::string_view text = mode ? mode : "";
    if (!text.empty() && text.front() == '_')
        text.remove_prefix(1);
    std::vector<ObjectId> members;
    if (EqualNoCase(text, "X")) {
        Filter wanted;
        std::string error;
        if (!ReadFilter(filter, wanted, error))
            return Refuse(error);
        const Database& drawing = CurrentDrawing();
        const bool all = wanted.types.empty() && wanted.layers.empty();
        members.reserve(drawing.EntityOrder().size());
        for (ObjectId id : drawing.EntityOrder()) {
            const Object* object = drawing.FindTopLevel(id);
            if (object && (all || wanted.Accepts(drawing, *object)))
                members.push_back(id);
        }
    } else if (EqualNoCase(text, "I")) {
        Session& session = GetSession();
        if (session.pickFirst && session.sets.size() > session.pickFirst->value) {
            members = LiveMembers(*session.sets[session.pickFirst->value]);
        }
    } else {
        return Refuse("sds_ssget: selection mode \"" + std::string(text) + "\" is not available");
    }
    if (members.empty())
        return Refuse("sds_ssget: nothing selected");
    ToSetName(NewSet(std::move(members)), result);
    return RTNORM;
}

int sds_ssgetrecordref(const char* value, sds_name result) {
    if (result == nullptr)
        return Refuse("sds_ssgetrecordref: no result");
    result[0] = result[1] = 0;
    if (value == nullptr)
        return Refuse("sds_ssgetrecordref: no value");
    std::vector<ObjectId> members = CurrentDrawing().RecordHolders(value);
    if (members.empty())
        return Refuse("sds_ssgetrecordref: no entity holds the value");
    ToSetName(NewSet(std::move(members)), result);
    return RTNORM;
}

int sds_ssgetgroups(const sds_name entity, sds_name result) {
    if (result == nullptr)
        return Refuse("sds_ssgetgroups: no result");
    result[0] = result[1] = 0;
    const ObjectId member = FromName(entity);
    if (!member)
        return Refuse("sds_ssgetgroups: no such entity");
    std::vector<ObjectId> groups = CurrentDrawing().GroupsListing(member);
    if (groups.empty())
        return Refuse("sds_ssgetgroups: no group lists the entity");
    ToSetName(NewSet(std::move(groups)), result);
    return RTNORM;
}

int sds_ssgetrecordkind(const char* type, const char* entry, const char* kind, const resbuf* field,
                        int occurrence, sds_name result) {
    if (result == nullptr)
        return Refuse("sds_ssgetrecordkind: no result");
    result[0] = result[1] = 0;
    if (entry == nullptr || kind == nullptr)
        return Refuse("sds_ssgetrecordkind: no entry or kind");
    RecordIndex::Field asked{type != nullptr ? type : "", entry, kind, 0, occurrence};
    int32_t value = 0;
    if (field != nullptr) {
        const ValueKind valueKind = KindOfGroup(field->restype);
        if (valueKind != ValueKind::Int16 && valueKind != ValueKind::Int32)
            return Refuse("sds_ssgetrecordkind: the field is not a whole number");
        asked.code = field->restype;
        value = valueKind == ValueKind::Int16 ? field->resval.rint : field->resval.rlong;
    }
    std::vector<ObjectId> members =
        CurrentDrawing().RecordKindHolders(asked, field != nullptr ? &value : nullptr);
    if (members.empty())
        return Refuse("sds_ssgetrecordkind: no entity files such a record");
    ToSetName(NewSet(std::move(members)), result);
    return RTNORM;
}

int sds_recordfieldvalues(const char* type, const char* entry, const char* kind, int code,
                          int occurrence, resbuf** values) {
    if (values == nullptr)
        return Refuse("sds_recordfieldvalues: no result");
    *values = nullptr;
    const ValueKind valueKind = KindOfGroup(code);
    if (entry == nullptr || kind == nullptr ||
        (valueKind != ValueKind::Int16 && valueKind != ValueKind::Int32)) {
        return Refuse("sds_recordfieldvalues: no entry or kind, or not a whole-number code");
    }
    resbuf head;
    head.rbnext = nullptr;
    resbuf* tail = &head;
    for (int32_t value : CurrentDrawing().RecordFieldValues(
             {type != nullptr ? type : "", entry, kind, code, occurrence})) {
        resbuf* node = sds_newrb(code);
        if (node == nullptr) {
            sds_relrb(head.rbnext);
            return Refuse("sds_recordfieldvalues: out of memory");
        }
        if (valueKind == ValueKind::Int16)
            node->resval.rint = static_cast<short>(value);
        else
            node->resval.rlong = value;
        tail->rbnext = node;
        tail = node;
    }
    *values = head.rbnext;
    return RTNORM;
}

int sds_ssgetnear(const sds_point point, sds_name result) {
    if (result == nullptr)
        return Refuse("sds_ssgetnear: no result");
    result[0] = result[1] = 0;
    if (point == nullptr)
        return Refuse("sds_ssgetnear: no point");
    std::vector<ObjectId> members = EntitiesAt(point);
    if (members.empty())
        return Refuse("sds_ssgetnear: nothing lies there");
    ToSetName(NewSet(std::move(members)), result);
    return RTNORM;
}

int sds_recordkindcount(const char* type, const char* entry, const char* kind, const resbuf* field,
                        int occurrence, long* count) {
    if (count == nullptr)
        return Refuse("sds_recordkindcount: no result");
    *count = 0;
    if (entry == nullptr || kind == nullptr)
        return Refuse("sds_recordkindcount: no entry or kind");
    RecordIndex::Field asked{type != nullptr ? type : "", entry, kind, 0, occurrence};
    int32_t value = 0;
    if (field != nullptr) {
        const ValueKind valueKind = KindOfGroup(field->restype);
        if (valueKind != ValueKind::Int16 && valueKind != ValueKind::Int32)
            return Refuse("sds_recordkindcount: the field is not a whole number");
        asked.code = field->restype;
        value = valueKind == ValueKind::Int16 ? field->resval.rint : field->resval.rlong;
    }
    *count = static_cast<long>(
        CurrentDrawing().RecordKindCount(asked, field != nullptr ? &value : nullptr));
    return RTNORM;
}

int sds_recordfieldnumbering(const char* type, const char* entry, const char* kind, int code,
                             int occurrence, long* used, long* firstFree) {
    if (used == nullptr || firstFree == nullptr)
        return Refuse("sds_recordfieldnumbering: no result");
    *used = 0;
    *firstFree = 1;
    const ValueKind valueKind = KindOfGroup(code);
    if (entry == nullptr || kind == nullptr ||
        (valueKind != ValueKind::Int16 && valueKind != ValueKind::Int32)) {
        return Refuse("sds_recordfieldnumbering: no entry or kind, or not a whole-number code");
    }
    const RecordIndex::Numbering numbering = CurrentDrawing().RecordFieldNumbering(
        {type != nullptr ? type : "", entry, kind, code, occurrence});
    *used = static_cast<long>(numbering.used);
    *firstFree = static_cast<long>(numbering.firstFree);
    return RTNORM;
}

int sds_sslength(const sds_name set, long* length) {
    std::vector<ObjectId>* members = FindSet(set);
    if (!members || length == nullptr)
        return Refuse("sds_sslength: no such set");
    *length = static_cast<long>(members->size());
    return RTNORM;
}

int sds_ssname(const sds_name set, long index, sds_name entity) {
    std::vector<ObjectId>* members = FindSet(set);
    if (!members || entity == nullptr)
        return Refuse("sds_ssname: no such set");
    if (index < 0 || static_cast<size_t>(index) >= members->size()) {
        return Refuse("sds_ssname: index out of range");
    }
    ToName((*members)[static_cast<size_t>(index)], entity);
    return RTNORM;
}

int sds_ssadd(const sds_name entity, const sds_name set, sds_name result) {
    if (result == nullptr)
        return Refuse("sds_ssadd: no result");
    const bool noEntity = entity == nullptr || (entity[0] == 0 && entity[1] == 0);
    ObjectId id;
    if (!noEntity) {
        id = LiveFromName(entity);
        if (!id)
            return Refuse("sds_ssadd: no such entity");
    }
    const bool noSet = set == nullptr || (set[0] == 0 && set[1] == 0);
    if (noSet) {
        std::vector<ObjectId> members;
        if (id)
            members.push_back(id);
        ToSetName(NewSet(std::move(members)), result);
        return RTNORM;
    }
    std::vector<ObjectId>* members = FindSet(set);
    if (!members)
        return Refuse("sds_ssadd: no such set");
    if (id && std::find(members->begin(), members->end(), id) == members->end()) {
        members->push_back(id);
    }
    result[0] = set[0];
    result[1] = set[1];
    return RTNORM;
}

int sds_ssdel(const sds_name entity, const sds_name set) {
    std::vector<ObjectId>* members = FindSet(set);
    ObjectId id = FromName(entity);
    if (!members || !id)
        return Refuse("sds_ssdel: no such set or entity");
    auto it = std::find(members->begin(), members->end(), id);
    if (it == members->end())
        return Refuse("sds_ssdel: not a member");
    members->erase(it);
    return RTNORM;
}

int sds_ssmemb(const sds_name entity, const sds_name set) {
    std::vector<ObjectId>* members = FindSet(set);
    ObjectId id = FromName(entity);
    if (!members || !id)
        return RTERROR;
    return std::find(members->begin(), members->end(), id) != members->end() ? RTNORM : RTERROR;
}

int sds_ssfree(sds_name set) {
    if (!FindSet(set))
        return Refuse("sds_ssfree: no such set");
    Session& session = GetSession();
    session.sets[static_cast<size_t>(set[0])].reset();
    if (session.pickFirst && session.pickFirst->value == static_cast<uint32_t>(set[0])) {
        session.pickFirst.reset();
    }
    return RTNORM;
}

int sds_ssgetfirst(resbuf** gripSet, resbuf** pickSet) {
    if (gripSet != nullptr)
        *gripSet = nullptr;
    if (pickSet == nullptr)
        return RTNORM;
    *pickSet = nullptr;
    Session& session = GetSession();
    if (!session.pickFirst)
        return RTNORM;
    std::vector<ObjectId> members = LiveMembers(*session.sets[session.pickFirst->value]);
    if (members.empty())
        return RTNORM;
    // The caller owns and frees what it is given: a set of its own, not the pick-first set.
    resbuf* node = sds_newrb(RTPICKS);
    if (node == nullptr)
        return Refuse("out of memory");
    ToSetName(NewSet(std::move(members)), node->resval.rlname);
    *pickSet = node;
    return RTNORM;
}

int sds_sssetfirst(const sds_name /*gripSet*/, const sds_name pickSet) {
    Session& session = GetSession();
    if (session.pickFirst) {
        session.sets[session.pickFirst->value].reset();
        session.pickFirst.reset();
    }
    if (pickSet == nullptr || (pickSet[0] == 0 && pickSet[1] == 0))
        return RTNORM;
    std::vector<ObjectId>* members = FindSet(pickSet);
    if (!members)
        return Refuse("sds_sssetfirst: no such set");
    session.pickFirst = NewSet(LiveMembers(*members));
    return RTNORM;
}

}  // extern "C"
