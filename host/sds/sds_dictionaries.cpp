// The sds_* functions on tables and dictionaries.
#include <cstring>
#include <string>
#include <vector>

#include "host/drawing/object_rules.h"
#include "host/drawing/session.h"

using namespace host;

extern "C" {

resbuf* sds_tblsearch(const char* table, const char* name, int /*setNext*/) {
    if (table == nullptr || name == nullptr) {
        Refuse("sds_tblsearch: no table or name");
        return nullptr;
    }
    const Database& drawing = CurrentDrawing();
    std::string type = UpperAscii(table);
    if (type == "BLOCK")
        type = "BLOCK_RECORD";
    ObjectId id = drawing.FindTableEntry(type, name);
    const Object* entry = drawing.Find(id);
    if (entry == nullptr) {
        Refuse("sds_tblsearch: no " + type + " \"" + name + "\"");
        return nullptr;
    }
    // As CAD answers: the type, then the entry's own groups without subclass markers.
    GroupList list;
    list.AddText(0, drawing.TypeName(*entry));
    size_t index = 0;
    for (const Group& group : entry->body) {
        if (index++ < entry->reactorCount || group.code == 100)
            continue;
        list.Add(group);
    }
    return GroupsToList(list);
}

int sds_unownedobjects(resbuf** names) {
    if (names == nullptr)
        return Refuse("sds_unownedobjects: no result");
    *names = nullptr;
    const Database& drawing = CurrentDrawing();
    resbuf head;
    head.rbnext = nullptr;
    resbuf* tail = &head;
    for (uint32_t slot = 1; slot < drawing.SlotCount(); ++slot) {
        const ObjectId id{slot};
        const Object* object = drawing.FindLive(id);
        if (!object || object->category != Category::Object ||
            id == drawing.NamedObjectDictionary() ||
            (object->owner && drawing.Find(object->owner) != nullptr)) {
            continue;
        }
        resbuf* node = sds_newrb(RTENAME);
        if (node == nullptr) {
            sds_relrb(head.rbnext);
            return Refuse("sds_unownedobjects: out of memory");
        }
        ToName(id, node->resval.rlname);
        tail->rbnext = node;
        tail = node;
    }
    *names = head.rbnext;
    return RTNORM;
}

int sds_dictfreekey(const sds_name dict, const char* prefix, char* key, int size) {
    const ObjectId id = LiveFromName(dict);
    const Database& drawing = CurrentDrawing();
    const Object* object = drawing.FindLive(id);
    if (!object || drawing.TypeName(*object) != "DICTIONARY" || prefix == nullptr ||
        key == nullptr || size <= 0) {
        return Refuse("sds_dictfreekey: no dictionary, prefix or room");
    }
    const std::string_view start(prefix);
    const size_t free = drawing.DictionaryFreeKey(id, start);
    const std::string text = std::string(start) + std::to_string(free);
    if (text.size() + 1 > static_cast<size_t>(size))
        return Refuse("sds_dictfreekey: no room for the key");
    std::memcpy(key, text.c_str(), text.size() + 1);
    return RTNORM;
}

int sds_namedobjdict(sds_name result) {
    if (result == nullptr)
        return Refuse("sds_namedobjdict: no result");
    ObjectId id = CurrentDrawing().NamedObjectDictionary();
    if (!CurrentDrawing().FindLive(id))
        return Refuse("the drawing has no named object dictionary");
    ToName(id, result);
    return RTNORM;
}

resbuf* sds_dictsearch(const sds_name dict, const char* key, int /*setNext*/) {
    ObjectId id = LiveFromName(dict);
    if (!id || key == nullptr) {
        Refuse("sds_dictsearch: no dictionary or key");
        return nullptr;
    }
    const Database& drawing = CurrentDrawing();
    ObjectId entry = drawing.DictionaryLookup(id, key);
    if (!drawing.FindLive(entry)) {
        Refuse("sds_dictsearch: no entry \"" + std::string(key) + "\"");
        return nullptr;
    }
    return GroupsToList(drawing.FullList(entry));
}

int sds_dictadd(const sds_name dict, const char* key, const sds_name object) {
    ObjectId dictionary = LiveFromName(dict);
    ObjectId entry = LiveFromName(object);
    if (!dictionary || !entry || key == nullptr) {
        return Refuse("sds_dictadd: no dictionary, key or object");
    }
    std::string error;
    bool added = CurrentDrawing().DictionaryAdd(dictionary, key, entry, &error);
    GetSession().journal.EndCall();
    return added ? RTNORM : Refuse(error);
}

int sds_dictdel(const sds_name dict, const char* key) {
    ObjectId dictionary = LiveFromName(dict);
    if (!dictionary || key == nullptr)
        return Refuse("sds_dictdel: no dictionary or key");
    bool removed = CurrentDrawing().DictionaryRemove(dictionary, key);
    GetSession().journal.EndCall();
    return removed ? RTNORM : Refuse("sds_dictdel: no entry \"" + std::string(key) + "\"");
}

}  // extern "C"
