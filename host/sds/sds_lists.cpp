// Result-buffer lists: sds_buildlist, sds_newrb, sds_relrb, and the conversion between the
// module's lists and the drawing's compact group lists.
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "host/sds/resbuf_count.h"
#include "host/drawing/session.h"

namespace host {

namespace {

long g_liveNodes = 0;

// Longer lists are taken for circular ones: nothing the module makes comes near.
constexpr long kMaxListLength = 1L << 22;

resbuf* NewNode(int restype) {
    resbuf* node = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
    if (node == nullptr)
        return nullptr;
    node->restype = static_cast<short>(restype);
    ++g_liveNodes;
    return node;
}

bool CarriesText(int restype) {
    if (restype == RTSTR || restype == RTDXF0)
        return true;
    ValueKind kind = KindOfGroup(restype);
    return kind == ValueKind::Text || kind == ValueKind::Handle;
}

char* CopyText(std::string_view text) {
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy == nullptr)
        return nullptr;
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

void FreeNodes(resbuf* list) {
    while (list != nullptr) {
        resbuf* next = list->rbnext;
        if (CarriesText(list->restype)) {
            std::free(list->resval.rstring);
        } else if (KindOfGroup(list->restype) == ValueKind::Binary) {
            std::free(list->resval.rbinary.buf);
        }
        std::free(list);
        --g_liveNodes;
        list = next;
    }
}

bool Circular(const resbuf* list) {
    const resbuf* slow = list;
    const resbuf* fast = list;
    while (fast != nullptr && fast->rbnext != nullptr) {
        slow = slow->rbnext;
        fast = fast->rbnext->rbnext;
        if (slow == fast)
            return true;
    }
    return false;
}

// Reads one value of the given type from the arguments into a new node; null for a type
// sds_buildlist does not take.
resbuf* NodeFromArgs(int type, va_list& args) {
    int code = type == RTDXF0 ? 0 : type;
    ValueKind kind = KindOfGroup(code);
    switch (type) {
        case RTSTR:
        case RTDXF0:
            kind = ValueKind::Text;
            break;
        case RTREAL:
        case RTANG:
        case RTORINT:
            kind = ValueKind::Real;
            break;
        case RTPOINT:
        case RT3DPOINT:
            kind = ValueKind::Point;
            break;
        case RTSHORT:
            kind = ValueKind::Int16;
            break;
        case RTLONG:
            kind = ValueKind::Int32;
            break;
        case RTENAME:
        case RTPICKS:
            kind = ValueKind::EntityName;
            break;
        default:
            if (type >= 5000)
                return nullptr;
            break;
    }
    if (kind == ValueKind::Invalid)
        return nullptr;
    resbuf* node = NewNode(code);
    if (node == nullptr)
        return nullptr;
    switch (kind) {
        case ValueKind::Text:
        case ValueKind::Handle: {
            const char* text = va_arg(args, const char*);
            node->resval.rstring = text ? CopyText(text) : nullptr;
            if (node->resval.rstring == nullptr) {
                FreeNodes(node);
                return nullptr;
            }
            break;
        }
        case ValueKind::Point: {
            const double* point = va_arg(args, const double*);
            if (point == nullptr) {
                FreeNodes(node);
                return nullptr;
            }
            std::memcpy(node->resval.rpoint, point, sizeof node->resval.rpoint);
            break;
        }
        case ValueKind::Real:
            node->resval.rreal = va_arg(args, double);
            break;
        case ValueKind::Int16:
            node->resval.rint = static_cast<short>(va_arg(args, int));
            break;
        // As in the interface family, 32-bit groups are passed as long.
        case ValueKind::Int32:
            node->resval.rlong = static_cast<int32_t>(va_arg(args, long));
            break;
        case ValueKind::EntityName: {
            const long* name = va_arg(args, const long*);
            if (name == nullptr) {
                FreeNodes(node);
                return nullptr;
            }
            node->resval.rlname[0] = name[0];
            node->resval.rlname[1] = name[1];
            break;
        }
        case ValueKind::Binary: {
            const sds_binary* chunk = va_arg(args, const sds_binary*);
            if (chunk == nullptr || chunk->clen < 0 || (chunk->clen > 0 && !chunk->buf)) {
                FreeNodes(node);
                return nullptr;
            }
            node->resval.rbinary.clen = chunk->clen;
            node->resval.rbinary.buf = static_cast<char*>(std::malloc(chunk->clen + 1));
            if (chunk->clen > 0)
                std::memcpy(node->resval.rbinary.buf, chunk->buf, chunk->clen);
            break;
        }
        case ValueKind::Invalid:
            break;
    }
    return node;
}

}  // namespace

long LiveResbufCount() {
    return g_liveNodes;
}

bool ListToGroups(const resbuf* list, GroupList& groups, std::string& error) {
    const long serial = GetSession().serial;
    if (Circular(list)) {
        error = "the list is circular";
        return false;
    }
    long length = 0;
    for (const resbuf* node = list; node != nullptr; node = node->rbnext) {
        if (++length > kMaxListLength) {
            error = "list too long or circular";
            return false;
        }
        const int code = node->restype == RTDXF0 ? 0 : node->restype;
        const ValueKind kind = KindOfGroup(code);
        const std::string where = "group " + std::to_string(code);
        switch (kind) {
            case ValueKind::Invalid:
                error = std::to_string(node->restype) + " is not a DXF group code";
                return false;
            case ValueKind::Text:
            case ValueKind::Handle:
                if (node->resval.rstring == nullptr) {
                    error = where + " has no text";
                    return false;
                }
                groups.AddText(code, node->resval.rstring);
                break;
            case ValueKind::Binary:
                if (node->resval.rbinary.clen < 0 ||
                    (node->resval.rbinary.clen > 0 && node->resval.rbinary.buf == nullptr)) {
                    error = where + " has no bytes";
                    return false;
                }
                groups.AddText(code,
                               std::string_view(node->resval.rbinary.buf,
                                                static_cast<size_t>(node->resval.rbinary.clen)));
                break;
            case ValueKind::Point:
                groups.AddPoint(code, node->resval.rpoint);
                break;
            case ValueKind::Real:
                groups.AddReal(code, node->resval.rreal);
                break;
            case ValueKind::Int16:
                groups.AddInt(code, node->resval.rint);
                break;
            case ValueKind::Int32:
                groups.AddInt(code, node->resval.rlong);
                break;
            case ValueKind::EntityName: {
                const long* name = node->resval.rlname;
                if (name[0] == 0 && name[1] == 0) {
                    groups.AddId(code, ObjectId{});
                    break;
                }
                if (name[1] != serial || name[0] <= 0 || name[0] > 0xffffffffL) {
                    error = where + " names an object of no current drawing";
                    return false;
                }
                groups.AddId(code, ObjectId{static_cast<uint32_t>(name[0])});
                break;
            }
        }
    }
    return true;
}

resbuf* GroupsToList(const GroupList& groups) {
    resbuf* head = nullptr;
    resbuf** tail = &head;
    for (const Group& group : groups) {
        resbuf* node = NewNode(group.code);
        if (node == nullptr) {
            FreeNodes(head);
            return nullptr;
        }
        switch (group.kind) {
            case ValueKind::Text:
            case ValueKind::Handle:
                node->resval.rstring = CopyText(group.text);
                break;
            case ValueKind::Binary:
                node->resval.rbinary.clen = static_cast<short>(group.text.size());
                node->resval.rbinary.buf = CopyText(group.text);
                break;
            case ValueKind::Point:
                std::memcpy(node->resval.rpoint, group.point, sizeof group.point);
                break;
            case ValueKind::Real:
                node->resval.rreal = group.real;
                break;
            case ValueKind::Int16:
                node->resval.rint = static_cast<short>(group.integer);
                break;
            case ValueKind::Int32:
                node->resval.rlong = group.integer;
                break;
            case ValueKind::EntityName:
                ToName(group.id, node->resval.rlname);
                break;
            case ValueKind::Invalid:
                break;
        }
        *tail = node;
        tail = &node->rbnext;
    }
    return head;
}

}  // namespace host

using host::NewNode;

extern "C" {

resbuf* sds_buildlist(int restype, ...) {
    va_list args;
    va_start(args, restype);
    resbuf* head = nullptr;
    resbuf** tail = &head;
    for (int type = restype; type != RTNONE && type != 0; type = va_arg(args, int)) {
        resbuf* node = host::NodeFromArgs(type, args);
        if (node == nullptr) {
            host::FreeNodes(head);
            va_end(args);
            return nullptr;
        }
        *tail = node;
        tail = &node->rbnext;
    }
    va_end(args);
    return head;
}

resbuf* sds_newrb(int restype) {
    return NewNode(restype);
}

int sds_relrb(resbuf* list) {
    if (list == nullptr)
        return RTNORM;
    if (host::Circular(list))
        return host::Refuse("sds_relrb: the list is circular");
    host::FreeNodes(list);
    return RTNORM;
}

}  // extern "C"
